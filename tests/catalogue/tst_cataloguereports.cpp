#include "catalogue/cataloguereports.h"
#include "catalogue/tonesdatabase.h"
#include "report/render.h"
#include "support/documents.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

using namespace catalogue;

namespace {

const QDateTime kPrepared(QDate(2024, 3, 5), QTime(14, 7));

// Two spellings of one category and of one source, a frequency in the thousands, an empty CPS
// and two records that differ in Source alone.
const QList<ToneRecord> kRecords{
    {"Solfeggio", "UT", 396, "Horowitz"},   {"Solfeggio", "MI", 528, "Puleo"},
    {"Planets", "Earth", 136, "Cousto"},    {"planets", "Moon", 210, "cousto"},
    {"Brain", "Gamma", 12500, "Cousto"},    {"Brain", "Gamma", 12500, "Lab notes"},
    {"Tuning", "Silent", std::nullopt, ""},
};

// The listing of the catalogue as a PDF file, read back: each page's lines, blanks between
// words folded to one.
QList<QStringList> printedPages(const QList<ToneRecord>& records, ReportOrder kind)
{
    QTemporaryDir dir;
    const QString catalogueFile = dir.filePath(QLatin1String(kFileName));
    QString error;
    if (!createCatalogueFile(catalogueFile, records, false, &error))
        qFatal("%s", qPrintable(error));
    TonesDatabase database(QStringLiteral("listing"));
    if (!database.open(catalogueFile, TonesDatabase::Missing::Refuse))
        qFatal("%s", qPrintable(database.errorString()));
    const std::optional<report::PreparedReport> listing =
        prepareListing(database, kind, &error, kPrepared);
    if (!listing)
        qFatal("%s", qPrintable(error));
    const QString pdf = dir.filePath(QStringLiteral("listing.pdf"));
    if (!report::writePdf(*listing, pdf, listingTitle(kind), &error))
        qFatal("%s", qPrintable(error));
    const std::optional<QString> text = documents::pdfText(pdf, &error);
    if (!text)
        qFatal("%s", qPrintable(error));
    QList<QStringList> pages;
    QStringList pageTexts = text->split(u'\f');
    pageTexts.removeLast();  // after the last form feed
    for (const QString& page : std::as_const(pageTexts)) {
        QStringList lines;
        for (QString line : page.split(u'\n')) {
            line = line.simplified();
            if (!line.isEmpty())
                lines << line;
        }
        pages << lines;
    }
    return pages;
}

const report::TextObject* findText(const report::Page& page, const QString& text)
{
    for (const report::TextObject& t : page.texts) {
        if (t.text == text)
            return &t;
    }
    return nullptr;
}

}  // namespace

class TestCatalogueReports : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void listingsReadBack_data();
    void listingsReadBack();
    void layoutPlacesTexts_data();
    void layoutPlacesTexts();
    void pagesCountInTheFooter();
    void separatorsWhateverTheLocale();
};

void TestCatalogueReports::listingsReadBack_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("lines");

    const QString footer = QStringLiteral("3/5/24 https://sonarith.org 1 of 1");
    QTest::newRow("category") << int(ReportOrder::Category)
                              << QStringList{"Tones Listed by Category",
                                             "CPS SubCategory",
                                             "Brain",
                                             "12,500 Gamma",
                                             "12,500 Gamma",
                                             "Planets",
                                             "136 Earth",
                                             "planets",
                                             "210 Moon",
                                             "Solfeggio",
                                             "396 UT",
                                             "528 MI",
                                             "Tuning",
                                             "Silent",
                                             footer};
    QTest::newRow("frequency") << int(ReportOrder::Frequency)
                               << QStringList{"Tones Listed by Frequency",
                                              "CPS Category SubCategory",
                                              "Tuning Silent",
                                              "136 Planets Earth",
                                              "210 planets Moon",
                                              "396 Solfeggio UT",
                                              "528 Solfeggio MI",
                                              "12,500 Brain Gamma",
                                              "12,500 Brain Gamma",
                                              footer};
    // An empty source is a group of its own; rows within a group by category, then CPS.
    QTest::newRow("source") << int(ReportOrder::Source)
                            << QStringList{"Tones Listed by Source",
                                           "CPS Category SubCategory",
                                           "Tuning Silent",
                                           "Cousto",
                                           "12,500 Brain Gamma",
                                           "136 Planets Earth",
                                           "cousto",
                                           "210 planets Moon",
                                           "Horowitz",
                                           "396 Solfeggio UT",
                                           "Lab notes",
                                           "12,500 Brain Gamma",
                                           "Puleo",
                                           "528 Solfeggio MI",
                                           footer};
    QTest::newRow("subcategory") << int(ReportOrder::SubCategory)
                                 << QStringList{"Tones Listed by SubCategory",
                                                "CPS Category",
                                                "Earth",
                                                "136 Planets",
                                                "Gamma",
                                                "12,500 Brain",
                                                "12,500 Brain",
                                                "MI",
                                                "528 Solfeggio",
                                                "Moon",
                                                "210 planets",
                                                "Silent",
                                                "Tuning",
                                                "UT",
                                                "396 Solfeggio",
                                                footer};
}

// The whole listing as printed: title, column titles, a group header wherever the group's
// value changes (letter case included), rows in the listing's order, and the footer.
void TestCatalogueReports::listingsReadBack()
{
    QFETCH(int, kind);
    QFETCH(QStringList, lines);
    const QList<QStringList> pages = printedPages(kRecords, ReportOrder(kind));
    QCOMPARE(pages.size(), 1);
    QCOMPARE(pages[0], lines);
}

void TestCatalogueReports::layoutPlacesTexts_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("left");   // mm
    QTest::addColumn<double>("width");  // mm
    QTest::addColumn<double>("size");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<int>("align");

    constexpr int left = int(report::Align::Left);
    constexpr int right = int(report::Align::Right);
    constexpr int centre = int(report::Align::Centre);
    const int cat = int(ReportOrder::Category);
    const int cps = int(ReportOrder::Frequency);
    const int src = int(ReportOrder::Source);
    const int sub = int(ReportOrder::SubCategory);
    const auto row = [](const char* name, int kind, const QString& text, double x, double w,
                        double size, bool bold, int align) {
        QTest::newRow(name) << kind << text << x << w << size << bold << align;
    };
    row("frequency title", cps, "Tones Listed by Frequency", 20.0, 181.9, 14, true, centre);
    row("frequency CPS title", cps, "CPS", 20.0, 12.8, 10, true, right);
    row("frequency CPS", cps, "12,500", 20.0, 12.8, 10, false, right);
    row("frequency category", cps, "Brain", 40.8, 78.7, 10, false, left);
    row("frequency subcategory", cps, "Gamma", 122.8, 86.5, 10, false, left);
    row("source group", src, "Horowitz", 20.0, 187.4, 10, true, left);
    row("source date", src, "3/5/24", 20.0, 17.7, 8, false, left);
    row("source address", src, "https://sonarith.org", 38.8, 150.8, 8, false, centre);
    row("source pages", src, "1 of 1", 190.7, 17.7, 8, false, right);
    row("category title", cat, "Tones Listed by Category", 25.5, 176.3, 14, true, centre);
    row("category CPS", cat, "396", 39.6, 22.2, 10, false, right);
    row("category group", cat, "Solfeggio", 26.6, 90.9, 10, true, left);
    row("category subcategory", cat, "UT", 67.4, 88.7, 10, false, left);
    row("category pages", cat, "1 of 1", 184.1, 17.7, 8, false, right);
    row("subcategory title", sub, "Tones Listed by SubCategory", 25.5, 176.3, 14, true, centre);
    row("subcategory column title", sub, "Category", 67.4, 88.7, 10, true, left);
    row("subcategory address", sub, "https://sonarith.org", 44.4, 138.6, 8, false, centre);
}

void TestCatalogueReports::layoutPlacesTexts()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(double, left);
    QFETCH(double, width);
    QFETCH(double, size);
    QFETCH(bool, bold);
    QFETCH(int, align);
    const report::PreparedReport listing = prepareListing(ReportOrder(kind), kRecords, kPrepared);
    const report::TextObject* found = findText(listing.pages[0], text);
    QVERIFY2(found, qPrintable(text));
    QCOMPARE(found->box.left(), report::unitsFromMm(left));
    QCOMPARE(found->box.width(), report::unitsFromMm(width));
    QCOMPARE(found->font, (report::TextFont{QStringLiteral("Arial"), size, bold}));
    QCOMPARE(int(found->align), align);
}

// A catalogue of three pages: the column titles head every page and each footer counts the
// pages; the rows go on from page to page, none lost.
void TestCatalogueReports::pagesCountInTheFooter()
{
    QList<ToneRecord> records;
    for (int i = 1; i <= 100; ++i)
        records << ToneRecord{QStringLiteral("Tone %1").arg(i), QStringLiteral("Sub"), 1000 + i,
                              i <= 50 ? QStringLiteral("First") : QStringLiteral("Second")};
    const QList<QStringList> pages = printedPages(records, ReportOrder::Source);
    QCOMPARE(pages.size(), 3);
    QStringList rows;
    QStringList groups;
    for (int page = 0; page < pages.size(); ++page) {
        const QStringList& lines = pages[page];
        QCOMPARE(lines.value(page == 0 ? 1 : 0), QStringLiteral("CPS Category SubCategory"));
        QCOMPARE(lines.back(), QStringLiteral("3/5/24 https://sonarith.org %1 of 3").arg(page + 1));
        for (const QString& line : lines) {
            if (line.contains(QStringLiteral("Tone ")))
                rows << line;
            else if (line == u"First" || line == u"Second")
                groups << line;
        }
    }
    QCOMPARE(pages[0].value(0), QStringLiteral("Tones Listed by Source"));
    QCOMPARE(rows.size(), 100);
    QCOMPARE(rows.front(), QStringLiteral("1,001 Tone 1 Sub"));
    QCOMPARE(rows.back(), QStringLiteral("1,099 Tone 99 Sub"));  // "Tone 99" sorts last
    QCOMPARE(groups, (QStringList{"First", "Second"}));
}

// In a locale that leaves thousands ungrouped the listing still groups them.
void TestCatalogueReports::separatorsWhateverTheLocale()
{
    QLocale::setDefault(QLocale::c());
    const report::PreparedReport listing =
        prepareListing(ReportOrder::Frequency, {{"Brain", "Gamma", -1234567, "Lab"}}, kPrepared);
    QVERIFY(findText(listing.pages[0], QStringLiteral("-1,234,567")));
}

QTEST_MAIN(TestCatalogueReports)
#include "tst_cataloguereports.moc"
