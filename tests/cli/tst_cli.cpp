#include "catalogue/tonesdatabase.h"
#include "cli/flatsettings.h"
#include "console/render.h"
#include "console/tonesettings.h"
#include "numerology/letters.h"
#include "numerology/numerologyreport.h"
#include "report/rtf.h"
#include "support/documents.h"
#include "support/nullsinkrecorder.h"
#include "tonegen/tonegen.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

struct Outcome
{
    int status;
    QString out;
    QString err;
};

// The exit status; standard output exactly, or a usage text for "*"; and on failure one line
// on standard error that says what was wrong.
void checkOutcome(const Outcome& got, int status, const QString& output, const QString& usage,
                  const QString& errorPrefix)
{
    QCOMPARE(got.status, status);
    if (output == QStringLiteral("*"))
        QVERIFY(got.out.startsWith(usage));
    else
        QCOMPARE(got.out, output);
    if (status == 0) {
        QCOMPARE(got.err, QString());
    } else {
        QCOMPARE(got.err.count(u'\n'), 1);
        QVERIFY(got.err.startsWith(errorPrefix));
    }
}

}  // namespace

// Runs the command-line program as a user would and checks what it prints and returns.
class TestCli : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void run_data();
    void run();
    void toneIsTheGeneratorsImage();
    void renderIsThePass();
    void playWithoutDevice();
    void playPrintsEachDigit();
    void playPrintsEachDigitAsItSounds();
    void analyzePreparesTheText();
    void reportIsTheWindows();
    void catalogue_data();
    void catalogue();
    void reportListing();
};

void TestCli::run_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output");  // exact standard output; "*" for any

    using L = QStringList;
    QTest::newRow("digits") << L{"digits", "R.I.P."} << 0 << "909070\n";
    QTest::newRow("digits chaldean")
        << L{"digits", "R.I.P.", "--method", "chaldean"} << 0 << "201080\n";
    QTest::newRow("digits blank kept") << L{"digits", "A B", "--space-blank"} << 0 << "1 2\n";
    QTest::newRow("digits blank as zero") << L{"digits", "A B"} << 0 << "102\n";
    QTest::newRow("options before the text")
        << L{"digits", "--method=chaldean", "MARY"} << 0 << "4121\n";
    QTest::newRow("leading and trailing blanks kept")
        << L{"digits", "--space-blank", " A "} << 0 << " 1 \n";
    QTest::newRow("non-ASCII is one character") << L{"digits", "\u00c9A\U0001F600"} << 0 << "010\n";
    QTest::newRow("double dash ends options") << L{"digits", "--", "-A"} << 0 << "01\n";
    QTest::newRow("empty text") << L{"digits", ""} << 0 << "\n";
    QTest::newRow("unknown method") << L{"digits", "--method", "latin", "A"} << 2 << "";
    QTest::newRow("unknown option") << L{"digits", "--loud", "A"} << 2 << "";
    QTest::newRow("missing text") << L{"digits"} << 2 << "";
    QTest::newRow("two texts") << L{"digits", "A", "B"} << 2 << "";
    QTest::newRow("no command") << L{} << 2 << "";
    QTest::newRow("unknown command") << L{"dance"} << 2 << "";
    QTest::newRow("version") << L{"--version"} << 0 << "sonarith-cli 1.50\n";
    QTest::newRow("help") << L{"--help"} << 0 << "*";
    QTest::newRow("command help") << L{"digits", "--help"} << 0 << "*";

    QTest::newRow("note") << L{"note", "A-"} << 0 << "415 3\n";
    QTest::newRow("note from an octave") << L{"note", "--octave", "0", "A"} << 0 << "28 0\n";
    QTest::newRow("note octave reached") << L{"note", "<<A"} << 0 << "110 2\n";
    QTest::newRow("note out of range") << L{"note", "N122"} << 1 << "0 4\n";
    QTest::newRow("note unusable") << L{"note", "H", "--octave=6"} << 1 << "0 6\n";
    QTest::newRow("note bad octave") << L{"note", "A", "--octave", "10"} << 2 << "";
    QTest::newRow("note help") << L{"note", "--help"} << 0 << "*";

    QTest::newRow("tone") << L{"tone", "--freq", "440", "--ms", "1000", "-o", "{dir}/a.wav"} << 0
                          << "";
    QTest::newRow("tone clamps as the generator")
        << L{"tone", "--freq", "99999999999", "-o", "{dir}/b.wav"} << 0 << "";
    QTest::newRow("tone without output") << L{"tone", "--freq", "440"} << 2 << "";
    QTest::newRow("tone bad number") << L{"tone", "--ms", "1s", "-o", "{dir}/c.wav"} << 2 << "";
    QTest::newRow("tone bad bits") << L{"tone", "--bits", "12", "-o", "{dir}/c.wav"} << 2 << "";
    QTest::newRow("tone bad rate") << L{"tone", "--rate", "48000", "-o", "{dir}/c.wav"} << 2 << "";
    QTest::newRow("tone bad wave") << L{"tone", "--wave", "hum", "-o", "{dir}/c.wav"} << 2 << "";
    QTest::newRow("tone bad envelope")
        << L{"tone", "--envelope", "1,2,3", "-o", "{dir}/c.wav"} << 2 << "";
    QTest::newRow("tone bad layer")
        << L{"tone", "--am", "8:10:2:sine", "-o", "{dir}/c.wav"} << 2 << "";
    QTest::newRow("tone bad amplitude")
        << L{"tone", "--am", "0:40000:2:sine", "-o", "{dir}/c.wav"} << 2 << "";
    QTest::newRow("tone unwritable") << L{"tone", "-o", "{dir}/missing/c.wav"} << 3 << "";

    QTest::newRow("render") << L{"render", "MARY", "-o", "{dir}/m.wav"} << 0 << "";
    QTest::newRow("render without output") << L{"render", "MARY"} << 2 << "";
    QTest::newRow("render text and digits")
        << L{"render", "MARY", "--digits", "41", "-o", "{dir}/m.wav"} << 2 << "";
    QTest::newRow("render neither") << L{"render", "-o", "{dir}/m.wav"} << 2 << "";
    QTest::newRow("render missing settings")
        << L{"render", "A", "--settings", "{dir}/none.tns", "-o", "{dir}/m.wav"} << 2 << "";
    QTest::newRow("render bad method")
        << L{"render", "A", "--method", "x", "-o", "{dir}/m.wav"} << 2 << "";
    QTest::newRow("render unwritable") << L{"render", "A", "-o", "{dir}/missing/m.wav"} << 3 << "";
    QTest::newRow("play help") << L{"play", "--help"} << 0 << "*";

    QTest::newRow("chain") << L{"chain", "38"} << 0 << "38 / 11 / 2\n";
    QTest::newRow("chain not a number") << L{"chain", "-3"} << 2 << "";
    QTest::newRow("reduce") << L{"reduce", "1234"} << 0 << "127\n";
    QTest::newRow("reduce negative") << L{"reduce", "-1234.50"} << 0 << "-127.50\n";
    QTest::newRow("reduce single digit") << L{"reduce", "7"} << 0 << "7\n";
    QTest::newRow("reduce lone minus") << L{"reduce", "-"} << 0 << "-\n";
    QTest::newRow("sum minus and fraction") << L{"sum", "-.50"} << 0 << "-.50\n";
    QTest::newRow("reduce too long") << L{"reduce", "123456789012345678901"} << 2 << "";
    QTest::newRow("sum") << L{"sum", "15.00"} << 0 << "6.00\n";
    QTest::newRow("sum negative after --") << L{"sum", "--", "-15"} << 0 << "-6\n";
    QTest::newRow("sum not a number") << L{"sum", "1e5"} << 2 << "";
    QTest::newRow("analyze")
        << L{"analyze", "MARY", "--date", "1990-12-25", "--json"} << 0
        << "{\"consonantCount\":3,\"consonantCounts\":[0,0,0,1,0,0,1,0,1],\"consonantSum\":20,"
           "\"consonantTotal\":\"20 / 2\",\"consonants\":\"4 97\",\"data\":\"MARY\","
           "\"date\":{\"date\":\"1990-12-25\",\"dateSum\":29,\"dateTotal\":\"29 / 11 / 2\","
           "\"dayTotal\":\"25 / 7\",\"monthDayTotal\":\"10 / 1\",\"nameAndDate\":\"50 / 5\"},"
           "\"digitSum\":0,\"letterCount\":4,\"method\":\"Pythagorean\",\"nameTotal\":21,"
           "\"total\":\"21 / 3\",\"totalCounts\":[1,0,0,1,0,0,1,0,1],\"vowelCount\":1,"
           "\"vowelCounts\":[1,0,0,0,0,0,0,0,0],\"vowelSum\":1,\"vowelTotal\":\"1\","
           "\"vowels\":\" 1  \"}\n";
    QTest::newRow("analyze bad date") << L{"analyze", "MARY", "--date", "25.12.1990"} << 2 << "";
    QTest::newRow("analyze raw with y-vowel")
        << L{"analyze", "MARY", "--raw", "--y-vowel", "all"} << 2 << "";
    QTest::newRow("analyze y number beyond") << L{"analyze", "MARY", "--y-vowel", "2"} << 2 << "";

    QTest::newRow("report pdf") << L{"report", "numerology", "MARY", "--pdf", "{dir}/m.pdf"} << 0
                                << "";
    QTest::newRow("report rtf") << L{"report", "numerology", "--rtf", "{dir}/m.rtf", ""} << 0 << "";
    QTest::newRow("report neither file") << L{"report", "numerology", "MARY"} << 2 << "";
    QTest::newRow("report both files")
        << L{"report", "numerology", "MARY", "--pdf", "{dir}/m.pdf", "--rtf", "{dir}/m.rtf"} << 2
        << "";
    QTest::newRow("report bad date")
        << L{"report", "numerology", "MARY", "--date", "1990-13-01", "--rtf", "{dir}/m.rtf"} << 2
        << "";
    QTest::newRow("report unwritable")
        << L{"report", "numerology", "MARY", "--pdf", "{dir}/missing/m.pdf"} << 3 << "";
    QTest::newRow("report unknown kind") << L{"report", "tones"} << 2 << "";
    QTest::newRow("report help") << L{"report", "numerology", "--help"} << 0 << "*";
}

void TestCli::run()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, output);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    arguments.replaceInStrings(QStringLiteral("{dir}"), dir.path());
    QProcess cli;
    cli.start(QStringLiteral(SONARITH_CLI), arguments);
    QVERIFY(cli.waitForFinished(10000));
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    checkOutcome({cli.exitCode(), QString::fromUtf8(cli.readAllStandardOutput()),
                  QString::fromUtf8(cli.readAllStandardError())},
                 status, output, QStringLiteral("Usage: "), QStringLiteral("sonarith-cli: "));
}

// The written file is the generator's own image, byte for byte.
void TestCli::toneIsTheGeneratorsImage()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("t.wav"));
    QProcess cli;
    cli.start(QStringLiteral(SONARITH_CLI),
              {QStringLiteral("tone"), QStringLiteral("--freq=1000"), QStringLiteral("--ms=250"),
               QStringLiteral("--wave=triangle"), QStringLiteral("--bits=8"),
               QStringLiteral("--rate=44100"), QStringLiteral("--stereo"),
               QStringLiteral("--envelope=10,5,20,50,30"), QStringLiteral("--am=1:30:1.5:square"),
               QStringLiteral("--am=7:20:2:noise"), QStringLiteral("-o"), path});
    QVERIFY(cli.waitForFinished(10000));
    QCOMPARE(cli.exitCode(), 0);

    TToneGen generator;
    generator.SetFrequency(1000);
    generator.SetDuration(250);
    generator.SetWaveform(tgTriangle);
    generator.SetResolution(tg8Bit);
    generator.SetQuality(tgLoQ);
    generator.SetStereo(true);
    generator.SetAMParameter(tgAMLevel2, 30, 1.5f, tgSquare);
    generator.SetAMParameter(tgAMLevel8, 20, 2.0f, tgNoise);
    generator.SetAttack(10);
    generator.SetHold(5);
    generator.SetDecay(20);
    generator.SetSustain(50);
    generator.SetRelease(30);
    QVERIFY(generator.PrepareADSR());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), generator.GetDataBuffer().toByteArray());
}

// The written file is one pass with the file's settings and the options given.
void TestCli::renderIsThePass()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    ConsoleSettings settings = ConsoleSettings::builtInDefaults();
    settings.durationSeconds = 0.05;
    settings.frequencies[5] = 880;
    settings.waveItem = 3;
    QFile file(dir.filePath(QStringLiteral("s.tns")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(tonesettings::fileBytes(tonesettings::linesOf(settings)));
    file.close();

    const QString out = dir.filePath(QStringLiteral("r.wav"));
    QProcess cli;
    cli.start(QStringLiteral(SONARITH_CLI),
              {QStringLiteral("render"), QStringLiteral("--settings"), file.fileName(),
               QStringLiteral("A N"), QStringLiteral("--method=chaldean"),
               QStringLiteral("--space-blank"), QStringLiteral("-o"), out});
    QVERIFY(cli.waitForFinished(10000));
    QCOMPARE(cli.exitCode(), 0);
    QFile rendered(out);
    QVERIFY(rendered.open(QIODevice::ReadOnly));
    QString error;
    QCOMPARE(rendered.readAll(),
             renderPass(QStringLiteral("1 5"), settings, &error).value_or(QByteArray()));

    // A pass too long for a WAVE file is refused, not cut.
    settings.durationSeconds = 1e12;
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(tonesettings::fileBytes(tonesettings::linesOf(settings)));
    file.close();
    QProcess tooLong;
    tooLong.start(QStringLiteral(SONARITH_CLI),
                  {QStringLiteral("render"), QStringLiteral("--settings"), file.fileName(),
                   QStringLiteral("--digits"), QStringLiteral("P"), QStringLiteral("-o"), out});
    QVERIFY(tooLong.waitForFinished(10000));
    QCOMPARE(tooLong.exitStatus(), QProcess::NormalExit);
    QCOMPARE(tooLong.exitCode(), 2);
}

void TestCli::playWithoutDevice()
{
    QProcess cli;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:/nonexistent/native"));
    cli.setProcessEnvironment(environment);
    cli.start(QStringLiteral(SONARITH_CLI), {QStringLiteral("play"), QStringLiteral("A")});
    QVERIFY(cli.waitForFinished(10000));
    QCOMPARE(cli.exitCode(), 3);
    QVERIFY(cli.readAllStandardError().contains("no sound device"));
}

void TestCli::playPrintsEachDigit()
{
    if (qEnvironmentVariableIsEmpty("SONARITH_TEST_SINK"))
        QSKIP("no test sink to play into");
    QProcess cli;
    cli.start(QStringLiteral(SONARITH_CLI),
              {QStringLiteral("play"), QStringLiteral("--digits"), QStringLiteral("4P 1")});
    QVERIFY(cli.waitForFinished(10000));
    QCOMPARE(cli.exitCode(), 0);
    QCOMPARE(cli.readAllStandardOutput(), QByteArray("4\n1\n"));
}

// Each digit is printed as its tone is heard, and the program ends as its sound does: the
// lines are timed as they arrive and set against the recording of the sink.
void TestCli::playPrintsEachDigitAsItSounds()
{
    if (NullSinkRecorder::sink().isEmpty())
        QSKIP("no test sink to play into");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString flat = dir.filePath(QStringLiteral("flat.tns"));
    QVERIFY(writeFlatSettings(flat));

    NullSinkRecorder recorder;
    QString error;
    QVERIFY2(recorder.start(&error), qPrintable(error));
    QProcess cli;
    cli.start(QStringLiteral(SONARITH_CLI),
              {QStringLiteral("play"), QStringLiteral("--settings"), flat,
               QStringLiteral("--digits"), QStringLiteral("4197")});
    QList<std::pair<double, QByteArray>> printed;
    double exitedAt = 0;
    QElapsedTimer waited;
    waited.start();
    while (exitedAt == 0 && waited.elapsed() < 10000) {
        const bool more = cli.waitForReadyRead(5);
        const double at = NullSinkRecorder::clock();
        while (cli.canReadLine())
            printed.append({at, cli.readLine().trimmed()});
        if (!more && cli.state() == QProcess::NotRunning)
            exitedAt = at;
    }
    QThread::msleep(200);
    const Recording heard = recorder.stop();
    QVERIFY2(exitedAt > 0, "play did not end");
    QCOMPARE(cli.exitCode(), 0);

    const qsizetype first = heard.firstSound();
    const qsizetype last = heard.lastSound();
    QVERIFY2(first >= 0, "nothing was heard");
    const QList<qsizetype> starts = heard.toneEdges(first, last);
    QCOMPARE(starts.size(), 5);
    QCOMPARE(printed.size(), 4);
    const char digits[] = "4197";
    for (int k = 0; k < 4; ++k) {
        QCOMPARE(printed[k].second, QByteArray(1, digits[k]));
        const double shownMs = (printed[k].first - heard.heardAt(starts[k])) * 1000;
        QVERIFY2(std::abs(shownMs) <= 30,
                 qPrintable(QStringLiteral("%1 printed %2 ms from its tone").arg(k).arg(shownMs)));
        const qsizetype length = starts[k + 1] - starts[k];
        QVERIFY2(std::abs(length - 48000) <= 480,
                 qPrintable(QStringLiteral("tone %1 lasted %2 frames").arg(k).arg(length)));
    }
    const double endedMs = (exitedAt - heard.heardAt(last)) * 1000;
    QVERIFY2(endedMs <= 100,
             qPrintable(QStringLiteral("ended %1 ms after the sound").arg(endedMs)));
}

// The calculator's preparation of a handed-over text, and Ys marked as vowels.
// The command writes what the calculator window prints and exports for the same inputs.
void TestCli::reportIsTheWindows()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const auto report = [&](const QString& option, const QString& name) {
        QProcess cli;
        cli.start(QStringLiteral(SONARITH_CLI),
                  {QStringLiteral("report"), QStringLiteral("numerology"), QStringLiteral(" mary "),
                   QStringLiteral("--y-vowel=1"), QStringLiteral("--method=chaldean"),
                   QStringLiteral("--date=1990-12-25"), option, dir.filePath(name)});
        cli.waitForFinished(10000);
        QFile file(dir.filePath(name));
        return cli.exitCode() == 0 && file.open(QIODevice::ReadOnly) ? file.readAll()
                                                                     : QByteArray();
    };
    const numerology::ReportValues values = numerology::AnalysisReportValues(
        numerology::Chaldean, QStringLiteral("MARy"), QDate(1990, 12, 25));
    QCOMPARE(report(QStringLiteral("--rtf"), QStringLiteral("m.rtf")),
             report::rtfDocument(numerology::PrepareReport(numerology::frReport2(), values)));

    QVERIFY(!report(QStringLiteral("--pdf"), QStringLiteral("m.pdf")).isEmpty());
    QString error;
    const std::optional<QString> text =
        documents::pdfText(dir.filePath(QStringLiteral("m.pdf")), &error);
    QVERIFY2(text, qPrintable(error));
    for (const QString& expected :
         {QStringLiteral("MARY"), QStringLiteral("Chaldean"), QStringLiteral("12/25/1990:"),
          QStringLiteral("Printed:"), QStringLiteral("https://sonarith.org")})
        QVERIFY2(text->contains(expected), qPrintable(expected));
}

void TestCli::analyzePreparesTheText()
{
    const auto analyze = [](const QStringList& arguments) {
        QProcess cli;
        cli.start(QStringLiteral(SONARITH_CLI),
                  QStringList{QStringLiteral("analyze"), QStringLiteral("--json")} + arguments);
        cli.waitForFinished(10000);
        return QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
    };
    const QJsonObject prepared =
        analyze({QStringLiteral(" \tyvy mary\n"), QStringLiteral("--y-vowel=1,3")});
    QCOMPARE(prepared.value(QStringLiteral("data")).toString(), QStringLiteral("yVY MARy"));
    QCOMPARE(prepared.value(QStringLiteral("vowels")).toString(), QStringLiteral("7    1 7"));
    const QJsonObject raw = analyze(
        {QStringLiteral("mary"), QStringLiteral("--raw"), QStringLiteral("--method=chaldean")});
    QCOMPARE(raw.value(QStringLiteral("vowels")).toString(), QStringLiteral("   1"));
    QCOMPARE(raw.value(QStringLiteral("total")).toString(), QStringLiteral("1"));
    QCOMPARE(raw.value(QStringLiteral("method")).toString(), QStringLiteral("Chaldean"));
    QVERIFY(raw.value(QStringLiteral("date")).isNull());
}

void TestCli::catalogue_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("after");  // the catalogue listed afterwards

    using L = QStringList;
    const QString byCategory = "136\tplanets\tEarth\tCousto\n"
                               "\tSOLFEGGIO\t\t\n"
                               "528\tSolfeggio\tMI\tPuleo\n";
    const auto record = [](const QString& cps, const QString& category) {
        return L{"--db",   "{dir}/Tones.abs", "--cps", cps,        "--category",
                 category, "--subcategory",   "MI",    "--source", "Puleo"};
    };
    QTest::newRow("list by category") << L{"catalogue", "list"} << 0 << byCategory << byCategory;
    QTest::newRow("list by cps")
        << L{"catalogue", "list", "--order", "cps"} << 0
        << "\tSOLFEGGIO\t\t\n136\tplanets\tEarth\tCousto\n528\tSolfeggio\tMI\tPuleo\n"
        << byCategory;
    QTest::newRow("list by source")
        << L{"catalogue", "list", "--order=source", "--db", "{dir}/Tones.abs"} << 0
        << "\tSOLFEGGIO\t\t\n136\tplanets\tEarth\tCousto\n528\tSolfeggio\tMI\tPuleo\n"
        << byCategory;
    QTest::newRow("list unknown order")
        << L{"catalogue", "list", "--order", "hz"} << 2 << "" << byCategory;
    QTest::newRow("list missing file")
        << L{"catalogue", "list", "--db", "{dir}/none.abs"} << 2 << "" << byCategory;
    QTest::newRow("list a file that is not a catalogue")
        << L{"catalogue", "list", "--db", "{dir}/notes.txt"} << 2 << "" << byCategory;
    QTest::newRow("add") << L{"catalogue", "add"} + record("417", "solfeggio") << 0 << ""
                         << "136\tplanets\tEarth\tCousto\n"
                            "\tSOLFEGGIO\t\t\n"
                            "417\tsolfeggio\tMI\tPuleo\n"
                            "528\tSolfeggio\tMI\tPuleo\n";
    QTest::newRow("add a duplicate")
        << L{"catalogue", "add"} + record("528", "Solfeggio") << 2 << "" << byCategory;
    QTest::newRow("add a bad CPS")
        << L{"catalogue", "add"} + record("5x", "Solfeggio") << 2 << "" << byCategory;
    QTest::newRow("add a long category")
        << L{"catalogue", "add"} + record("1", QString(41, u'c')) << 2 << "" << byCategory;
    QTest::newRow("add without a field")
        << L{"catalogue", "add", "--db", "{dir}/Tones.abs", "--cps", "1"} << 2 << "" << byCategory;
    QTest::newRow("add to a read-only file")
        << L{"catalogue", "add"} + record("1", "x") + L{"--db", "{dir}/locked.abs"} << 3 << ""
        << byCategory;
    QTest::newRow("delete") << L{"catalogue", "delete"} + record("528", "Solfeggio") << 0 << ""
                            << "136\tplanets\tEarth\tCousto\n\tSOLFEGGIO\t\t\n";
    QTest::newRow("delete empty fields")
        << L{"catalogue", "delete",        "--db", "{dir}/Tones.abs", "--cps", "", "--category",
             "SOLFEGGIO", "--subcategory", "",     "--source",        ""}
        << 0 << ""
        << "136\tplanets\tEarth\tCousto\n528\tSolfeggio\tMI\tPuleo\n";
    QTest::newRow("delete matches letter case")
        << L{"catalogue", "delete"} + record("528", "solfeggio") << 1 << "" << byCategory;
    QTest::newRow("unknown action") << L{"catalogue", "sort"} << 2 << "" << byCategory;
    QTest::newRow("catalogue help") << L{"catalogue", "--help"} << 0 << "*" << byCategory;
    QTest::newRow("add help") << L{"catalogue", "add", "--help"} << 0 << "*" << byCategory;

    const auto listing = [](const QString& kind, const QString& db) {
        return L{"report", "catalogue", "--kind", kind, "--db", db, "--pdf", "{dir}/l.pdf"};
    };
    QTest::newRow("report listing")
        << listing("source", "{dir}/Tones.abs") << 0 << "" << byCategory;
    QTest::newRow("report listing from a read-only file")
        << listing("Frequency", "{dir}/locked.abs") << 0 << "" << byCategory;
    QTest::newRow("report listing unknown kind")
        << listing("price", "{dir}/Tones.abs") << 2 << "" << byCategory;
    QTest::newRow("report listing without kind")
        << L{"report", "catalogue", "--pdf", "{dir}/l.pdf"} << 2 << "" << byCategory;
    QTest::newRow("report listing without file")
        << L{"report", "catalogue", "--kind", "category"} << 2 << "" << byCategory;
    QTest::newRow("report listing missing catalogue")
        << listing("category", "{dir}/none.abs") << 2 << "" << byCategory;
    QTest::newRow("report listing of a file that is not a catalogue")
        << listing("category", "{dir}/notes.txt") << 2 << "" << byCategory;
    QTest::newRow("report listing unwritable")
        << L{"report", "catalogue", "--kind", "category", "--pdf", "{dir}/missing/l.pdf"} << 3 << ""
        << byCategory;
    QTest::newRow("report listing help")
        << L{"report", "catalogue", "--help"} << 0 << "*" << byCategory;
}

// The catalogue commands on a catalogue in the working folder.
void TestCli::catalogue()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, output);
    QFETCH(QString, after);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QList<catalogue::ToneRecord> records{{"Solfeggio", "MI", 528, "Puleo"},
                                               {"planets", "Earth", 136, "Cousto"},
                                               {"SOLFEGGIO", "", std::nullopt, ""}};
    QString error;
    QVERIFY(catalogue::createCatalogueFile(dir.filePath("Tones.abs"), records, false, &error));
    QVERIFY(catalogue::createCatalogueFile(dir.filePath("locked.abs"), records, false, &error));
    QVERIFY(QFile::setPermissions(dir.filePath("locked.abs"), QFileDevice::ReadOwner));
    QFile notes(dir.filePath("notes.txt"));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write("not a catalogue\n");
    notes.close();
    const QByteArray locked = [&] {
        QFile file(dir.filePath("locked.abs"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();

    const auto run = [&](const QStringList& list, QString* err = nullptr) {
        QProcess cli;
        cli.setWorkingDirectory(dir.path());
        cli.start(QStringLiteral(SONARITH_CLI), list);
        cli.waitForFinished(10000);
        if (err)
            *err = QString::fromUtf8(cli.readAllStandardError());
        return std::pair{cli.exitCode(), QString::fromUtf8(cli.readAllStandardOutput())};
    };
    arguments.replaceInStrings(QStringLiteral("{dir}"), dir.path());
    QString err;
    const auto [code, out] = run(arguments, &err);
    const QString command = arguments.value(0);
    checkOutcome({code, out, err}, status, output, QStringLiteral("Usage: sonarith-cli ") + command,
                 QStringLiteral("sonarith-cli: ") + command);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(run({"catalogue", "list"}).second, after);
    QFile file(dir.filePath("locked.abs"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), locked);
}

// The listing written is the one the maintenance window prints from the catalogue in the
// working folder.
void TestCli::reportListing()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString error;
    QVERIFY(catalogue::createCatalogueFile(dir.filePath(QLatin1String(catalogue::kFileName)),
                                           {{"Solfeggio", "MI", 528, "Puleo"},
                                            {"Brain", "Gamma", 12500, "Cousto"},
                                            {"Planets", "Earth", 136, "Cousto"}},
                                           false, &error));
    QProcess cli;
    cli.setWorkingDirectory(dir.path());
    cli.start(QStringLiteral(SONARITH_CLI),
              {QStringLiteral("report"), QStringLiteral("catalogue"), QStringLiteral("--kind"),
               QStringLiteral("source"), QStringLiteral("--pdf"), QStringLiteral("cli.pdf")});
    QVERIFY(cli.waitForFinished(10000));
    QCOMPARE(cli.exitCode(), 0);

    const std::optional<QString> text = documents::pdfText(dir.filePath("cli.pdf"), &error);
    QVERIFY2(text, qPrintable(error));
    QStringList lines;
    for (const QString& line : text->split(u'\n')) {
        if (!line.simplified().isEmpty())
            lines << line.simplified();
    }
    QVERIFY(lines.size() > 1);
    QVERIFY2(lines.takeLast().endsWith(QStringLiteral(" https://sonarith.org 1 of 1")),
             qPrintable(*text));
    QCOMPARE(lines,
             (QStringList{"Tones Listed by Source", "CPS Category SubCategory", "Cousto",
                          "12,500 Brain Gamma", "136 Planets Earth", "Puleo", "528 Solfeggio MI"}));
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
