#include "console/ui/toneform.h"
#include "controls/datefield.h"
#include "numerology/ui/calcform.h"
#include "numerology/ui/yform.h"
#include "support/recordinguiservices.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
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

    RecordingUiServices services;
    std::unique_ptr<TCalcFrm> form;
    std::unique_ptr<TYFrm> yForm;
};

void TestCalcForm::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
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
    QCOMPARE(field("Vowels")->palette().color(QPalette::Base), QColor(240, 250, 255));
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
                 QStringLiteral("'13/45/1990' is not a valid date"));
    else
        QVERIFY(form->DateSum() > 0);
}

void TestCalcForm::dateFieldKeys()
{
    form->show();
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
}

QTEST_MAIN(TestCalcForm)
#include "tst_calcform.moc"
