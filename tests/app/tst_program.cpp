#include "app/program.h"
#include "catalogue/tonesdatabase.h"
#include "catalogue/ui/addform.h"
#include "catalogue/ui/deleteform.h"
#include "catalogue/ui/reportsetupform.h"
#include "console/ui/toneform.h"
#include "numerology/ui/calcform.h"
#include "numerology/ui/calculatorform.h"
#include "numerology/ui/yform.h"
#include "report/ui/reportpreview.h"
#include "shell/ui/donateform.h"
#include "shell/ui/helpviewer.h"
#include "shell/ui/helpwindow.h"
#include "shell/ui/internetform.h"
#include "support/cataloguefaults.h"
#include "support/controls.h"
#include "support/recordinguiservices.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestProgram : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void windowsInOrder();
    void screenshots();
    void consoleOpensTheCalculators();
    void numerologyAsksAboutYAndOpensTheCalculator();
    void exitShowsTheDonationWindowOnTheDraw_data();
    void exitShowsTheDonationWindowOnTheDraw();
    void helpOfEachWindow_data();
    void helpOfEachWindow();
    void closingTheConsoleClosesTheHelp();
    void faultyCatalogueAtStart_data();
    void faultyCatalogueAtStart();
    void catalogueLockedWhileRunning();

private:
    RecordingUiServices services;
};

void TestProgram::windowsInOrder()
{
    Program program;
    QStringList classes;
    QStringList titles;
    for (const QWidget* window : program.windows()) {
        classes << QString::fromLatin1(window->metaObject()->className());
        titles << window->windowTitle();
        QVERIFY(window->isWindow());
        QVERIFY(!window->isVisible());
    }
    QCOMPARE(classes,
             QStringList({"TToneFrm", "TCalcFrm", "TYFrm", "TCalculatorFrm", "TDonateFrm"}));
    QCOMPARE(titles, QStringList({"Sonarith Ver. 1.50", "Numerology Calculator", "Y Character",
                                  "Math Calculator", "Kindlyware - Good Karma for All of Us."}));
}

void TestProgram::screenshots()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString target = folder.filePath(QStringLiteral("shots"));
    // The working folder is the data folder: the picture of the console shows its catalogue,
    // made from the shipped one there, and the help window shows the help file put there.
    QVERIFY(QFile::copy(QStringLiteral(SONARITH_DATA "/Velnora.chm"),
                        folder.filePath(QStringLiteral("Velnora.chm"))));
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder.path()));
    Program program;
    QString error;
    const bool saved = program.saveScreenshots(target, &error);
    QDir::setCurrent(previous);
    QVERIFY2(saved, qPrintable(error));
    QCOMPARE(findControl<QTableView>(program.ToneFrm(), "DBGrid1")->model()->rowCount(), 220);
    // The help window was opened for its picture only.
    QVERIFY(!program.ToneFrm().helpViewer().window());

    // The windows that live only while they are pictured: these give their sizes. The report
    // chooser takes its size as it is shown.
    TAddFrm maintenance(program.ToneFrm().catalogueDatabase());
    TDeleteFrm deletion(maintenance.Table1());
    TInternetFrm links;
    TReportSetupFrm chooser;
    chooser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chooser));
    HelpWindow help;
    const ReportPreview preview(report::PreparedReport{}, QString());
    QList<const QWidget*> pictured{&links, &chooser, &help, &maintenance, &deletion, &preview};
    for (const QWidget* window : program.windows()) {
        QVERIFY2(!window->isVisible(), qPrintable(window->metaObject()->className()));
        pictured << window;
    }
    for (const QWidget* window : std::as_const(pictured)) {
        const QString name = QString::fromLatin1(window->metaObject()->className());
        const QImage image(QDir(target).filePath(name + QStringLiteral(".png")));
        QVERIFY2(!image.isNull(), qPrintable(name));
        QCOMPARE(image.size() / image.devicePixelRatio(), window->size());
    }
    QCOMPARE(QDir(target).entryList(QDir::Files).size(), pictured.size());
}

// The windows reach each other exactly as the program builds them: no wiring by the test.
void TestProgram::consoleOpensTheCalculators()
{
    services.clear();
    Program program;
    TToneFrm& console = program.ToneFrm();
    findControl<QLineEdit>(console, "DataBx")->setText(QStringLiteral(" Mary Ann "));
    findControl<QPushButton>(console, "NumCalcBtn")->click();
    QCOMPARE(services.dialogs.value(0), &program.CalcFrm());
    QCOMPARE(program.CalcFrm().DataText(), QStringLiteral("MARY ANN"));
    QCOMPARE(findControl<QLineEdit>(program.CalcFrm(), "Total")->text(), QStringLiteral("32 / 5"));
    program.CalcFrm().hide();

    services.clear();
    findControl<QPushButton>(console, "CalcBtn")->click();
    QCOMPARE(services.dialogs, QList<QDialog*>{&program.CalculatorFrm()});
}

void TestProgram::numerologyAsksAboutYAndOpensTheCalculator()
{
    services.clear();
    Program program;
    TCalcFrm& numerology = program.CalcFrm();
    numerology.show();
    QVERIFY(QTest::qWaitForWindowExposed(&numerology));
    auto* data = findControl<QLineEdit>(numerology, "Data");
    data->setFocus();
    QTest::keyClicks(data, QStringLiteral("may"));
    QCOMPARE(services.dialogs, QList<QDialog*>{&program.YFrm()});
    findControl<QPushButton>(program.YFrm(), "NoBtn")->click();
    QCOMPARE(numerology.DataText(), QStringLiteral("MAY"));

    services.clear();
    findControl<QPushButton>(numerology, "CalculatorBtn")->click();
    QCOMPARE(services.dialogs, QList<QDialog*>{&program.CalculatorFrm()});
}

void TestProgram::exitShowsTheDonationWindowOnTheDraw_data()
{
    QTest::addColumn<int>("draw");
    QTest::addColumn<bool>("asks");
    QTest::newRow("one in four") << 3 << true;
    QTest::newRow("the others") << 2 << false;
}

void TestProgram::exitShowsTheDonationWindowOnTheDraw()
{
    QFETCH(int, draw);
    QFETCH(bool, asks);
    services.clear();
    services.drawAnswer = draw;
    Program program;
    program.ToneFrm().show();
    QVERIFY(QTest::qWaitForWindowExposed(&program.ToneFrm()));
    findControl<QPushButton>(program.ToneFrm(), "CloseBtn")->click();
    QVERIFY(!program.ToneFrm().isVisible());
    QCOMPARE(services.dialogs.contains(&program.DonateFrm()), asks);
}

namespace {

// A program started, as a user starts it, in a data folder that holds the built help file.
struct ProgramInDataFolder
{
    ProgramInDataFolder()
    {
        QFile::copy(QStringLiteral(SONARITH_DATA "/Velnora.chm"),
                    folder.filePath(QStringLiteral("Velnora.chm")));
        const QString previous = QDir::currentPath();
        QDir::setCurrent(folder.path());
        program = std::make_unique<Program>();
        QDir::setCurrent(previous);
    }

    QTemporaryDir folder;
    std::unique_ptr<Program> program;
};

// The page the help window shows, as its path inside the help file; empty with no window.
QString helpPageShown(const TToneFrm& console)
{
    const HelpWindow* window = console.helpViewer().window();
    if (!window || !window->isVisible())
        return {};
    return window->currentPage().path().section(u'/', 2);
}

}  // namespace

void TestProgram::helpOfEachWindow_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QByteArray>("control");
    QTest::addColumn<bool>("f1");  // F1 with the control focused, otherwise a click on it
    QTest::addColumn<QString>("page");
    QTest::newRow("console Help") << "console" << QByteArray("HelpBtn") << false
                                  << "html/index.htm";
    QTest::newRow("console F1") << "console" << QByteArray("DataBx") << true << "html/index.htm";
    QTest::newRow("numerology Help")
        << "numerology" << QByteArray("HelpBtn") << false << "html/veln7lf6.htm";
    QTest::newRow("numerology F1")
        << "numerology" << QByteArray("Data") << true << "html/veln7lf6.htm";
    QTest::newRow("numerology F1 in the date panel")
        << "numerology" << QByteArray("EsDateEdit1") << true << "html/veln7lf6.htm";
    QTest::newRow("date panel's Help")
        << "numerology" << QByteArray("DtHelpBtn") << false << "html/veln3x2q.htm";
    QTest::newRow("math calculator Help")
        << "calculator" << QByteArray("HelpBtn") << false << "html/veln5n02.htm";
    QTest::newRow("math calculator F1")
        << "calculator" << QByteArray("OvcCalculator1") << true << "html/veln5n02.htm";
    QTest::newRow("maintenance Help")
        << "maintenance" << QByteArray("HelpBtn") << false << "html/veln9eat.htm";
    QTest::newRow("maintenance F1")
        << "maintenance" << QByteArray("CatBx") << true << "html/veln9eat.htm";
    QTest::newRow("delete Help") << "delete" << QByteArray("HelpBtn") << false
                                 << "html/veln9eat.htm";
    QTest::newRow("delete F1") << "delete" << QByteArray("DeleteBtn") << true
                               << "html/veln9eat.htm";
    // The preview asks the program's help handler by context: the file's default page.
    QTest::newRow("preview Help") << "preview" << QByteArray("HelpBtn") << false
                                  << "html/index.htm";
    QTest::newRow("preview F1") << "preview" << QByteArray("FindBx") << true << "html/index.htm";
}

// Each window's Help and F1 open its page of the help file in the data folder.
void TestProgram::helpOfEachWindow()
{
    QFETCH(QString, window);
    QFETCH(QByteArray, control);
    QFETCH(bool, f1);
    QFETCH(QString, page);
    services.clear();
    ProgramInDataFolder started;
    Program& program = *started.program;
    TToneFrm& console = program.ToneFrm();
    console.show();
    QVERIFY(QTest::qWaitForWindowExposed(&console));

    const auto trigger = [&](QWidget& form) {
        auto* target = findControl<QWidget>(form, control.constData());
        if (f1) {
            target->setFocus();
            QTest::keyClick(target, Qt::Key_F1);
        } else {
            static_cast<QAbstractButton*>(target)->click();
        }
    };
    const auto shown = [](QWidget& form) {
        form.show();
        form.activateWindow();
        // A dialog shares the activation of its parent: it must be the active window itself.
        return QTest::qWaitFor([&form] { return QApplication::activeWindow() == &form; });
    };
    if (window == QLatin1String("console")) {
        trigger(console);
    } else if (window == QLatin1String("numerology")) {
        QVERIFY(shown(program.CalcFrm()));
        if (control == "EsDateEdit1")
            program.CalcFrm().CalendarBtnClick();
        trigger(program.CalcFrm());
    } else if (window == QLatin1String("calculator")) {
        QVERIFY(shown(program.CalculatorFrm()));
        trigger(program.CalculatorFrm());
    } else {
        // "Data " opens the maintenance window, its "Delete" the delete window, and its
        // "Report" the report chooser, whose "Preview" opens the preview of the listing.
        services.whileShown = [&](QDialog* dialog) {
            if (auto* chooser = qobject_cast<TReportSetupFrm*>(dialog)) {
                chooser->PrVwClick();
                return;
            }
            QVERIFY(shown(*dialog));
            if (window == QLatin1String("delete") && qobject_cast<TAddFrm*>(dialog))
                findControl<QPushButton>(*dialog, "DeleteBtn")->click();
            else if (window == QLatin1String("preview") && qobject_cast<TAddFrm*>(dialog))
                findControl<QPushButton>(*dialog, "ReportBtn")->click();
            else
                trigger(*dialog);
        };
        findControl<QPushButton>(console, "EditBtn")->click();
    }
    QCOMPARE(helpPageShown(console), page);
    QVERIFY(services.messages.isEmpty());
}

// The help window keeps neither the program running nor itself open once the console goes.
void TestProgram::closingTheConsoleClosesTheHelp()
{
    services.clear();
    ProgramInDataFolder started;
    TToneFrm& console = started.program->ToneFrm();
    console.show();
    QVERIFY(QTest::qWaitForWindowExposed(&console));
    findControl<QPushButton>(console, "HelpBtn")->click();
    QPointer<HelpWindow> help = console.helpViewer().window();
    QVERIFY(help && help->isVisible());

    // "Exit" ends the program's message loop although the help window is open.
    bool ended = true;
    QTimer::singleShot(0, &console,
                       [&console] { findControl<QPushButton>(console, "CloseBtn")->click(); });
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, qApp, [&ended] {
        ended = false;
        QApplication::quit();
    });
    guard.start(5000);
    QApplication::exec();
    QVERIFY(ended);
    started.program.reset();
    QVERIFY(help.isNull());
}

namespace {

// Enough records to fill several pages of the table and of each index.
QList<catalogue::ToneRecord> manyRecords()
{
    QList<catalogue::ToneRecord> records;
    for (int i = 0; i < 400; ++i)
        records << catalogue::ToneRecord{QStringLiteral("Category %1").arg(i % 7),
                                         QStringLiteral("Sub %1").arg(i), i,
                                         QStringLiteral("Source %1").arg(i % 11)};
    return records;
}

QStringList categoriesShown(const QTableView* grid)
{
    QStringList shown;
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        shown << grid->model()->index(row, 1).data().toString();
    return shown;
}

}  // namespace

void TestProgram::faultyCatalogueAtStart_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");  // %1: the catalogue's path

    const QString damaged =
        QStringLiteral("The tone catalogue \"%1\" is damaged and cannot be read.");
    QTest::newRow("locked by another program")
        << "locked" << QStringLiteral("The tone catalogue \"%1\" is locked by another program.");
    QTest::newRow("cut to half its size") << "cut" << damaged;
    QTest::newRow("bytes inverted in a page of records") << "records page" << damaged;
    QTest::newRow("bytes inverted in a page of an index") << "index page" << damaged;
}

// A catalogue the program cannot use is reported once, naming the file; the console runs with
// an empty, disabled grid, "Data " opens nothing, and the file stays byte for byte as it was.
void TestProgram::faultyCatalogueAtStart()
{
    QFETCH(QString, fault);
    QFETCH(QString, message);
    services.clear();
    ProgramInDataFolder started;
    const QString path = started.folder.filePath(QLatin1String(catalogue::kFileName));
    QString error;
    QVERIFY2(catalogue::createCatalogueFile(path, manyRecords(), false, &error), qPrintable(error));
    std::unique_ptr<cataloguefaults::CatalogueLock> lock;
    if (fault == QLatin1String("locked")) {
        lock = std::make_unique<cataloguefaults::CatalogueLock>(path, false);
        QVERIFY2(lock->isHeld(), qPrintable(lock->errorString()));
    } else if (fault == QLatin1String("cut")) {
        QVERIFY2(cataloguefaults::cutInHalf(path, &error), qPrintable(error));
    } else {
        const auto kind = fault == QLatin1String("records page")
                              ? cataloguefaults::PageKind::TableLeaf
                              : cataloguefaults::PageKind::IndexLeaf;
        QVERIFY2(cataloguefaults::invertPage(path, kind, fault.startsWith(u'r') ? 2 : 1, &error),
                 qPrintable(error));
    }
    const QByteArray digest = cataloguefaults::digestOf(path);
    const QStringList entries = cataloguefaults::entriesOf(started.folder.path());

    TToneFrm& console = started.program->ToneFrm();
    console.show();
    QVERIFY(QTest::qWaitForWindowExposed(&console));
    QCOMPARE(services.messages.size(), 1);
    QCOMPARE(services.messages[0].kind, UiServices::MessageKind::Error);
    QCOMPARE(services.messages[0].text, message.arg(path));
    QCOMPARE(findControl<QTableView>(console, "DBGrid1")->model()->rowCount(), 0);
    for (const char* name : {"DBGrid1", "DBNavigator1", "ToneDB"})
        QVERIFY2(!findControl(console, name)->isEnabled(), name);

    findControl<QPushButton>(console, "EditBtn")->click();
    QVERIFY(services.dialogs.isEmpty());
    QCOMPARE(services.messages.size(), 1);
    // The rest of the console works on.
    findControl<QLineEdit>(console, "DataBx")->setText(QStringLiteral("MARY"));
    QCOMPARE(findControl<QLineEdit>(console, "NumbBx")->text(), QStringLiteral("4197"));
    console.close();
    started.program.reset();
    if (lock)
        QVERIFY2(lock->release(), qPrintable(lock->errorString()));
    QCOMPARE(cataloguefaults::digestOf(path), digest);
    QCOMPARE(cataloguefaults::entriesOf(started.folder.path()), entries);
}

// Another program locks the catalogue while the console runs: a save in the maintenance window
// and the window itself are refused with one message each, the file stays as it was, and once
// the lock is gone both work again.
void TestProgram::catalogueLockedWhileRunning()
{
    services.clear();
    ProgramInDataFolder started;
    const QString path = started.folder.filePath(QLatin1String(catalogue::kFileName));
    QString error;
    QVERIFY2(catalogue::createCatalogueFile(path,
                                            {{"Body", "Heart", 528, "Puleo"},
                                             {"Planets", "Earth", 136, "Cousto"},
                                             {"Solfeggio", "UT", 396, "Horowitz"}},
                                            false, &error),
             qPrintable(error));
    TToneFrm& console = started.program->ToneFrm();
    console.show();
    QVERIFY(QTest::qWaitForWindowExposed(&console));
    auto* grid = findControl<QTableView>(console, "DBGrid1");
    QCOMPARE(categoriesShown(grid), QStringList({"Body", "Planets", "Solfeggio"}));
    const QByteArray digest = cataloguefaults::digestOf(path);
    const QStringList entries = cataloguefaults::entriesOf(started.folder.path());

    // The lock comes while a record is edited: its save waits for the lock's end.
    bool shown = false;
    services.whileShown = [&](QDialog* dialog) {
        shown = true;
        auto* box = findControl<QLineEdit>(*dialog, "CatBx");
        box->setFocus();
        box->end(false);
        QTest::keyClicks(box, "Lungs");
        cataloguefaults::CatalogueLock lock(path, true);
        QVERIFY2(lock.isHeld(), qPrintable(lock.errorString()));
        findControl<QPushButton>(*dialog, "CloseBtn")->click();
        QCOMPARE(services.messages.size(), 1);
        QCOMPARE(services.messages[0].text,
                 QStringLiteral("The record was not saved: the catalogue is locked by another "
                                "program."));
        QVERIFY(dialog->isVisible());
        QCOMPARE(box->text(), QStringLiteral("BodyLungs"));
        QVERIFY2(lock.release(), qPrintable(lock.errorString()));
        QCOMPARE(cataloguefaults::digestOf(path), digest);
        QCOMPARE(cataloguefaults::entriesOf(started.folder.path()), entries);
        findControl<QPushButton>(*dialog, "CloseBtn")->click();
        QVERIFY(!dialog->isVisible());
    };
    findControl<QPushButton>(console, "EditBtn")->click();
    QVERIFY(shown);
    QCOMPARE(services.messages.size(), 1);
    QCOMPARE(categoriesShown(grid), QStringList({"BodyLungs", "Planets", "Solfeggio"}));
    QVERIFY(grid->isEnabled());

    // "Data " while the lock is held: said once, no window to type into that could not save.
    services.clear();
    services.whileShown = [](QDialog*) { QFAIL("a maintenance window on a locked catalogue"); };
    const QByteArray edited = cataloguefaults::digestOf(path);
    {
        cataloguefaults::CatalogueLock lock(path, false);
        QVERIFY2(lock.isHeld(), qPrintable(lock.errorString()));
        findControl<QPushButton>(console, "EditBtn")->click();
        QVERIFY(services.dialogs.isEmpty());
        QCOMPARE(services.messages.size(), 1);
        QCOMPARE(services.messages[0].text,
                 QStringLiteral("The tone catalogue cannot be read: the catalogue is locked by "
                                "another program."));
        QVERIFY(lock.release());
    }
    QCOMPARE(cataloguefaults::digestOf(path), edited);
    services.whileShown = nullptr;
    findControl<QPushButton>(console, "EditBtn")->click();
    QCOMPARE(services.dialogs.size(), 1);
    QCOMPARE(services.messages.size(), 1);
    QCOMPARE(categoriesShown(grid), QStringList({"BodyLungs", "Planets", "Solfeggio"}));
    QVERIFY(grid->isEnabled());
    console.close();
}

QTEST_MAIN(TestProgram)
#include "tst_program.moc"
