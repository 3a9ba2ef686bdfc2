#include "numerology/letters.h"
#include "numerology/numerologyreport.h"
#include "report/render.h"
#include "report/rtf.h"
#include "support/documents.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

using namespace numerology;

namespace {

const QDateTime kPrepared(QDate(2024, 3, 5), QTime(14, 7));

// "MARY" with the date calculator on 25 December 1990, as the window shows it.
ReportValues maryWithDate()
{
    return AnalysisReportValues(Pythagorean, QStringLiteral("MARY"), QDate(1990, 12, 25));
}

const report::TextObject* find(const report::Page& page, const QString& text, double top)
{
    for (const report::TextObject& t : page.texts) {
        if (t.text == text && t.box.top() == top)
            return &t;
    }
    return nullptr;
}

// The texts that start at height top, left to right.
QStringList textsAt(const report::PreparedReport& prepared, double top)
{
    QList<report::TextObject> texts;
    for (const report::TextObject& t : prepared.pages[0].texts) {
        if (t.box.top() == top)
            texts << t;
    }
    std::sort(texts.begin(), texts.end(),
              [](const auto& a, const auto& b) { return a.box.left() < b.box.left(); });
    QStringList line;
    for (const report::TextObject& t : texts)
        line << t.text;
    return line;
}

}  // namespace

class TestNumerologyReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void values_data();
    void values();
    void printLayout_data();
    void printLayout();
    void printRulesAndFooter();
    void dateLine_data();
    void dateLine();
    void emptyData();
    void exportReadsBack_data();
    void exportReadsBack();
    void exportReadsBackInUnrtf();
    void printedPdfReadsBack();
};

void TestNumerologyReport::values_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("known");
    QTest::addColumn<QString>("value");
    // "MARy": the lower-case y is marked as a vowel (7 in the Pythagorean table).
    QTest::newRow("method") << "Method" << true << "Pythagorean";
    QTest::newRow("data upper-cased") << "Data" << true << "MARY";
    QTest::newRow("vowels carry the y") << "Vowels" << true << " 1 7";
    QTest::newRow("consonants") << "Consonants" << true << "4 9 ";
    QTest::newRow("vowel total") << "VTot" << true << "8";
    QTest::newRow("consonant total") << "CTot" << true << "13 / 4";
    QTest::newRow("total") << "Total" << true << "21 / 3";
    QTest::newRow("V7") << "V7" << true << "1";
    QTest::newRow("C9") << "C9" << true << "1";
    QTest::newRow("T1") << "T1" << true << "1";
    QTest::newRow("T2") << "T2" << true << "0";
    QTest::newRow("vvt") << "vvt" << true << "2";
    QTest::newRow("cct") << "cct" << true << "2";
    QTest::newRow("ttt") << "ttt" << true << "4";
    QTest::newRow("no date") << "Dates" << true << "";
    QTest::newRow("footer") << "nameftr" << true << "https://sonarith.org";
    QTest::newRow("master") << "master" << true << "33";
    QTest::newRow("date results while the panel is hidden") << "DayTot" << false << "";
    QTest::newRow("names keep their case") << "data" << false << "";
    QTest::newRow("no digit 0") << "V0" << false << "";
    QTest::newRow("no digit 10") << "V10" << false << "";
}

void TestNumerologyReport::values()
{
    QFETCH(QString, name);
    QFETCH(bool, known);
    QFETCH(QString, value);
    const std::optional<QString> got =
        frReport1GetValue(AnalysisReportValues(Pythagorean, QStringLiteral("MARy")), name);
    QCOMPARE(got.has_value(), known);
    if (known)
        QCOMPARE(*got, value);
}

void TestNumerologyReport::printLayout_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRectF>("box");  // height not checked
    QTest::addColumn<QString>("family");
    QTest::addColumn<double>("size");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<int>("align");
    const QString arial = QStringLiteral("Arial");
    const QString courier = QStringLiteral("Courier New");
    constexpr int left = int(report::Align::Left);
    constexpr int right = int(report::Align::Right);
    constexpr int centre = int(report::Align::Centre);
    const auto row = [&](const char* name, const QString& text, double x, double y, double w,
                         const QString& family, double size, bool bold, int align) {
        QTest::newRow(name) << text << QRectF(x, y, w, 0) << family << size << bold << align;
    };
    row("title", "MARY", 92, 96, 636, arial, 18, false, left);
    row("totals heading", "Total", 612, 136, 116, arial, 12, true, left);
    row("vowels label", "Vowels:", 94, 164, 94, arial, 11, true, right);
    row("vowel string", " 1  ", 192, 164, 416, courier, 12, true, left);
    row("vowel total", "1", 612, 164, 116, arial, 11, false, left);
    row("data label", "Data:", 94, 192, 94, arial, 11, true, right);
    row("data", "MARY", 192, 192, 416, courier, 12, true, left);
    row("total", "21 / 3", 612, 192, 116, arial, 11, false, left);
    row("consonants label", "Consonants:", 94, 220, 94, arial, 11, true, right);
    row("consonant string", "4 97", 192, 220, 412, courier, 12, true, left);
    row("consonant total", "20 / 2", 612, 220, 116, arial, 11, false, left);
    row("header 1", "1", 192, 256, 22, arial, 11, true, right);
    row("header 9", "9", 416, 256, 22, arial, 11, true, right);
    row("header total", "Total", 444, 256, 42, arial, 11, true, right);
    row("row labels", "Vowels:\nConsonants:\nTotals:", 94, 284, 94, arial, 11, true, right);
    row("column 1", "1\n0\n1", 192, 284, 22, arial, 11, false, right);
    row("column 4", "0\n1\n1", 276, 284, 22, arial, 11, false, right);
    row("row totals", "1\n3\n4", 456, 284, 30, arial, 11, false, right);
    row("method", "Pythagorean\nSystem", 592, 284, 112, arial, 14, false, centre);
    row("date label", "12/25/1990:", 96, 356, 94, arial, 11, true, right);
    row("date total", "29 / 11 / 2", 192, 356, 108, arial, 11, false, left);
    row("name and date label", "Name and Date:", 336, 356, 126, arial, 11, true, right);
    row("name and date", "50 / 5", 464, 356, 108, arial, 11, false, left);
    row("day label", "Day:", 616, 356, 38, arial, 11, true, right);
    row("day total", "25 / 7", 656, 356, 68, arial, 11, false, left);
    row("notes", "Notes:", 92, 392, 56, arial, 11, true, left);
    row("site", "https://sonarith.org", 284, 896, 440, arial, 8, false, right);
}

void TestNumerologyReport::printLayout()
{
    QFETCH(QString, text);
    QFETCH(QRectF, box);
    QFETCH(QString, family);
    QFETCH(double, size);
    QFETCH(bool, bold);
    QFETCH(int, align);
    const report::PreparedReport prepared = PrepareReport(frReport1(), maryWithDate(), kPrepared);
    QCOMPARE(prepared.pages.size(), 1);
    QCOMPARE(prepared.setup.margins, QMarginsF(91, 91, 47, 91));
    QCOMPARE(prepared.setup.paper.id(), QPageSize::Letter);
    const report::TextObject* found = find(prepared.pages[0], text, box.top());
    QVERIFY2(found, qPrintable(text));
    QCOMPARE(found->box.left(), box.left());
    QCOMPARE(found->box.width(), box.width());
    QCOMPARE(found->font, (report::TextFont{family, size, bold}));
    QCOMPARE(int(found->align), align);
}

void TestNumerologyReport::printRulesAndFooter()
{
    const report::PreparedReport prepared = PrepareReport(frReport1(), maryWithDate(), kPrepared);
    QList<QLineF> expected{QLineF(92, 126, 728, 126), QLineF(148, 408, 728, 408)};
    for (int y = 448; y <= 848; y += 40)
        expected << QLineF(92, y, 728, y);
    QList<QLineF> lines;
    for (const report::LineObject& line : prepared.pages[0].lines)
        lines << line.line;
    QCOMPARE(lines, expected);

    const QStringList footer = textsAt(prepared, 896);
    QCOMPARE(footer.size(), 2);
    QVERIFY2(footer[0].startsWith(QStringLiteral("Printed:  3/5/24 2:07")), qPrintable(footer[0]));
}

void TestNumerologyReport::dateLine_data()
{
    QTest::addColumn<bool>("panelShown");
    QTest::addColumn<bool>("calculated");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QStringList>("line");  // left to right
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    QTest::newRow("a date") << true << true << us << QStringList{"12/25/1990:",    "29 / 11 / 2",
                                                                 "Name and Date:", "50 / 5",
                                                                 "Day:",           "25 / 7"};
    QTest::newRow("the system's separator")
        << true << true << QLocale(QLocale::German, QLocale::Germany)
        << QStringList{"12.25.1990:", "29 / 11 / 2", "Name and Date:", "50 / 5", "Day:", "25 / 7"};
    // The results stay in their fields, but a hidden panel prints none of them.
    QTest::newRow("panel hidden after a calculation")
        << false << true << us << QStringList{"", "", "", "", "", ""};
    QTest::newRow("panel shown, nothing calculated")
        << true << false << us << QStringList{"", "", "", "", "", ""};
}

void TestNumerologyReport::dateLine()
{
    QFETCH(bool, panelShown);
    QFETCH(bool, calculated);
    QFETCH(QLocale, locale);
    QFETCH(QStringList, line);
    QLocale::setDefault(locale);
    ReportValues values = maryWithDate();
    values.datePanelShown = panelShown;
    if (!calculated) {
        // What the window holds after the date field changed: the results cleared.
        values.dateSum = 0;
        values.dayTotal.clear();
        values.dateTotal.clear();
        values.nameAndDate.clear();
    }
    QCOMPARE(textsAt(PrepareReport(frReport1(), values, kPrepared), 356), line);
    QCOMPARE(textsAt(PrepareReport(frReport2(), values, kPrepared), 244), line);
}

void TestNumerologyReport::emptyData()
{
    const report::PreparedReport prepared =
        PrepareReport(frReport1(), AnalysisReportValues(Chaldean, QString()), kPrepared);
    const report::Page& page = prepared.pages[0];
    QVERIFY(find(page, QString(), 96));  // the title
    QVERIFY(find(page, QStringLiteral("0"), 164));
    QVERIFY(find(page, QStringLiteral("0"), 192));
    QVERIFY(find(page, QStringLiteral("0"), 220));
    QVERIFY(find(page, QStringLiteral("0\n0\n0"), 284));
    QVERIFY(find(page, QStringLiteral("Chaldean\nSystem"), 284));
}

void TestNumerologyReport::exportReadsBack_data()
{
    QTest::addColumn<bool>("withDate");
    QTest::addColumn<QString>("dateLine");
    QTest::newRow("with a date")
        << true << "\t12/25/1990:\t29 / 11 / 2\tName and Date:\t50 / 5\tDay:\t25 / 7";
    // Empty lines are kept.
    QTest::newRow("without") << false << "\t\t\t\t\t\t";
}

void TestNumerologyReport::exportReadsBack()
{
    QFETCH(bool, withDate);
    QFETCH(QString, dateLine);
    const ReportValues values =
        withDate ? maryWithDate() : AnalysisReportValues(Pythagorean, QStringLiteral("MARY"));
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("mary.rtf"));
    QString error;
    QVERIFY2(report::writeRtf(PrepareReport(frReport2(), values, kPrepared), path, &error),
             qPrintable(error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const auto paragraphs = documents::rtfParagraphs(file.readAll(), &error);
    QVERIFY2(paragraphs, qPrintable(error));
    QStringList texts;
    for (const documents::Paragraph& p : *paragraphs)
        texts << p.text;
    QCOMPARE(texts, (QStringList{
                        "\tPythagorean System\tTotal",
                        "\t        Vowels:\t 1  \t1",
                        "\t             Data:\tMARY\t21 / 3",
                        "\tConsonants:\t4 97\t20 / 2",
                        "\t1\t2\t3\t4\t5\t6\t7\t8\t9\tTotal",
                        "\t         Vowels:\t1\t0\t0\t0\t0\t0\t0\t0\t0\t1",
                        "\tConsonants:\t0\t0\t0\t1\t0\t0\t1\t0\t1\t3",
                        "\t          Totals:\t1\t0\t0\t1\t0\t0\t1\t0\t1\t4",
                        dateLine,
                    }));
}

// A reader that is not ours finds every row of the export, in order. unrtf ends a line at each
// tab, so the text is compared with its blanks collapsed.
void TestNumerologyReport::exportReadsBackInUnrtf()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("mary.rtf"));
    QString error;
    const ReportValues values =
        AnalysisReportValues(Pythagorean, QStringLiteral("MARY ANN LEE"), QDate(1990, 12, 25));
    QVERIFY2(report::writeRtf(PrepareReport(frReport2(), values, kPrepared), path, &error),
             qPrintable(error));
    const std::optional<QString> text = documents::unrtfText(path, &error);
    QVERIFY2(text, qPrintable(error));
    const QStringList rows{
        "Pythagorean System Total",
        "Vowels: 1 1 55 12 / 3",
        "Data: MARY ANN LEE 45 / 9",
        "Consonants: 4 97 55 3 33 / 6",
        "1 2 3 4 5 6 7 8 9 Total",
        "Vowels: 2 0 0 0 2 0 0 0 0 4",
        "Consonants: 0 0 1 1 2 0 1 0 1 6",
        "Totals: 2 0 1 1 4 0 1 0 1 10",
        "12/25/1990: 29 / 11 / 2",
        "Name and Date: 74 / 11 / 2",
        "Day: 25 / 7",
    };
    // Row after row, nothing between them and nothing after the last.
    QCOMPARE(*text, rows.join(u' '));
}

void TestNumerologyReport::printedPdfReadsBack()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("mary.pdf"));
    QString error;
    QVERIFY2(report::writePdf(PrepareReport(frReport1(), maryWithDate(), kPrepared), path,
                              QStringLiteral("MARY"), &error),
             qPrintable(error));
    const std::optional<QString> text = documents::pdfText(path, &error);
    QVERIFY2(text, qPrintable(error));
    QCOMPARE(text->count(u'\f'), 1);
    QVERIFY(text->contains(QStringLiteral("System")));
    // Top to bottom, as a reader meets them.
    qsizetype at = 0;
    for (const char* expected :
         {"MARY", "Total", "Vowels:", "Data:", "MARY", "21 / 3", "Consonants:", "4 97",
          "Pythagorean", "Totals:", "12/25/1990:", "Name and Date:", "50 / 5",
          "Notes:", "Printed:", "3/5/24", "https://sonarith.org"}) {
        const qsizetype found = text->indexOf(QString::fromUtf8(expected), at);
        QVERIFY2(found >= 0,
                 qPrintable(QString::fromUtf8(expected) + QStringLiteral(" in ") + text->mid(at)));
        at = found + qsizetype(qstrlen(expected));
    }
}

QTEST_MAIN(TestNumerologyReport)
#include "tst_numerologyreport.moc"
