#include "report/render.h"
#include "report/rtf.h"
#include "support/documents.h"

#include <QTemporaryDir>
#include <QTest>

using namespace report;

namespace {

const TextFont kArial{QStringLiteral("Arial"), 12, false};
const TextFont kBold{QStringLiteral("Arial"), 11, true};
const TextFont kCourier{QStringLiteral("Courier New"), 12, true};

// Two pages with the kinds of text a report holds: left, right and centred boxes, a text of
// several lines, an empty text, a rule, and text with RTF's control characters and beyond ASCII.
PreparedReport sample(const QString& secondPage)
{
    PreparedReport report;
    report.setup.margins = QMarginsF(91, 91, 47, 91);
    Page first;
    first.texts = {
        {QRectF(92, 100, 500, 28), QStringLiteral("Zoë Ångström – ½ {a} \\b\\"), kArial},
        {QRectF(94, 164, 94, 20), QStringLiteral("Vowels:"), kBold, Align::Right},
        {QRectF(192, 164, 416, 20), QStringLiteral(" 1  7"), kCourier},
        {QRectF(192, 200, 108, 20), QString(), kArial},
        {QRectF(592, 284, 112, 52), QStringLiteral("Pythagorean\nSystem"), kArial, Align::Centre},
        {QRectF(192, 284, 22, 52), QStringLiteral("1\n0\n1"), kArial, Align::Right},
    };
    first.lines = {{QLineF(92, 126, 728, 126), 1}};
    Page second;
    second.texts = {{QRectF(92, 100, 500, 20), secondPage, kArial}};
    report.pages = {first, second};
    return report;
}

double points(double units)
{
    return units * 72 / kUnitsPerInch;
}

}  // namespace

class TestExport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pdfText();
    void pdfPlacesTexts_data();
    void pdfPlacesTexts();
    void rtfText();
    void rtfColumns();
    void failedWritesLeaveNoFile_data();
    void failedWritesLeaveNoFile();

private:
    QString writtenPdf()
    {
        const QString path = folder.filePath(QStringLiteral("sample.pdf"));
        QString error;
        if (!writePdf(sample(QStringLiteral("Page two ends here")), path, QStringLiteral("Sample"),
                      &error))
            qFatal("%s", qPrintable(error));
        return path;
    }

    QTemporaryDir folder;
};

void TestExport::pdfText()
{
    QString error;
    const std::optional<QString> text = documents::pdfText(writtenPdf(), &error);
    QVERIFY2(text, qPrintable(error));
    const QStringList pages = text->split(u'\f', Qt::SkipEmptyParts);
    QCOMPARE(pages.size(), 2);
    QVERIFY2(pages[0].contains(QStringLiteral("Zoë Ångström – ½ {a} \\b\\")), qPrintable(pages[0]));
    QVERIFY2(pages[0].contains(QRegularExpression(QStringLiteral("Vowels: +1 +7"))),
             qPrintable(pages[0]));
    QVERIFY2(pages[0].contains(QStringLiteral("Pythagorean")), qPrintable(pages[0]));
    QVERIFY2(pages[1].contains(QStringLiteral("Page two ends here")), qPrintable(pages[1]));
}

void TestExport::pdfPlacesTexts_data()
{
    // Where a word's box starts or ends, in points from the page's left edge.
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("edge");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("top");
    QTest::newRow("left") << "Zoë" << 1 << "left" << points(92) << points(100);
    QTest::newRow("right") << "Vowels:" << 1 << "right" << points(188) << points(164);
    QTest::newRow("centred") << "System" << 1 << "centre" << points(648) << points(284);
    QTest::newRow("second page") << "Page" << 2 << "left" << points(92) << points(100);
}

void TestExport::pdfPlacesTexts()
{
    QFETCH(QString, word);
    QFETCH(int, page);
    QFETCH(QString, edge);
    QFETCH(double, x);
    QFETCH(double, top);
    QString error;
    const auto words = documents::pdfWords(writtenPdf(), &error);
    QVERIFY2(words, qPrintable(error));
    const auto found =
        std::find_if(words->begin(), words->end(), [&](const auto& w) { return w.text == word; });
    QVERIFY2(found != words->end(), qPrintable(word));
    QCOMPARE(found->page, page);
    const double at = edge == u"left"    ? found->box.left()
                      : edge == u"right" ? found->box.right()
                                         : found->box.center().x();
    QVERIFY2(std::abs(at - x) < 1.5,
             qPrintable(QStringLiteral("%1 at %2, not %3").arg(edge).arg(at).arg(x)));
    // The box reaches from the font's ascent: a little below the text's top.
    const bool second = word == u"System";
    const double expectedTop = second ? top + 14 * 1.15 : top;
    QVERIFY2(std::abs(found->box.top() - expectedTop) < 4,
             qPrintable(QStringLiteral("top %1, not %2").arg(found->box.top()).arg(expectedTop)));
}

void TestExport::rtfText()
{
    const QByteArray rtf = rtfDocument(sample(QStringLiteral("second 𝄞 page {}\\")));
    for (const char byte : rtf)
        QVERIFY2(uchar(byte) < 0x80, "RTF is 7-bit");
    QString error;
    const auto paragraphs = documents::rtfParagraphs(rtf, &error);
    QVERIFY2(paragraphs, qPrintable(error));
    QStringList texts;
    for (const documents::Paragraph& p : *paragraphs)
        texts << p.text;
    // One paragraph per line of each row; the empty text keeps its line; no page break.
    QCOMPARE(texts, (QStringList{QStringLiteral("\tZoë Ångström – ½ {a} \\b\\"),
                                 QStringLiteral("\tVowels:\t 1  7"), QStringLiteral("\t"),
                                 QStringLiteral("\t1\tPythagorean"), QStringLiteral("\t0\tSystem"),
                                 QStringLiteral("\t1\t"), QStringLiteral("\tsecond 𝄞 page {}\\")}));
    QVERIFY(!rtf.contains("\\page"));
}

void TestExport::rtfColumns()
{
    QString error;
    const auto paragraphs = documents::rtfParagraphs(rtfDocument(sample(QString())), &error);
    QVERIFY2(paragraphs, qPrintable(error));
    // Tab stops in twips from the left margin (91 units): "Vowels:" ends at 188, the
    // string starts at 192; the count column ends at 214, the centred text centres on 648.
    const auto twips = [](double units) {
        return int(std::lround((units - 91) * 1440 / kUnitsPerInch));
    };
    QCOMPARE(paragraphs->at(1).tabStops, (QList<int>{twips(188), twips(192)}));
    QCOMPARE(paragraphs->at(3).tabStops, (QList<int>{twips(214), twips(648)}));
    QCOMPARE(paragraphs->at(4).tabStops, paragraphs->at(3).tabStops);
    // The space above the first row is its distance from the top margin.
    QCOMPARE(paragraphs->at(0).spaceBefore, int(std::lround(9 * 1440 / kUnitsPerInch)));
}

void TestExport::failedWritesLeaveNoFile_data()
{
    QTest::addColumn<bool>("pdf");
    QTest::newRow("pdf") << true;
    QTest::newRow("rtf") << false;
}

void TestExport::failedWritesLeaveNoFile()
{
    QFETCH(bool, pdf);
    const QString path = folder.filePath(QStringLiteral("missing/report.out"));
    QString error;
    const bool written = pdf ? writePdf(sample(QString()), path, QString(), &error)
                             : writeRtf(sample(QString()), path, &error);
    QVERIFY(!written);
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFile::exists(path));
}

QTEST_MAIN(TestExport)
#include "tst_export.moc"
