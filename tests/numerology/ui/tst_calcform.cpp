#include "console/ui/toneform.h"
#include "controls/datefield.h"
#include "controls/linklabel.h"
#include "numerology/ui/calcform.h"
#include "numerology/ui/calculatorform.h"
#include "numerology/ui/yform.h"
#include "support/documents.h"
#include "support/recordinguiservices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QIcon>
#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

class TestCalcForm : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void window();
    void analysisOnEveryChange();
    void methodButtonSwitchesAndBack();
    void clear();
    void handOverFromTheConsole();
    void typingUpperCasesAndAsksAboutY();
    void yWalk_data();
    void yWalk();
    void paste();
    void datePanelOpensAndStays();
    void dateCalculation_data();
    void dateCalculation();
    void dateFieldKeys();
    void dateOrderFollowsTheSystem_data();
    void dateOrderFollowsTheSystem();
    void enterPressesTheFocusedButton();
    void pictureButtons_data();
    void pictureButtons();
    void exportWritesTheReport();
    void exportDateLine_data();
    void exportDateLine();
    void exportCancelledOrRefused();
    void printWithoutPrinterDoesNothing();
    void printGoesToTheChosenPrinter();
    void internetOpensANewLinksWindowEachTime();

private:
    QLineEdit* field(const char* name) const
    {
        return form->findChild<QLineEdit*>(QLatin1String(name));
    }
    QString text(const char* name) const
    {
        if (const auto* edit = field(name))
            return edit->text();
        return form->findChild<QLabel*>(QLatin1String(name))->text();
    }
    void click(QWidget* window, const char* name)
    {
        window->findChild<QPushButton*>(QLatin1String(name))->click();
    }
    DateField* dateField() const
    {
        return form->findChild<DateField*>(QStringLiteral("EsDateEdit1"));
    }

    // The paragraphs of an exported file, tabs kept; empty when it cannot be read.
    QStringList exported(const QString& path) const
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList texts;
        for (const documents::Paragraph& p :
             documents::rtfParagraphs(file.readAll()).value_or(QList<documents::Paragraph>{}))
            texts << p.text;
        return texts;
    }

    RecordingUiServices services;
    std::unique_ptr<TCalcFrm> form;
    std::unique_ptr<TYFrm> yForm;
    QTemporaryDir iconThemes;
};

void TestCalcForm::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    // An icon theme with some of the picture buttons' icons, each a plain colour.
    QVERIFY(iconThemes.isValid());
    QDir theme(iconThemes.filePath(QStringLiteral("plain")));
    QVERIFY(theme.mkpath(QStringLiteral("16x16")));
    QFile index(theme.filePath(QStringLiteral("index.theme")));
    QVERIFY(index.open(QIODevice::WriteOnly));
    index.write("[Icon Theme]\nName=plain\nDirectories=16x16\n\n[16x16]\nSize=16\nType=Fixed\n");
    index.close();
    for (const char* name : {"edit-clear", "x-office-calendar", "help-browser", "window-close"}) {
        QImage picture(16, 16, QImage::Format_ARGB32);
        picture.fill(Qt::darkCyan);
        QVERIFY(picture.save(theme.filePath(QStringLiteral("16x16/%1.png").arg(name))));
    }
    QIcon::setThemeSearchPaths({iconThemes.path()});
    QIcon::setThemeName(QStringLiteral("plain"));
}

void TestCalcForm::init()
{
    services.clear();
    form = std::make_unique<TCalcFrm>();
    yForm = std::make_unique<TYFrm>();
    form->SetYForm(yForm.get());
}

void TestCalcForm::cleanup()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    yForm.reset();
    form.reset();
}

void TestCalcForm::window()
{
    QCOMPARE(form->windowTitle(), QStringLiteral("Numerology Calculator"));
    QCOMPARE(form->size(), QSize(474, 314));
    QCOMPARE(form->findChild<QPushButton*>(QStringLiteral("MthBtn"))->text(),
             QStringLiteral("Pythagorean"));
    QCOMPARE(text("VTotal"), QStringLiteral("0"));
    QCOMPARE(text("ttt"), QStringLiteral("0"));
    QVERIFY(!form->findChild<QWidget*>(QStringLiteral("Panel3"))->isVisible());
    // Colour 16776176: the read-only fields and the count table.
    const QColor paleBlue(240, 251, 255);
    QCOMPARE(field("Vowels")->palette().color(QPalette::Base), paleBlue);
    QCOMPARE(field("NmDt")->palette().color(QPalette::Base), paleBlue);
    auto* table = form->findChild<QWidget*>(QStringLiteral("Panel2"));
    QCOMPARE(table->grab().toImage().pixelColor(table->width() - 3, table->height() - 3), paleBlue);
}

void TestCalcForm::analysisOnEveryChange()
{
    form->SetDataText(QStringLiteral("MARY"));
    QCOMPARE(text("Vowels"), QStringLiteral(" 1  "));
    QCOMPARE(text("Constants"), QStringLiteral("4 97"));
    QCOMPARE(text("VTotal"), QStringLiteral("1"));
    QCOMPARE(text("CTotal"), QStringLiteral("20 / 2"));
    QCOMPARE(text("Total"), QStringLiteral("21 / 3"));
    QCOMPARE((QStringList{text("V1"), text("C4"), text("C7"), text("C9"), text("vvt"), text("cct"),
                          text("ttt")}),
             (QStringList{"1", "1", "1", "1", "1", "3", "4"}));
    QCOMPARE(form->NameTotal(), 21);
    form->SetDataText(QStringLiteral("ANNA 7"));
    QCOMPARE(text("Total"), QStringLiteral("19 / 10 / 1"));
    QCOMPARE(form->DigitSum(), 7);
    QCOMPARE(text("ttt"), QStringLiteral("4"));
}

void TestCalcForm::methodButtonSwitchesAndBack()
{
    form->SetDataText(QStringLiteral("MARY"));
    click(form.get(), "MthBtn");
    QCOMPARE(form->MethodFlag(), 1);
    QCOMPARE(form->findChild<QPushButton*>(QStringLiteral("MthBtn"))->text(),
             QStringLiteral("Chaldean"));
    QCOMPARE(text("Constants"), QStringLiteral("4 21"));
    QCOMPARE(text("Total"), QStringLiteral("8"));
    QCOMPARE(text("T1"), QStringLiteral("2"));
    click(form.get(), "MthBtn");
    QCOMPARE(form->MethodFlag(), 0);
    QCOMPARE(text("Total"), QStringLiteral("21 / 3"));
}

void TestCalcForm::clear()
{
    form->SetDataText(QStringLiteral("MARY"));
    click(form.get(), "Clearbtn");
    QCOMPARE(form->DataText(), QString());
    QCOMPARE((QStringList{text("Vowels"), text("Constants"), text("VTotal"), text("CTotal"),
                          text("Total"), text("vvt"), text("cct"), text("ttt"), text("C4")}),
             (QStringList{"", "", "0", "0", "0", "0", "0", "0", "0"}));
    QCOMPARE(form->NameTotal(), 0);
}

void TestCalcForm::handOverFromTheConsole()
{
    TToneFrm console;
    console.SetNumerologyForm(form.get());
    console.findChild<QLineEdit*>(QStringLiteral("DataBx"))->setText(QStringLiteral("  Mary \t"));
    console.findChild<QPushButton*>(QStringLiteral("MthBtn"))->click();  // Chaldean
    console.findChild<QPushButton*>(QStringLiteral("NumCalcBtn"))->click();
    QCOMPARE(services.dialogs.value(0), form.get());
    QCOMPARE(form->DataText(), QStringLiteral("MARY"));
    QCOMPARE(form->MethodFlag(), 1);
    QCOMPARE(text("Total"), QStringLiteral("8"));  // analysed under the method handed over
    QCOMPARE(form->YPos(), 4);
    // Shown with a Y in its text, the window asks about it.
    QTRY_COMPARE(services.dialogs.value(1), yForm.get());
    QCOMPARE(yForm->findChild<QLineEdit*>(QStringLiteral("DataBx"))->text(),
             QStringLiteral("MARY"));
    click(yForm.get(), "YesBtn");
    QCOMPARE(form->DataText(), QStringLiteral("MARy"));
    QCOMPARE(text("VTotal"), QStringLiteral("2"));
}

void TestCalcForm::typingUpperCasesAndAsksAboutY()
{
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QLineEdit* data = field("Data");
    data->setFocus();
    QTest::keyClicks(data, QStringLiteral("mar"));
    QCOMPARE(data->text(), QStringLiteral("MAR"));
    QVERIFY(services.dialogs.isEmpty());
    QTest::keyClick(data, Qt::Key_Y);
    QCOMPARE(data->text(), QStringLiteral("MARY"));
    QCOMPARE(services.dialogs.value(0), yForm.get());
    QCOMPARE(form->YPos(), 4);
    QCOMPARE(form->YTyped(), 1);
    click(yForm.get(), "YesBtn");
    QCOMPARE(data->text(), QStringLiteral("MARy"));
    QCOMPARE(data->cursorPosition(), 4);
    QCOMPARE(form->YPos(), 0);

    // Typing stops at 40 characters; a set text may be longer.
    data->clear();
    QTest::keyClicks(data, QString(45, u'b'));
    QCOMPARE(data->text(), QString(40, u'B'));
    form->SetDataText(QString(50, u'B'));
    QCOMPARE(data->text().size(), 50);

    // Text an input method commits is typed text too.
    const auto commit = [&](const QString& text) {
        QInputMethodEvent composed;
        composed.setCommitString(text);
        QApplication::sendEvent(data, &composed);
    };
    data->clear();
    commit(QStringLiteral("ann"));
    QCOMPARE(data->text(), QStringLiteral("ANN"));
    data->setText(QString(38, u'B'));
    commit(QStringLiteral("lee"));
    QCOMPARE(data->text(), QString(38, u'B') + QStringLiteral("LE"));
    commit(QStringLiteral("x"));
    QCOMPARE(data->text().size(), 40);
}

void TestCalcForm::yWalk_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("asked");  // what DataBx shows at each question
    QTest::addColumn<QString>("result");

    QTest::newRow("yes then no") << "YVY" << QStringList{"YesBtn", "NoBtn"}
                                 << QStringList{"Y", "yVY"} << "yVY";
    QTest::newRow("no then yes") << "YVY" << QStringList{"NoBtn", "YesBtn"}
                                 << QStringList{"Y", "YVY"} << "YVy";
    QTest::newRow("yes then cancel")
        << "YVY" << QStringList{"YesBtn", "CancelBtn"} << QStringList{"Y", "yVY"} << "YVY";
    QTest::newRow("a marked y is not asked")
        << "yAY" << QStringList{"YesBtn"} << QStringList{"yAY"} << "yAy";
}

void TestCalcForm::yWalk()
{
    QFETCH(QString, text);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, asked);
    QFETCH(QString, result);

    form->SetDataText(text);
    form->SetYPos(int(text.indexOf(u'Y')) + 1);
    form->show();
    QTRY_COMPARE(services.dialogs.value(0), yForm.get());
    auto* shown = yForm->findChild<QLineEdit*>(QStringLiteral("DataBx"));
    for (qsizetype i = 0; i < answers.size(); ++i) {
        QCOMPARE(shown->text(), asked[i]);
        QCOMPARE(yForm->findChild<QLabel*>(QStringLiteral("DataLb"))->text(), text.toUpper());
        click(yForm.get(), answers[i].toLatin1().constData());
    }
    QCOMPARE(form->DataText(), result);
    QCOMPARE(form->YPos(), 0);
    QVERIFY(!yForm->isVisible());
    if (result == QStringLiteral("yVY"))
        QCOMPARE((QStringList{this->text("vvt"), this->text("cct")}), (QStringList{"1", "2"}));
}

void TestCalcForm::paste()
{
    QApplication::clipboard()->setText(QStringLiteral("abc"));
    click(form.get(), "PasteBtn");
    QCOMPARE(form->DataText(), QStringLiteral("ABC"));
    QVERIFY(services.dialogs.isEmpty());  // no Y, no question

    QApplication::clipboard()->setText(QStringLiteral("yvy mary"));
    click(form.get(), "PasteBtn");
    QCOMPARE(form->DataText(), QStringLiteral("YVY MARY"));
    QCOMPARE(form->YPos(), 1);
    QCOMPARE(services.dialogs.value(0), yForm.get());
    click(yForm.get(), "CancelBtn");

    QApplication::clipboard()->clear();
    click(form.get(), "PasteBtn");
    QCOMPARE(form->DataText(), QString());
}

void TestCalcForm::datePanelOpensAndStays()
{
    form->show();
    const QPoint at = form->pos();
    click(form.get(), "CalendarBtn");
    QVERIFY(form->findChild<QWidget*>(QStringLiteral("Panel3"))->isVisible());
    QCOMPARE(form->width(), 614);
    QCOMPARE(form->pos().x(), at.x() - 71);
    dateField()->setText(QStringLiteral("12/25/1990"));
    click(form.get(), "DtCalcBtn");
    click(form.get(), "ExitBtn");
    QVERIFY(!form->isVisible());
    form->show();
    QVERIFY(form->findChild<QWidget*>(QStringLiteral("Panel3"))->isVisible());
    QCOMPARE(text("DtTot"), QStringLiteral("29 / 11 / 2"));
    form->findChild<QToolButton*>(QStringLiteral("frSpeedButton1"))->click();
    QVERIFY(!form->findChild<QWidget*>(QStringLiteral("Panel3"))->isVisible());
    QCOMPARE(form->width(), 474);
}

void TestCalcForm::dateCalculation_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("results");  // day, month and day, date, name and date

    QTest::newRow("MARY, 25 December 1990")
        << "MARY"
        << "12/25/1990" << QStringList{"25 / 7", "10 / 1", "29 / 11 / 2", "50 / 5"};
    QTest::newRow("other separators") << "MARY"
                                      << "3-5.2001" << QStringList{"5", "8", "11 / 2", "32 / 5"};
    QTest::newRow("29 November 1999")
        << ""
        << "11/29/1999" << QStringList{"29 / 11 / 2", "13 / 4", "41 / 5", ""};
    QTest::newRow("two-digit year") << ""
                                    << "3/5/05" << QStringList{"5", "8", "23 / 5", ""};
    QTest::newRow("not a date") << "MARY"
                                << "13/45/1990" << QStringList{"", "", "", ""};
    QTest::newRow("five-digit year") << "MARY"
                                     << "12/25/19900" << QStringList{"", "", "", ""};
}

void TestCalcForm::dateCalculation()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QStringList, results);
    form->SetDataText(name);
    dateField()->setText(typed);
    click(form.get(), "DtCalcBtn");
    QCOMPARE((QStringList{text("DyTot"), text("MnTot"), text("DtTot"), text("NmDt")}), results);
    QCOMPARE(services.messages.isEmpty(), !results.front().isEmpty());
    if (results.front().isEmpty())
        QCOMPARE(services.messages.front().text,
                 QStringLiteral("'%1' is not a valid date").arg(typed));
    else
        QVERIFY(form->DateSum() > 0);
}

void TestCalcForm::dateFieldKeys()
{
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    click(form.get(), "CalendarBtn");
    form->SetDataText(QStringLiteral("MARY"));
    QLineEdit* editor = dateField()->editor();
    QTest::keyClicks(editor, QStringLiteral("12/25/1990"));
    QTest::keyClick(editor, Qt::Key_A);
    QCOMPARE(editor->text(), QStringLiteral("12/25/1990"));
    QCOMPARE(services.beeps, 1);
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(text("NmDt"), QStringLiteral("50 / 5"));
    // The name and date follow the name.
    form->SetDataText(QStringLiteral("MARYA"));
    QCOMPARE(text("NmDt"), QStringLiteral("51 / 6"));
    // Editing the date clears every result at once.
    QTest::keyClick(editor, Qt::Key_Backspace);
    QCOMPARE((QStringList{text("DyTot"), text("MnTot"), text("DtTot"), text("NmDt")}),
             (QStringList{"", "", "", ""}));
    QCOMPARE(form->DateSum(), 0);
    // An empty field means today.
    editor->clear();
    click(form.get(), "DtCalcBtn");
    QVERIFY(!text("DtTot").isEmpty());

    // A two-digit year is shown with four once the field is left; Enter leaves it for "Calc".
    editor->clear();
    editor->setFocus();
    QTest::keyClicks(editor, QStringLiteral("3/5/05"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(editor->text(), QStringLiteral("3/5/1905"));
    QCOMPARE(text("DtTot"), QStringLiteral("23 / 5"));
    QCOMPARE(services.beeps, 1);

    // Escape closes the window from the date field too.
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_Escape);
    QVERIFY(!form->isVisible());
    QCOMPARE(services.beeps, 1);
}

void TestCalcForm::dateOrderFollowsTheSystem_data()
{
    QTest::addColumn<QLocale>("system");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("written");  // 25 December 1990 in that order

    QTest::newRow("United States")
        << QLocale(QLocale::English, QLocale::UnitedStates) << "Month/Day/Year"
        << "12/25/1990";
    QTest::newRow("United Kingdom")
        << QLocale(QLocale::English, QLocale::UnitedKingdom) << "Day/Month/Year"
        << "25/12/1990";
    QTest::newRow("Japan") << QLocale(QLocale::Japanese, QLocale::Japan) << "Year/Month/Day"
                           << "1990/12/25";
}

// The label names the order the field reads, and the calendar writes in it.
void TestCalcForm::dateOrderFollowsTheSystem()
{
    QFETCH(QLocale, system);
    QFETCH(QString, label);
    QFETCH(QString, written);
    QLocale::setDefault(system);
    TCalcFrm calc;
    calc.show();
    calc.findChild<QPushButton*>(QStringLiteral("CalendarBtn"))->click();
    QCOMPARE(calc.findChild<QLabel*>(QStringLiteral("Label1"))->text(), label);

    auto* date = calc.findChild<DateField*>(QStringLiteral("EsDateEdit1"));
    date->setText(written);
    calc.findChild<QPushButton*>(QStringLiteral("DtCalcBtn"))->click();
    QVERIFY2(services.messages.isEmpty(), qPrintable(services.messages.value(0).text));
    QCOMPARE(calc.findChild<QLineEdit*>(QStringLiteral("DtTot"))->text(),
             QStringLiteral("29 / 11 / 2"));

    date->setText(QString());
    date->findChild<QToolButton*>(QStringLiteral("DropDown"))->click();
    auto* calendar = date->findChild<QCalendarWidget*>(QStringLiteral("Calendar"));
    QVERIFY(calendar && calendar->isVisible());
    Q_EMIT calendar->clicked(QDate(1990, 12, 25));
    QCOMPARE(date->text(), written);
}

void TestCalcForm::enterPressesTheFocusedButton()
{
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    auto* method = form->findChild<QPushButton*>(QStringLiteral("MthBtn"));
    method->setFocus();
    QTest::keyClick(method, Qt::Key_Return);
    QCOMPARE(form->MethodFlag(), 1);
    QTest::keyClick(method, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(form->MethodFlag(), 0);

    // The Y question's buttons take Enter themselves: one press is one answer.
    QApplication::clipboard()->setText(QStringLiteral("mary"));
    click(form.get(), "PasteBtn");
    QCOMPARE(services.dialogs.value(0), yForm.get());
    yForm->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(yForm.get()));
    auto* yes = yForm->findChild<QPushButton*>(QStringLiteral("YesBtn"));
    QSignalSpy answered(yes, &QPushButton::clicked);
    yes->setFocus();
    QTest::keyClick(yes, Qt::Key_Return);
    QCOMPARE(answered.size(), 1);
    QCOMPARE(form->DataText(), QStringLiteral("MARy"));
}

void TestCalcForm::pictureButtons_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("themeIcon");  // empty: the theme has none
    QTest::addColumn<int>("styleIcon");      // the fallback

    const auto row = [](const char* window, const char* button, const char* hint,
                        const char* themeIcon, QStyle::StandardPixmap styleIcon) {
        QTest::addRow("%s %s", window, button)
            << QString::fromLatin1(window) << QString::fromLatin1(button)
            << QString::fromLatin1(hint) << QString::fromLatin1(themeIcon) << int(styleIcon);
    };
    row("numerology", "Clearbtn", "Clear Data", "edit-clear", QStyle::SP_DialogResetButton);
    row("numerology", "CalendarBtn", "Open or Close Date Calculator", "x-office-calendar",
        QStyle::SP_FileDialogDetailedView);
    row("numerology", "PasteBtn", "Paste from Clipboard", "", QStyle::SP_DialogApplyButton);
    row("numerology", "DtClearBtn", "Clear Date", "edit-clear", QStyle::SP_DialogResetButton);
    row("numerology", "DtHelpBtn", "Open Help", "help-browser", QStyle::SP_DialogHelpButton);
    row("numerology", "frSpeedButton1", "Close Date Calculator", "window-close",
        QStyle::SP_TitleBarCloseButton);
    row("calculator", "HelpBtn", "Open Help", "help-browser", QStyle::SP_DialogHelpButton);
    row("console", "ClearBtn", "Clear Data Entry", "edit-clear", QStyle::SP_DialogResetButton);
}

// Picture buttons show the icon theme's picture for their role, else the style's.
void TestCalcForm::pictureButtons()
{
    QFETCH(QString, window);
    QFETCH(QString, button);
    QFETCH(QString, hint);
    QFETCH(QString, themeIcon);
    QFETCH(int, styleIcon);
    TCalculatorFrm calculator;
    TToneFrm console;
    QWidget* owner = window == u"numerology"   ? static_cast<QWidget*>(form.get())
                     : window == u"calculator" ? static_cast<QWidget*>(&calculator)
                                               : &console;
    const auto* picture = owner->findChild<QAbstractButton*>(button);
    QVERIFY(picture);
    QCOMPARE(picture->toolTip(), hint);
    const QIcon icon = picture->icon();
    if (!themeIcon.isEmpty()) {
        QCOMPARE(icon.name(), themeIcon);
        QCOMPARE(icon.pixmap(16).toImage().pixelColor(8, 8), QColor(Qt::darkCyan));
    } else {
        const QIcon standard =
            picture->style()->standardIcon(QStyle::StandardPixmap(styleIcon), nullptr, picture);
        QCOMPARE(icon.pixmap(16).toImage(), standard.pixmap(16).toImage());
    }
}

void TestCalcForm::exportWritesTheReport()
{
    QTemporaryDir folder;
    form->SetDataText(QStringLiteral("MARy"));  // the Y marked as a vowel
    services.fileAnswers << folder.filePath(QStringLiteral("mary"));
    click(form.get(), "ExportBtn");
    QCOMPARE(services.fileRequests.size(), 1);
    QCOMPARE(services.fileRequests[0].filter, QStringLiteral("Rich Text File  (*.rtf)|*.rtf"));
    QCOMPARE(services.fileRequests[0].defaultSuffix, QStringLiteral("rtf"));
    const QString path = folder.filePath(QStringLiteral("mary.rtf"));
    QCOMPARE(exported(path).mid(0, 4),
             (QStringList{"\tPythagorean System\tTotal", "\t        Vowels:\t 1 7\t8",
                          "\t             Data:\tMARY\t21 / 3", "\tConsonants:\t4 9 \t13 / 4"}));

    // The same name again: replaced without a question.
    click(form.get(), "MthBtn");
    services.fileAnswers << path;
    click(form.get(), "ExportBtn");
    QVERIFY(services.questions.isEmpty());
    QVERIFY(services.messages.isEmpty());
    QCOMPARE(exported(path).value(0), QStringLiteral("\tChaldean System\tTotal"));
}

void TestCalcForm::exportDateLine_data()
{
    QTest::addColumn<bool>("panelOpen");
    QTest::addColumn<bool>("changedSince");  // the date typed anew after the calculation
    QTest::addColumn<QString>("line");
    QTest::newRow("a date") << true << false
                            << "\t12/25/1990:\t29 / 11 / 2\tName and Date:\t50 / 5\tDay:\t25 / 7";
    QTest::newRow("panel closed after a date") << false << false << "\t\t\t\t\t\t";
    QTest::newRow("panel open, no date calculated") << true << true << "\t\t\t\t\t\t";
}

void TestCalcForm::exportDateLine()
{
    QFETCH(bool, panelOpen);
    QFETCH(bool, changedSince);
    QFETCH(QString, line);
    form->show();
    form->SetDataText(QStringLiteral("MARY"));
    click(form.get(), "CalendarBtn");
    dateField()->setText(QStringLiteral("12/25/1990"));
    click(form.get(), "DtCalcBtn");
    if (changedSince)
        dateField()->setText(QStringLiteral("12/26/1990"));
    if (!panelOpen)
        click(form.get(), "CalendarBtn");
    // The window need not be on the screen to export.
    form->hide();
    QTemporaryDir folder;
    services.fileAnswers << folder.filePath(QStringLiteral("dated.rtf"));
    click(form.get(), "ExportBtn");
    QCOMPARE(exported(folder.filePath(QStringLiteral("dated.rtf"))).value(8), line);
}

void TestCalcForm::exportCancelledOrRefused()
{
    QTemporaryDir folder;
    form->SetDataText(QStringLiteral("MARY"));
    click(form.get(), "ExportBtn");  // cancelled
    QCOMPARE(services.fileRequests.size(), 1);
    QVERIFY(services.messages.isEmpty());
    QVERIFY(QDir(folder.path()).isEmpty());

    const QString path = folder.filePath(QStringLiteral("missing/mary.rtf"));
    services.fileAnswers << path;
    click(form.get(), "ExportBtn");
    QCOMPARE(services.messages.size(), 1);
    QVERIFY2(services.messages[0].text.startsWith(QStringLiteral("Cannot create file ") + path),
             qPrintable(services.messages[0].text));
    QCOMPARE(services.messages[0].kind, UiServices::MessageKind::Error);
    QVERIFY(QDir(folder.path()).isEmpty());
}

void TestCalcForm::printWithoutPrinterDoesNothing()
{
    form->SetDataText(QStringLiteral("MARY"));
    services.printAnswer = [](QPrinter&) { return true; };
    click(form.get(), "PrintBtn");
    QVERIFY(services.printRequests.isEmpty());
    QVERIFY(services.messages.isEmpty());
}

void TestCalcForm::printGoesToTheChosenPrinter()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("printed.pdf"));
    form->SetDataText(QStringLiteral("MARY"));
    services.printers << QStringLiteral("Office");
    click(form.get(), "PrintBtn");  // the dialog cancelled
    QCOMPARE(services.printRequests.size(), 1);
    QCOMPARE(services.printRequests[0].copies, 1);
    QVERIFY(services.printRequests[0].collate);
    QCOMPARE(services.printRequests[0].pageCount, 1);
    QVERIFY(QDir(folder.path()).isEmpty());

    // The user prints to a file from the dialog.
    services.printAnswer = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        return true;
    };
    click(form.get(), "PrintBtn");
    QVERIFY(services.messages.isEmpty());
    QString error;
    const std::optional<QString> text = documents::pdfText(path, &error);
    QVERIFY2(text, qPrintable(error));
    QCOMPARE(text->count(u'\f'), 1);
    for (const QString& expected :
         {QStringLiteral("MARY"), QStringLiteral("21 / 3"), QStringLiteral("Notes:"),
          QStringLiteral("Printed:"), QStringLiteral("https://sonarith.org")})
        QVERIFY2(text->contains(expected), qPrintable(expected + u'\n' + *text));
    // Placed from the paper's corner: the title starts 92 units (72.4 pt) from the left.
    const auto words = documents::pdfWords(path, &error);
    QVERIFY2(words && !words->isEmpty(), qPrintable(error));
    QVERIFY2(std::abs(words->front().box.left() - 72.4) < 1.5,
             qPrintable(QString::number(words->front().box.left())));
}

// "Internet" shows the links window modally over the calculator and destroys it when it
// closes: a link clicked in one opening is not visited in the next.
void TestCalcForm::internetOpensANewLinksWindowEachTime()
{
    QPointer<QDialog> links;
    QList<bool> visitedOnOpening;
    services.whileShown = [&](QDialog* dialog) {
        links = dialog;
        QVERIFY(dialog->inherits("TInternetFrm"));
        QCOMPARE(dialog->parentWidget(), form.get());
        auto* update = dialog->findChild<LinkLabel*>(QStringLiteral("OvcURL6"));
        visitedOnOpening << update->visited();
        QTest::mouseClick(update, Qt::LeftButton, {}, update->rect().center());
    };
    form->show();
    click(form.get(), "InternetBtn");
    QVERIFY(links.isNull());
    click(form.get(), "InternetBtn");
    QVERIFY(links.isNull());
    QCOMPARE(services.dialogs.size(), 2);
    QCOMPARE(visitedOnOpening, QList<bool>({false, false}));
    QCOMPARE(services.openedAddresses,
             QStringList(2, QStringLiteral("https://sonarith.org/update")));
    QVERIFY(form->isVisible());
}

QTEST_MAIN(TestCalcForm)
#include "tst_calcform.moc"
