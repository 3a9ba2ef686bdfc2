#include "report/reportfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace report;

namespace {

// Two pages with every kind of object: texts in each alignment, bold and not, a text of several
// lines with characters beyond ASCII, lines of other widths, and margins.
SavedReport sample()
{
    SavedReport saved;
    saved.title = QStringLiteral("Tones Listed by Source");
    saved.report.setup.margins = QMarginsF(91, 91, 47, 91);
    saved.report.pages = {
        Page{{
                 {QRectF(92, 96, 636, 30.5),
                  QStringLiteral("MARY"),
                  {QStringLiteral("Arial"), 18, false},
                  Align::Left},
                 {QRectF(94, 164, 94, 20),
                  QStringLiteral("Vowels:"),
                  {QStringLiteral("Arial"), 11, true},
                  Align::Right},
                 {QRectF(592, 284, 112, 52),
                  QStringLiteral("Chaldean\nSystem \"ü\" ½"),
                  {QStringLiteral("Courier New"), 14},
                  Align::Centre},
             },
             {{QLineF(92, 126, 728, 126), 1}, {QLineF(148, 408, 728, 408.25), 0.5}}},
        Page{{}, {}},
    };
    return saved;
}

void compareReports(const SavedReport& read, const SavedReport& expected)
{
    QCOMPARE(read.title, expected.title);
    QCOMPARE(read.report.setup.paper.id(), expected.report.setup.paper.id());
    QCOMPARE(read.report.setup.margins, expected.report.setup.margins);
    QCOMPARE(read.report.pages.size(), expected.report.pages.size());
    for (qsizetype k = 0; k < read.report.pages.size(); ++k) {
        QCOMPARE(read.report.pages[k].texts, expected.report.pages[k].texts);
        QCOMPARE(read.report.pages[k].lines, expected.report.pages[k].lines);
    }
}

}  // namespace

class TestReportFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void savedReportOpensAgain();
    void otherPaperSizesKept();
    void badContentIsRefused_data();
    void badContentIsRefused();
    void unreadableFileIsRefused();
};

void TestReportFile::savedReportOpensAgain()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("report.srp"));
    QString error;
    QVERIFY2(saveReportFile(sample(), path, &error), qPrintable(error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readLine(), QByteArray("Sonarith saved report 1\n"));

    const std::optional<SavedReport> read = openReportFile(path, &error);
    QVERIFY2(read, qPrintable(error));
    compareReports(*read, sample());
}

void TestReportFile::otherPaperSizesKept()
{
    SavedReport saved = sample();
    saved.report.setup.paper = QPageSize(QPageSize::A4);
    std::optional<SavedReport> read = parseReportFile(reportFileContent(saved));
    QVERIFY(read);
    QCOMPARE(read->report.setup.paper.id(), QPageSize::A4);
    saved.report.setup.paper = QPageSize(QSizeF(100, 200), QPageSize::Millimeter);
    read = parseReportFile(reportFileContent(saved));
    QVERIFY(read);
    QVERIFY(read->report.setup.paper.size(QPageSize::Millimeter).toSize() == QSize(100, 200));
}

void TestReportFile::badContentIsRefused_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("error");

    const QByteArray whole = reportFileContent(sample());
    const QByteArray heading = "Sonarith saved report 1\n";
    const auto edited = [&](const char* from, const char* to) {
        QByteArray changed = whole;
        changed.replace(from, to);
        if (changed == whole)
            qFatal("the sample has no %s", from);
        return changed;
    };
    QTest::newRow("empty") << QByteArray() << "not a saved report";
    QTest::newRow("garbage") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
                             << "not a saved report";
    QTest::newRow("rich text") << QByteArray("{\\rtf1\\ansi Vowels:\\par}") << "not a saved report";
    QTest::newRow("heading without a version")
        << QByteArray("Sonarith saved report\n{}") << "not a saved report";
    QTest::newRow("later version") << QByteArray("Sonarith saved report 2\n{\"future\": 1}")
                                   << "saved by a later version of Sonarith";
    QTest::newRow("heading alone")
        << QByteArray("Sonarith saved report 1") << "damaged: it ends after its first line";
    QTest::newRow("cut in the middle") << whole.left(whole.size() / 2) << "damaged: ";
    QTest::newRow("cut before the last brace") << whole.left(whole.size() - 2) << "damaged: ";
    QTest::newRow("not an object") << heading + "[1, 2]"
                                   << "damaged: it holds no report";
    QTest::newRow("no pages") << edited("\"pages\":[{", "\"pages\":[],\"x\":[{")
                              << "damaged: it has no pages";
    QTest::newRow("page not an object") << edited("\"texts\":[]}]", "\"texts\":[]},7]")
                                        << "damaged: page 3: \"texts\" or \"lines\" is missing";
    QTest::newRow("no title") << edited("\"title\":", "\"name\":")
                              << "damaged: \"title\" is missing";
    QTest::newRow("box of three numbers") << edited("[92,96,636,30.5]", "[92,96,636]")
                                          << "damaged: page 1, text 1: \"box\" is not 4 numbers";
    QTest::newRow("text not a string") << edited("\"text\":\"MARY\"", "\"text\":7")
                                       << "damaged: page 1, text 1: \"text\" is missing";
    QTest::newRow("huge font") << edited("\"size\":18", "\"size\":1e9")
                               << "damaged: page 1, text 1: \"size\" is out of range";
    QTest::newRow("unknown alignment") << edited("\"align\":\"centre\"", "\"align\":\"middle\"")
                                       << "damaged: page 1, text 3: \"middle\" is no alignment";
    QTest::newRow("line far off the page") << edited("[148,408,728,408.25]", "[148,408,728,1e300]")
                                           << "damaged: page 1, line 2: \"line\" is not 4 numbers";
    QTest::newRow("paper of no size")
        << edited("\"width\":612", "\"width\":0") << "damaged: \"width\" is out of range";
}

void TestReportFile::badContentIsRefused()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, error);
    QString why;
    QVERIFY(!parseReportFile(content, &why));
    QVERIFY2(why.startsWith(error), qPrintable(why));
}

void TestReportFile::unreadableFileIsRefused()
{
    QTemporaryDir folder;
    QString error;
    QVERIFY(!openReportFile(folder.filePath(QStringLiteral("missing.srp")), &error));
    QCOMPARE(error, QStringLiteral("No such file or directory"));
    QVERIFY(!openReportFile(folder.path(), &error));
    QCOMPARE(error, QStringLiteral("Is a directory"));
}

QTEST_GUILESS_MAIN(TestReportFile)
#include "tst_reportfile.moc"
