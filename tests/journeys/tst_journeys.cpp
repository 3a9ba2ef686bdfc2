#include "catalogue/cataloguereports.h"
#include "catalogue/tonescursor.h"
#include "catalogue/tonesdatabase.h"
#include "catalogue/ui/addform.h"
#include "catalogue/ui/reportsetupform.h"
#include "console/ui/toneform.h"
#include "journeys/desktop.h"
#include "numerology/ui/calcform.h"
#include "numerology/ui/calculatorform.h"
#include "report/ui/reportpreview.h"
#include "shell/ui/donateform.h"
#include "shell/ui/helpwindow.h"
#include "shell/ui/internetform.h"
#include "shell/webaddresses.h"
#include "support/controls.h"
#include "support/documents.h"
#include "support/nullsinkrecorder.h"
#include "support/printqueue.h"
#include "support/recordinguiservices.h"
#include "support/textlinks.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

// The index of the look that differs from the picture in the fewest pixels: the caret and the
// focus frame differ alike for every look, the selected digit does not.
int closestLook(const QImage& picture, const QList<QImage>& looks)
{
    int best = -1;
    qsizetype fewest = std::numeric_limits<qsizetype>::max();
    for (int i = 0; i < looks.size(); ++i) {
        if (looks[i].size() != picture.size())
            continue;
        qsizetype differing = 0;
        for (int y = 0; y < picture.height(); ++y) {
            const auto* a = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
            const auto* b = reinterpret_cast<const QRgb*>(looks[i].constScanLine(y));
            for (int x = 0; x < picture.width(); ++x)
                differing += a[x] != b[x];
        }
        if (differing < fewest) {
            fewest = differing;
            best = i;
        }
    }
    return best;
}

}  // namespace

// What a user does with the program, from its main window, with real keys and clicks.
class TestJourneys : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void numerologyWindowsOpenAndEscapeClosesThem();
    void mathCalculatorReduces();
    void playIsHeard();
    void theHighlightedDigitIsTheOneSounding();
    void saveClearAndLoadBringTheTextsBack();
    void exportSoundWritesWhatTheCommandLineRenders();
    void catalogueFrequenciesFillTheSlots();
    void recordAddedWithDataIsInTheGrid();
    void helpOpensFollowsLinksAndClosesWithTheProgram();
    void sourceListingIsPreviewed();
    void linksOpenTheBrowserAndEscapeClosesThem();
    void numerologyReportIsExported();
    void numerologyReportIsPrinted();
    void exitEndsTheProgram();

private:
    // Names what the journey does next, for the report of a failure.
    void step(const char* what) { step_ = QString::fromLatin1(what); }
    // Whether the program ends with status 0, after "Donate" and "Exit" in the donation window
    // when the draw shows it.
    bool endsAfterTheDonationWindow()
    {
        const QString donation = QStringLiteral("Kindlyware - Good Karma for All of Us.");
        QElapsedTimer waited;
        waited.start();
        while (!program_->waitForExit(100)) {
            if (const qulonglong window = program_->waitForWindow(donation, 0);
                window && !donateAndExit(window, donation))
                return false;
            if (waited.elapsed() > 20000) {
                qWarning("the program did not end");
                return false;
            }
        }
        return program_->exitCode() == 0;
    }
    // "Donate" hands the donation page to the browser and the window stays; "Exit" hides it.
    bool donateAndExit(qulonglong window, const QString& title)
    {
        const TDonateFrm form;
        clickOn(window, form, "DonateBtn");
        const QUrl donation(shell::webAddress(shell::WebPage::Donation));
        if (!QTest::qWaitFor([&] { return !browserAddresses().isEmpty(); }, 5000) ||
            QUrl(browserAddresses().constLast()) != donation) {
            qWarning("Donate did not hand the donation page to the browser: %s",
                     qPrintable(browserAddresses().join(u' ')));
            return false;
        }
        if (!program_->windowTitles().contains(title)) {
            qWarning("Donate closed the donation window");
            return false;
        }
        clickOn(window, form, "ExitBtn");
        return program_->waitUntilGone(title);
    }
    // The addresses the program handed to the browser, in order: a stand-in browser of the
    // tests' own, first on the program's PATH, writes each one down.
    QStringList browserAddresses() const
    {
        QFile opened(browser_.filePath(QStringLiteral("opened")));
        if (!opened.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLocal8Bit(opened.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
    // Whether the screen shows a pixel of exactly this colour in the area.
    static bool screenHas(const QRect& area, const QColor& colour)
    {
        const QImage shown = QGuiApplication::primaryScreen()
                                 ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < shown.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(shown.constScanLine(y));
            for (int x = 0; x < shown.width(); ++x) {
                if (line[x] == colour.rgb())
                    return true;
            }
        }
        return false;
    }
    // Where the link to href stands on the screen in the program's help window showing page:
    // a help window built here on the same file, at the same size, says.
    QPoint linkOnScreen(qulonglong window, const QString& page, const QString& href) const
    {
        HelpWindow here;
        QString error;
        if (!here.openFile(program_->dataFolder() + QStringLiteral("/Velnora.chm"), &error))
            qFatal("%s", qPrintable(error));
        const QRect shown = program_->geometry(window);
        here.resize(shown.size());
        here.showPage(page);
        here.grab();  // lays the window out, off the screen
        auto* browser = findControl<QTextBrowser>(here, "Browser");
        const QPoint link = linkPoint(*browser, href);
        if (link.isNull())
            qFatal("no link to %s in sight", qPrintable(href));
        return shown.topLeft() + browser->viewport()->mapTo(&here, link);
    }
    QPoint at(qulonglong window, const QWidget& form, const char* control) const
    {
        return program_->geometry(window).topLeft() + centreOf(form, control);
    }
    void clickOn(qulonglong window, const QWidget& form, const char* control)
    {
        desktop::click(at(window, form, control));
    }
    // Rests the pointer in a window, so that the keys typed next go there.
    void hover(qulonglong window)
    {
        desktop::moveTo(program_->geometry(window).topLeft() + QPoint(2, 2));
    }
    // Escape with the pointer in the window; true once the window is gone.
    bool closeWithEscape(qulonglong window, const QString& title)
    {
        hover(window);
        desktop::key(QStringLiteral("Escape"));
        return program_->waitUntilGone(title);
    }
    // The text of a field as a user copies it: select all, copy, read the clipboard.
    QString copyOf(qulonglong window, const QWidget& form, const char* control)
    {
        QProcess::execute(
            QStringLiteral("sh"),
            {QStringLiteral("-c"), QStringLiteral("printf nothing | xclip -selection clipboard")});
        clickOn(window, form, control);
        desktop::key(QStringLiteral("ctrl+a"));
        desktop::key(QStringLiteral("ctrl+c"));
        return desktop::clipboard();
    }
    // Where a title or a row of the console's grid is on the screen. The grid's rows all have
    // its default height.
    QPoint titleOf(const QWidget& console, int column) const
    {
        const auto* titles = findControl<QTableView>(console, "DBGrid1")->horizontalHeader();
        const QPoint inTitles(titles->sectionViewportPosition(column) +
                                  titles->sectionSize(column) / 2,
                              titles->height() / 2);
        return program_->geometry(main_).topLeft() + titles->mapTo(&console, inTitles);
    }
    QPoint rowOf(const QWidget& console, int row) const
    {
        const auto* grid = findControl<QTableView>(console, "DBGrid1");
        const int height = grid->verticalHeader()->defaultSectionSize();
        const QPoint inRows(grid->columnViewportPosition(1) + grid->columnWidth(1) / 2,
                            row * height + height / 2);
        return program_->geometry(main_).topLeft() + grid->viewport()->mapTo(&console, inRows);
    }
    // The Source title is mostly out of sight: the grid's scroll bar arrow is clicked until the
    // grid is at its right end, where the last title stretches to the grid's right edge. The
    // points follow from the grid's frame alone: the program's grid, holding more rows than it
    // shows, has both scroll bars, the one built here does not.
    QPoint lastTitleScrolledIntoView(const QWidget& console)
    {
        const auto* grid = findControl<QTableView>(console, "DBGrid1");
        const int frame = grid->frameWidth();
        const int bar = grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid);
        const QPoint origin = program_->geometry(main_).topLeft() + grid->mapTo(&console, QPoint());
        const QPoint arrow(grid->width() - frame - bar - bar / 2, grid->height() - frame - bar / 2);
        for (int column = 1; column < grid->model()->columnCount(); ++column)
            desktop::click(origin + arrow);
        const int titles = grid->horizontalHeader()->height();
        return origin + QPoint(grid->width() - frame - bar - 40, frame + titles / 2);
    }
    // Types path into the program's file dialog titled title and accepts it; whether the
    // dialog appeared and closed.
    bool answerFileDialog(const QString& title, const QString& path)
    {
        const qulonglong dialog = program_->waitForWindow(title);
        if (!dialog)
            return false;
        hover(dialog);
        desktop::key(QStringLiteral("ctrl+a"));
        desktop::type(path);
        desktop::key(QStringLiteral("Return"));
        return program_->waitUntilGone(title);
    }
    void typeInto(qulonglong window, const QWidget& form, const char* control, const QString& text)
    {
        clickOn(window, form, control);
        desktop::key(QStringLiteral("ctrl+a"));
        desktop::type(text);
    }

    // Types a name into the console and opens the numerology calculator on it; its window.
    qulonglong numerologyOn(const QString& name)
    {
        const TToneFrm console;
        TCalcFrm numerology;
        step("type a name and press Numerology");
        typeInto(main_, console, "DataBx", name);
        clickOn(main_, console, "NumCalcBtn");
        const qulonglong calc = program_->waitForWindow(QStringLiteral("Numerology Calculator"));
        if (calc &&
            !QTest::qWaitFor([&] { return copyOf(calc, numerology, "Data") == name.toUpper(); }))
            return 0;
        return calc;
    }

    RecordingUiServices services_;  // for the windows built here to find positions
    QTemporaryDir browser_;
    std::unique_ptr<RunningProgram> program_;
    qulonglong main_ = 0;
    QString step_;
};

void TestJourneys::initTestCase()
{
    // Pictures of earlier failures would pass for this run's.
    QDir(QStringLiteral(SONARITH_JOURNEY_OUTPUT)).removeRecursively();
    // The desktop opens a web address with xdg-open from the PATH: here a script that writes
    // the address down instead of starting a browser.
    QVERIFY(browser_.isValid());
    QFile browser(browser_.filePath(QStringLiteral("xdg-open")));
    QVERIFY(browser.open(QIODevice::WriteOnly));
    browser.write("#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$(dirname \"$0\")/opened\"\n");
    browser.close();
    QVERIFY(browser.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    qputenv("PATH", QFile::encodeName(browser_.path()) + ':' + qgetenv("PATH"));
}

void TestJourneys::init()
{
    QFile::remove(browser_.filePath(QStringLiteral("opened")));
    step("start the program");
    program_ = std::make_unique<RunningProgram>();
    QString error;
    QVERIFY2(program_->start(&error), qPrintable(error));
    main_ = program_->waitForWindow(QStringLiteral("Sonarith Ver. 1.50"));
    QVERIFY(main_);
}

void TestJourneys::cleanup()
{
    if (QTest::currentTestFailed()) {
        const QString shot = desktop::saveScreen(QString::fromLatin1(QTest::currentTestFunction()));
        std::fprintf(stderr, "journey %s failed at the step \"%s\"; the screen is in %s\n%s\n",
                     QTest::currentTestFunction(), qPrintable(step_), qPrintable(shot),
                     qPrintable(program_->errors()));
    }
    program_.reset();
}

void TestJourneys::numerologyWindowsOpenAndEscapeClosesThem()
{
    const TToneFrm console;
    TCalcFrm numerology;

    step("type a name into the data field");
    typeInto(main_, console, "DataBx", QStringLiteral("Anna Lee"));
    step("press Numerology");
    clickOn(main_, console, "NumCalcBtn");
    const qulonglong calc = program_->waitForWindow(QStringLiteral("Numerology Calculator"));
    QVERIFY(calc);
    step("read the analysis of the handed-over text");
    QTRY_COMPARE(copyOf(calc, numerology, "Data"), QStringLiteral("ANNA LEE"));
    numerology.HandOver(0, QStringLiteral("Anna Lee"));
    QCOMPARE(findControl<QLineEdit>(numerology, "Total")->text(), QStringLiteral("25 / 7"));
    QTRY_VERIFY(screenShows(program_->geometry(calc), numerology, "Total"));

    step("type a Y into the name");
    clickOn(calc, numerology, "Data");
    desktop::key(QStringLiteral("End"));
    desktop::type(QStringLiteral("Y"));
    const qulonglong question = program_->waitForWindow(QStringLiteral("Y Character"));
    QVERIFY(question);
    step("Escape closes the Y question");
    QVERIFY(closeWithEscape(question, QStringLiteral("Y Character")));

    step("press Calculator in the numerology calculator");
    clickOn(calc, numerology, "CalculatorBtn");
    const qulonglong math = program_->waitForWindow(QStringLiteral("Math Calculator"));
    QVERIFY(math);
    step("Escape closes the math calculator");
    QVERIFY(closeWithEscape(math, QStringLiteral("Math Calculator")));

    step("open the date calculator: the date field takes the focus");
    clickOn(calc, numerology, "CalendarBtn");
    QTRY_VERIFY(program_->geometry(calc).width() > numerology.width());
    step("Escape in the date field closes the numerology calculator");
    QVERIFY(closeWithEscape(calc, QStringLiteral("Numerology Calculator")));
    QVERIFY(program_->windowTitles().contains(QStringLiteral("Sonarith Ver. 1.50")));
}

void TestJourneys::mathCalculatorReduces()
{
    const TToneFrm console;
    const TCalculatorFrm calculator;
    step("press Calculator");
    clickOn(main_, console, "CalcBtn");
    const qulonglong math = program_->waitForWindow(QStringLiteral("Math Calculator"));
    QVERIFY(math);
    step("type 1234 and press Reduce");
    hover(math);
    desktop::type(QStringLiteral("1234"));
    clickOn(math, calculator, "ReduceBtn");
    step("read the result from the clipboard");
    QTRY_COMPARE(desktop::clipboard(), QStringLiteral("127"));
}

void TestJourneys::playIsHeard()
{
    if (NullSinkRecorder::sink().isEmpty())
        QSKIP("no null sink set up for the tests (the test command sets one up)");
    TToneFrm console;
    step("type MARY and switch looping off");
    typeInto(main_, console, "DataBx", QStringLiteral("MARY"));
    console.findChild<QLineEdit*>(QStringLiteral("DataBx"))->setText(QStringLiteral("MARY"));
    QCOMPARE(console.findChild<QLineEdit*>(QStringLiteral("NumbBx"))->text(),
             QStringLiteral("4197"));
    QTRY_VERIFY(screenShows(program_->geometry(main_), console, "NumbBx"));
    clickOn(main_, console, "LoopBx");

    step("press Play and listen");
    NullSinkRecorder recorder;
    QString error;
    QVERIFY2(recorder.start(&error), qPrintable(error));
    clickOn(main_, console, "PlayBtn");
    QTest::qWait(3500);
    const Recording heard = recorder.stop();

    step("judge what was heard");
    const qsizetype first = heard.firstSound(300);
    const qsizetype last = heard.lastSound(300);
    QVERIFY2(first >= 0, "nothing was heard");
    const double seconds = heard.seconds(last - first);
    QVERIFY2(std::abs(seconds - 2.0) <= 0.1, qPrintable(QString::number(seconds)));
    // The default slots 4, 1, 9 and 7, a half second each.
    const double slotHz[] = {417, 174, 963, 741};
    for (int k = 0; k < 4; ++k) {
        const qsizetype middle = first + qsizetype(Recording::kRate * (0.5 * k + 0.25));
        const double hz =
            heard.frequency(middle - Recording::kRate / 10, middle + Recording::kRate / 10);
        QVERIFY2(std::abs(hz - slotHz[k]) < slotHz[k] * 0.02,
                 qPrintable(QStringLiteral("tone %1: %2 Hz").arg(k).arg(hz)));
    }
}

// Pictures of the numerology field taken while a pass sounds show the digit whose tone is
// heard at that moment, and none before the first tone.
void TestJourneys::theHighlightedDigitIsTheOneSounding()
{
    if (NullSinkRecorder::sink().isEmpty())
        QSKIP("no null sink set up for the tests (the test command sets one up)");
    TToneFrm console;
    step("type MARY and switch looping off");
    typeInto(main_, console, "DataBx", QStringLiteral("MARY"));
    clickOn(main_, console, "LoopBx");
    // How the field looks with no digit selected and with each one selected.
    console.findChild<QLineEdit*>(QStringLiteral("DataBx"))->setText(QStringLiteral("MARY"));
    auto* numbers = findControl<QLineEdit>(console, "NumbBx");
    QList<QImage> looks{numbers->grab().toImage().convertToFormat(QImage::Format_RGB32)};
    for (int k = 0; k < 4; ++k) {
        numbers->setSelection(k, 1);
        looks << numbers->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }
    const QRect field(program_->geometry(main_).topLeft() + numbers->mapTo(&console, QPoint()),
                      numbers->size());

    step("press Play and take pictures of the field while it sounds");
    NullSinkRecorder recorder;
    QString error;
    QVERIFY2(recorder.start(&error), qPrintable(error));
    clickOn(main_, console, "PlayBtn");
    QList<std::pair<double, int>> shown;  // when, and which look is closest (0: none)
    const double end = NullSinkRecorder::clock() + 3.0;
    while (NullSinkRecorder::clock() < end) {
        const double before = NullSinkRecorder::clock();
        const QImage picture =
            QGuiApplication::primaryScreen()
                ->grabWindow(0, field.x(), field.y(), field.width(), field.height())
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        const double at = (before + NullSinkRecorder::clock()) / 2;
        shown.append({at, closestLook(picture, looks)});
        QTest::qWait(40);
    }
    const Recording heard = recorder.stop();

    step("compare the pictures with what was heard");
    const qsizetype first = heard.firstSound(300);
    QVERIFY2(first >= 0, "nothing was heard");
    const double onset = heard.heardAt(first);
    int judged = 0;
    for (const auto& [at, look] : shown) {
        const double intoPass = at - onset;
        // A picture within 40 ms of a change of tone may show either digit.
        const double fromBoundary = intoPass - 0.5 * std::round(intoPass / 0.5);
        if (std::abs(fromBoundary) < 0.04 || intoPass > 2.0)
            continue;
        const int expected = intoPass < 0 ? 0 : 1 + int(intoPass / 0.5);
        QVERIFY2(look == expected, qPrintable(QStringLiteral("%1 ms into the pass the field shows "
                                                             "look %2 instead of %3")
                                                  .arg(qRound(intoPass * 1000))
                                                  .arg(look)
                                                  .arg(expected)));
        ++judged;
    }
    QVERIFY2(judged >= 20, qPrintable(QStringLiteral("only %1 pictures to judge").arg(judged)));
}

void TestJourneys::saveClearAndLoadBringTheTextsBack()
{
    TToneFrm console;
    const QString file = program_->dataFolder() + QStringLiteral("/ToneData/journey.tns");
    step("type a name");
    typeInto(main_, console, "DataBx", QStringLiteral("Mary Ann Lee"));
    console.findChild<QLineEdit*>(QStringLiteral("DataBx"))
        ->setText(QStringLiteral("Mary Ann Lee"));
    QTRY_VERIFY(screenShows(program_->geometry(main_), console, "NumbBx"));

    step("save through the file dialog");
    clickOn(main_, console, "SaveBtn");
    QVERIFY(answerFileDialog(QStringLiteral("Save Tone Settings"), file));
    QTRY_VERIFY(QFile::exists(file));

    step("clear");
    clickOn(main_, console, "ClearBtn");
    QTRY_COMPARE(copyOf(main_, console, "DataBx"), QStringLiteral("nothing"));
    QTRY_VERIFY(!screenShows(program_->geometry(main_), console, "NumbBx"));

    step("load through the file dialog");
    clickOn(main_, console, "LoadBtn");
    QVERIFY(answerFileDialog(QStringLiteral("Load Tone Settings"), file));
    step("the texts are back");
    QTRY_COMPARE(copyOf(main_, console, "DataBx"), QStringLiteral("Mary Ann Lee"));
    QTRY_VERIFY(screenShows(program_->geometry(main_), console, "NumbBx"));
}

// "Export Sound" on a typed name, a file name typed into the program's file dialog: the WAVE
// file is the one the command line renders for that name with the start-up settings.
void TestJourneys::exportSoundWritesWhatTheCommandLineRenders()
{
    const TToneFrm console;
    const QString file = program_->dataFolder() + QStringLiteral("/ToneData/mary");
    QVERIFY(!QFile::exists(file + QStringLiteral(".wav")));
    step("type a name");
    typeInto(main_, console, "DataBx", QStringLiteral("MARY"));

    step("press Export Sound and type a file name into the file dialog");
    clickOn(main_, console, "ExportBtn");
    QVERIFY(answerFileDialog(QStringLiteral("Export Sound"), file));

    step("compare the file with the command line's");
    QTRY_VERIFY(QFile::exists(file + QStringLiteral(".wav")));
    QTemporaryDir here;
    const QString expected = here.filePath(QStringLiteral("mary.wav"));
    QProcess cli;
    cli.start(QStringLiteral(SONARITH_CLI),
              {QStringLiteral("render"), QStringLiteral("MARY"), QStringLiteral("-o"), expected});
    QVERIFY(cli.waitForFinished(60000));
    QVERIFY2(cli.exitCode() == 0, cli.readAllStandardError().constData());
    QFile exported(file + QStringLiteral(".wav"));
    QVERIFY(exported.open(QIODevice::ReadOnly));
    QFile rendered(expected);
    QVERIFY(rendered.open(QIODevice::ReadOnly));
    const QByteArray sound = exported.readAll();
    QVERIFY(sound.size() > 44);  // more than a header
    QVERIFY2(sound == rendered.readAll(), "the program exported another sound");
}

// The grid sorted by frequency, a row chosen with the mouse, and "Tones" pressed twice: the
// first two slots hold that row's frequency and the next one's.
void TestJourneys::catalogueFrequenciesFillTheSlots()
{
    TToneFrm console;
    console.grab();  // lays the grid out, off the screen
    QStringList byCps;
    QString byCategory;
    {
        catalogue::TonesDatabase database(QStringLiteral("journey"));
        QVERIFY2(database.open(program_->dataFolder() + u'/' + QLatin1String(catalogue::kFileName),
                               catalogue::TonesDatabase::Missing::Refuse),
                 qPrintable(database.errorString()));
        catalogue::TonesCursor cursor(database);
        QVERIFY(cursor.open());
        byCategory = cursor.record(2).text(catalogue::Field::Cps);
        QVERIFY(cursor.setIndex(catalogue::ToneIndex::Cps));
        byCps = {cursor.record(2).text(catalogue::Field::Cps),
                 cursor.record(3).text(catalogue::Field::Cps)};
        cursor.close();
    }
    QVERIFY2(byCps[0] != byCategory, "the catalogue's third row is the same in both orders");

    step("click the CPS title, then First");
    desktop::click(titleOf(console, 0));
    clickOn(main_, console, "NavFirst");
    step("click the third row and press Tones twice");
    desktop::click(rowOf(console, 2));
    clickOn(main_, console, "ToneDB");
    clickOn(main_, console, "ToneDB");

    step("read the first two slots");
    const auto number = [](QString text) { return text.remove(u','); };
    QTRY_COMPARE(number(copyOf(main_, console, "Tbx0")), byCps[0]);
    QCOMPARE(number(copyOf(main_, console, "Tbx1")), byCps[1]);
}

// A record typed into the maintenance window that "Data " opens is in the console's grid once
// the window is closed, in every order: the record is made to stand first in some orders and
// last in the others, and "Tones" copies the frequency of the record there into the slots.
void TestJourneys::recordAddedWithDataIsInTheGrid()
{
    TToneFrm console;
    console.grab();  // lays the grid out, off the screen
    // Positions only: the window is built on an empty catalogue of its own.
    QTemporaryDir elsewhere;
    catalogue::TonesDatabase empty(QStringLiteral("positions"));
    QString error;
    const QString emptyPath = elsewhere.filePath(QLatin1String(catalogue::kFileName));
    QVERIFY2(catalogue::createCatalogueFile(emptyPath, {}, false, &error), qPrintable(error));
    QVERIFY2(empty.open(emptyPath, catalogue::TonesDatabase::Missing::Refuse),
             qPrintable(empty.errorString()));
    TAddFrm maintenance(empty);

    step("press Data");
    clickOn(main_, console, "EditBtn");
    const QString title = QStringLiteral("Maintain Tone Database");
    const qulonglong window = program_->waitForWindow(title);
    QVERIFY(window);
    step("press Add New and type the record");
    clickOn(window, maintenance, "AddBtn");
    // No record of the shipped catalogue has CPS 1, sorts after "Zither" by Category or after
    // "Workshop notes" by Source, or before "A string" by SubCategory.
    typeInto(window, maintenance, "CatBx", QStringLiteral("Zither"));
    typeInto(window, maintenance, "SubBx", QStringLiteral("A string"));
    typeInto(window, maintenance, "CpsBx", QStringLiteral("1"));
    typeInto(window, maintenance, "SrcBx", QStringLiteral("Workshop notes"));
    step("press Close: the record is kept");
    clickOn(window, maintenance, "CloseBtn");
    QVERIFY(program_->waitUntilGone(title));

    const std::pair<int, const char*> orders[] = {
        {0, "NavFirst"}, {1, "NavLast"}, {2, "NavFirst"}, {3, "NavLast"}};
    for (const auto& [column, end] : orders) {
        step("click a title, go to the end where the record stands and press Tones");
        desktop::click(column == 3 ? lastTitleScrolledIntoView(console) : titleOf(console, column));
        clickOn(main_, console, end);
        clickOn(main_, console, "ToneDB");
    }
    step("read the slots filled");
    for (const char* slot : {"Tbx0", "Tbx1", "Tbx2", "Tbx3"})
        QTRY_COMPARE(copyOf(main_, console, slot), QStringLiteral("1"));
}

// " Help" opens the help at the console's page, whose links lead on; F1 in the numerology
// calculator shows that window's page in the same help window, which is used while the
// calculator waits for its answer; "Exit" ends the program and its help window.
void TestJourneys::helpOpensFollowsLinksAndClosesWithTheProgram()
{
    const TToneFrm console;
    const TCalcFrm numerology;
    step("press Help");
    clickOn(main_, console, "HelpBtn");
    qulonglong help = program_->waitForWindow(QStringLiteral("Sonarith Help - The tone console"));
    QVERIFY(help);
    step("click the link to the math calculator's page");
    desktop::click(linkOnScreen(help, QString(), QStringLiteral("veln5n02.htm")));
    QVERIFY(program_->waitForWindow(QStringLiteral("Sonarith Help - Math calculator")));

    step("open the numerology calculator and press F1 in it");
    clickOn(main_, console, "NumCalcBtn");
    const qulonglong calc = program_->waitForWindow(QStringLiteral("Numerology Calculator"));
    QVERIFY(calc);
    hover(calc);
    desktop::key(QStringLiteral("F1"));
    help = program_->waitForWindow(QStringLiteral("Sonarith Help - Numerology calculator"));
    QVERIFY(help);
    QCOMPARE(program_->windowTitles().filter(QStringLiteral("Sonarith Help")).size(), 1);
    step("follow a link in the help while the numerology calculator is open");
    desktop::click(
        linkOnScreen(help, QStringLiteral("html/veln7lf6.htm"), QStringLiteral("index.htm")));
    QVERIFY(program_->waitForWindow(QStringLiteral("Sonarith Help - The tone console")));

    step("close the numerology calculator and press Exit");
    clickOn(calc, numerology, "ExitBtn");
    QVERIFY(program_->waitUntilGone(QStringLiteral("Numerology Calculator")));
    clickOn(main_, console, "CloseBtn");
    step("the help window closes and the program ends");
    QVERIFY(endsAfterTheDonationWindow());
}

// "Data ", "Reports", the listing by source and "Preview": the preview shows the listing of the
// program's catalogue and finds a source in it, as the same listing here finds it.
void TestJourneys::sourceListingIsPreviewed()
{
    const TToneFrm console;
    // Positions only: the maintenance window is built on an empty catalogue of its own.
    QTemporaryDir elsewhere;
    catalogue::TonesDatabase empty(QStringLiteral("positions"));
    QString error;
    const QString emptyPath = elsewhere.filePath(QLatin1String(catalogue::kFileName));
    QVERIFY2(catalogue::createCatalogueFile(emptyPath, {}, false, &error), qPrintable(error));
    QVERIFY2(empty.open(emptyPath, catalogue::TonesDatabase::Missing::Refuse),
             qPrintable(empty.errorString()));
    const TAddFrm maintenance(empty);
    TReportSetupFrm chooser;
    chooser.grab();  // lays the chooser out as its first showing does, off the screen
    // The same listing of the same catalogue, for what the preview must show.
    catalogue::TonesDatabase catalogue(QStringLiteral("journey"));
    QVERIFY2(catalogue.open(program_->dataFolder() + u'/' + QLatin1String(catalogue::kFileName),
                            catalogue::TonesDatabase::Missing::Refuse),
             qPrintable(catalogue.errorString()));
    const auto listing =
        catalogue::prepareListing(catalogue, catalogue::ReportOrder::Source, &error);
    QVERIFY2(listing, qPrintable(error));
    const QString title = QStringLiteral("Preview - Tones Listed by Source");
    ReportPreview expected(*listing, catalogue::listingTitle(catalogue::ReportOrder::Source));
    expected.grab();

    step("press Data");
    clickOn(main_, console, "EditBtn");
    const QString maintain = QStringLiteral("Maintain Tone Database");
    const qulonglong window = program_->waitForWindow(maintain);
    QVERIFY(window);
    step("press Reports: the chooser opens 268 pixels tall");
    clickOn(window, maintenance, "ReportBtn");
    const qulonglong report = program_->waitForWindow(QStringLiteral("Report"));
    QVERIFY(report);
    QTRY_COMPARE(program_->geometry(report).size(), QSize(120, TReportSetupFrm::kShownHeight));
    step("mark Source and click Preview");
    clickOn(report, chooser, "s3chk");
    clickOn(report, chooser, "PrVw");
    QVERIFY(program_->waitUntilGone(QStringLiteral("Report")));
    const qulonglong preview = program_->waitForWindow(title);
    QVERIFY(preview);
    QTRY_VERIFY(screenShows(program_->geometry(preview), expected, "PageLbl"));

    step("find a source: the preview turns to its first place");
    typeInto(preview, expected, "FindBx", QStringLiteral("Cousto"));
    desktop::key(QStringLiteral("Return"));
    findControl<QLineEdit>(expected, "FindBx")->setText(QStringLiteral("Cousto"));
    expected.FindBtnClick();
    QVERIFY(findControl<QLabel>(expected, "FoundLbl")->text().startsWith(QStringLiteral("1 of ")));
    QTRY_VERIFY(screenShows(program_->geometry(preview), expected, "FoundLbl"));
    QTRY_VERIFY(screenShows(program_->geometry(preview), expected, "PageLbl"));

    step("Escape closes the preview, then the maintenance window");
    QVERIFY(closeWithEscape(preview, title));
    QVERIFY(program_->windowTitles().contains(maintain));
    QVERIFY(closeWithEscape(window, maintain));
}

// "Internet" in the numerology calculator opens the links window over it; a click on a link
// hands its page to the browser and the link turns red, maroon once the pointer has left it;
// Escape closes the links window and leaves the calculator open.
void TestJourneys::linksOpenTheBrowserAndEscapeClosesThem()
{
    const TToneFrm console;
    const TCalcFrm numerology;
    const TInternetFrm links;
    const QString title = QStringLiteral("Numerology Calculator");  // both windows' title
    step("press Numerology, then Internet");
    clickOn(main_, console, "NumCalcBtn");
    const qulonglong calc = program_->waitForWindow(title);
    QVERIFY(calc);
    clickOn(calc, numerology, "InternetBtn");
    const auto opened = [&] {
        QList<qulonglong> shown = program_->windows(title);
        shown.removeAll(calc);
        return shown.isEmpty() ? 0 : shown.constFirst();
    };
    QTRY_VERIFY(opened());
    const qulonglong window = opened();
    QCOMPARE(program_->geometry(window).size(), QSize(346, 382));

    step("click Check for Program Update");
    const auto* update = findControl<QWidget>(links, "OvcURL6");
    const QRect link(program_->geometry(window).topLeft() + update->mapTo(&links, QPoint()),
                     update->size());
    clickOn(window, links, "OvcURL6");
    step("the browser is handed the update page");
    QTRY_COMPARE(browserAddresses(), QStringList{shell::webAddress(shell::WebPage::Update)});
    step("the link is red under the pointer and maroon once the pointer has left it");
    QTRY_VERIFY(screenHas(link, QColor(255, 0, 0)));
    hover(window);
    QTRY_VERIFY(screenHas(link, QColor(128, 0, 0)) && !screenHas(link, QColor(255, 0, 0)));
    QVERIFY(program_->windows(title).contains(window));

    step("Escape closes the links window; the calculator stays");
    desktop::key(QStringLiteral("Escape"));
    QTRY_COMPARE(program_->windows(title), QList<qulonglong>{calc});
    QCOMPARE(browserAddresses().size(), 1);
}

// "Export" in the numerology calculator, a new name typed into the file dialog without its
// extension: the rich-text file holds what the same window here exports.
void TestJourneys::numerologyReportIsExported()
{
    const qulonglong calc = numerologyOn(QStringLiteral("Anna Lee"));
    QVERIFY(calc);
    TCalcFrm numerology;
    const QString file = program_->dataFolder() + QStringLiteral("/ToneData/anna");
    QVERIFY(!QFile::exists(file + QStringLiteral(".rtf")));

    step("press Export and type a new name into the file dialog");
    clickOn(calc, numerology, "ExportBtn");
    QVERIFY(answerFileDialog(QStringLiteral("Save As"), file));
    QVERIFY(program_->windowTitles().contains(QStringLiteral("Numerology Calculator")));

    step("read the file back");
    QTRY_VERIFY(QFile::exists(file + QStringLiteral(".rtf")));
    const auto paragraphs = [](const QString& path) {
        QStringList texts;
        QFile exported(path);
        if (!exported.open(QIODevice::ReadOnly))
            return QStringList{QStringLiteral("unreadable")};
        for (const documents::Paragraph& p :
             documents::rtfParagraphs(exported.readAll()).value_or(QList<documents::Paragraph>{}))
            texts << p.text;
        return texts;
    };
    const QStringList shown = paragraphs(file + QStringLiteral(".rtf"));
    QVERIFY2(shown.join(u'\n').contains(QStringLiteral("ANNA LEE")), qPrintable(shown.join(u'\n')));
    QTemporaryDir here;
    const QString expected = here.filePath(QStringLiteral("anna.rtf"));
    numerology.HandOver(0, QStringLiteral("Anna Lee"));
    services_.fileAnswers = {expected};
    findControl<QPushButton>(numerology, "ExportBtn")->click();
    QCOMPARE(shown, paragraphs(expected));
}

// "Print" in the numerology calculator with a printer installed: the print dialog shows, Return
// prints one copy on the printer it offers, and the page printed holds the analysis.
void TestJourneys::numerologyReportIsPrinted()
{
    if (PrintQueue::name().isEmpty())
        QSKIP(PrintQueue::missingReason());
    const qulonglong calc = numerologyOn(QStringLiteral("Anna Lee"));
    QVERIFY(calc);
    TCalcFrm numerology;
    PrintQueue queue;

    step("press Print: the print dialog shows");
    clickOn(calc, numerology, "PrintBtn");
    const qulonglong dialog = program_->waitForWindow(QStringLiteral("Print"));
    QVERIFY(dialog);
    step("Return prints");
    hover(dialog);
    desktop::key(QStringLiteral("Return"));
    QVERIFY(program_->waitUntilGone(QStringLiteral("Print")));

    step("read the page the printer printed");
    QString error;
    const std::optional<QString> printed = queue.waitForPrinted(30000, &error);
    QVERIFY2(printed, qPrintable(error));
    const std::optional<QString> text = documents::pdfText(*printed, &error);
    QVERIFY2(text, qPrintable(error));
    QCOMPARE(text->count(u'\f'), 1);
    for (const QString& expected :
         {QStringLiteral("ANNA LEE"), QStringLiteral("25 / 7"), QStringLiteral("Notes:"),
          QStringLiteral("Printed:"), QStringLiteral("https://sonarith.org")})
        QVERIFY2(text->contains(expected), qPrintable(expected + u'\n' + *text));
    QVERIFY(program_->windowTitles().contains(QStringLiteral("Numerology Calculator")));
}

void TestJourneys::exitEndsTheProgram()
{
    const TToneFrm console;
    step("press Exit");
    clickOn(main_, console, "CloseBtn");
    step("the program ends, after the donation window when the draw shows it");
    QVERIFY(endsAfterTheDonationWindow());
}

int main(int argc, char* argv[])
{
    VirtualScreen screen;
    QString error;
    if (!screen.start(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    int status = 0;
    {
        QApplication app(argc, argv);
        TestJourneys journeys;
        status = QTest::qExec(&journeys, argc, argv);
    }
    screen.stop();
    return status;
}

#include "tst_journeys.moc"
