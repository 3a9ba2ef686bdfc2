#include "report/layout.h"

#include <QLocale>
#include <QTest>

using namespace report;

namespace {

TemplateText text(double y, const QString& content, double height = 16)
{
    return {QRectF(80, y, 400, height), content, {}, Align::Left, {}};
}

Band band(double height, QList<TemplateText> texts)
{
    return {height, std::move(texts), {}};
}

// A listing like the catalogue's: Letter with 72-unit margins, so the page footer starts at
// 909 (1005.84 - 72 - 24, to the unit below). Page 1 holds rows from 128 (after title and
// header), the others from 92: 39 rows on the first page, 40 on each further one.
Layout listing()
{
    Layout layout;
    layout.setup.margins = QMarginsF(72, 72, 72, 72);
    layout.title = band(36, {text(0, QStringLiteral("Tones Listed by [Kind]"))});
    layout.pageHeader = band(20, {text(0, QStringLiteral("CPS"))});
    layout.groupHeader = band(16, {text(0, QStringLiteral("Group [Group]"))});
    layout.detail = band(20, {text(0, QStringLiteral("[CPS] Hz"))});
    layout.pageFooter = band(24, {text(4, QStringLiteral("[PAGE#] of [TOTALPAGES]"))});
    return layout;
}

ValueLookup kind()
{
    return [](const QString& name) -> std::optional<QString> {
        if (name == u"Kind")
            return QStringLiteral("Frequency");
        return std::nullopt;
    };
}

// Rows numbered from 100 Hz; the group of a row is groups[row] when given.
Rows rows(int count, QStringList groups = {})
{
    return {count, [groups](int row, const QString& name) -> std::optional<QString> {
                if (name == u"CPS")
                    return QString::number(100 + row);
                if (name == u"Group" && row < groups.size())
                    return groups[row];
                return std::nullopt;
            }};
}

// Every text of the report, page by page, top to bottom.
QList<QStringList> textsOf(const PreparedReport& report)
{
    QList<QStringList> pages;
    for (const Page& page : report.pages) {
        QList<TextObject> texts = page.texts;
        std::stable_sort(texts.begin(), texts.end(),
                         [](const auto& a, const auto& b) { return a.box.top() < b.box.top(); });
        QStringList lines;
        for (const TextObject& t : texts)
            lines << t.text;
        pages << lines;
    }
    return pages;
}

}  // namespace

class TestLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void placeholders_data();
    void placeholders();
    void engineValues();
    void singleBandReport();
    void paging_data();
    void paging();
    void groupBreaks();
    void groupHeaderGoesWithItsFirstRow();
    void scriptsSetTheirOwnVariables_data();
    void scriptsSetTheirOwnVariables();
};

void TestLayout::placeholders_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("filled");
    QTest::newRow("no placeholder") << "Total"
                                    << "Total";
    QTest::newRow("one") << "[Data]"
                         << "MARY";
    QTest::newRow("within text") << "Printed:  [Data] x"
                                 << "Printed:  MARY x";
    QTest::newRow("two") << "[Data] [Total]"
                         << "MARY 21 / 3";
    QTest::newRow("lines") << "[Data]\n[Total]"
                           << "MARY\n21 / 3";
    QTest::newRow("no value prints nothing") << "a[Nope]b"
                                             << "ab";
    QTest::newRow("names keep their case") << "[data]"
                                           << "";
    QTest::newRow("empty value") << "<[Empty]>"
                                 << "<>";
    QTest::newRow("value not searched again") << "[Brackets]"
                                              << "[Data]";
    QTest::newRow("unclosed bracket") << "a [Data"
                                      << "a [Data";
    QTest::newRow("closing bracket alone") << "a] [Data]"
                                           << "a] MARY";
    QTest::newRow("bracket before a name") << "[[Data]]"
                                           << "[MARY]";
    QTest::newRow("non-ASCII name") << "[Zoë]"
                                    << "Ångström";
}

void TestLayout::placeholders()
{
    QFETCH(QString, text);
    QFETCH(QString, filled);
    const QHash<QString, QString> values{{QStringLiteral("Data"), QStringLiteral("MARY")},
                                         {QStringLiteral("Total"), QStringLiteral("21 / 3")},
                                         {QStringLiteral("Empty"), QString()},
                                         {QStringLiteral("Brackets"), QStringLiteral("[Data]")},
                                         {QStringLiteral("Zoë"), QStringLiteral("Ångström")}};
    QCOMPARE(fillPlaceholders(text,
                              [&](const QString& name) -> std::optional<QString> {
                                  if (values.contains(name))
                                      return values[name];
                                  return std::nullopt;
                              }),
             filled);
}

void TestLayout::engineValues()
{
    Layout layout;
    layout.title =
        band(40, {text(0, QStringLiteral("Printed:  [DATE] [TIME] [PAGE#]/[TOTALPAGES]"))});
    QStringList asked;
    const PreparedReport report = prepare(
        layout,
        [&](const QString& name) -> std::optional<QString> {
            asked << name;
            return QStringLiteral("wrong");
        },
        {}, QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
    QCOMPARE(report.pages.size(), 1);
    const QString printed = report.pages[0].texts.value(0).text;
    QVERIFY2(printed.startsWith(QStringLiteral("Printed:  3/5/24 2:07")), qPrintable(printed));
    QVERIFY2(printed.endsWith(QStringLiteral(" 1/1")), qPrintable(printed));
    QVERIFY2(asked.isEmpty(), qPrintable(asked.join(u',')));
}

// The numerology report's shape: one band of texts and rules placed from the top margin and a
// footer on the bottom margin.
void TestLayout::singleBandReport()
{
    Layout layout;
    layout.setup.margins = QMarginsF(91, 91, 47, 91);
    layout.title = band(781, {{QRectF(92, 5, 636, 28),
                               QStringLiteral("[Kind]"),
                               {QStringLiteral("Arial"), 18, false},
                               Align::Centre,
                               {}}});
    layout.title.lines = {{QLineF(92, 35, 728, 35), 1}};
    layout.pageFooter = band(42, {text(24, QStringLiteral("[PAGE#] of [TOTALPAGES]"))});
    const PreparedReport report = prepare(layout, kind());

    QCOMPARE(report.pages.size(), 1);
    const Page& page = report.pages[0];
    QCOMPARE(page.texts.size(), 2);
    QCOMPARE(page.texts[0], (TextObject{QRectF(92, 96, 636, 28),
                                        QStringLiteral("Frequency"),
                                        {QStringLiteral("Arial"), 18, false},
                                        Align::Centre}));
    QCOMPARE(page.lines, (QList<LineObject>{{QLineF(92, 126, 728, 126), 1}}));
    // 1005.84 - 91 - 42 = 872.84: the footer starts on unit 872.
    QCOMPARE(page.texts[1].box.top(), 896.0);
    QCOMPARE(page.texts[1].text, QStringLiteral("1 of 1"));
}

void TestLayout::paging_data()
{
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<QList<int>>("rowsPerPage");
    QTest::newRow("no rows") << 0 << QList<int>{0};
    QTest::newRow("one row") << 1 << QList<int>{1};
    QTest::newRow("first page full") << 39 << QList<int>{39};
    QTest::newRow("one more") << 40 << QList<int>{39, 1};
    QTest::newRow("two full pages") << 79 << QList<int>{39, 40};
    QTest::newRow("three pages") << 80 << QList<int>{39, 40, 1};
}

void TestLayout::paging()
{
    QFETCH(int, rowCount);
    QFETCH(QList<int>, rowsPerPage);
    const PreparedReport report = prepare(listing(), kind(), rows(rowCount));
    const QList<QStringList> pages = textsOf(report);
    QCOMPARE(pages.size(), rowsPerPage.size());

    int next = 0;
    const QString total = QString::number(pages.size());
    for (qsizetype p = 0; p < pages.size(); ++p) {
        QStringList expected;
        if (p == 0)
            expected << QStringLiteral("Tones Listed by Frequency");
        expected << QStringLiteral("CPS");
        for (int r = 0; r < rowsPerPage[p]; ++r)
            expected << QStringLiteral("%1 Hz").arg(100 + next++);
        expected << QStringLiteral("%1 of %2").arg(p + 1).arg(total);
        QCOMPARE(pages[p], expected);
        for (const TextObject& t : report.pages[p].texts) {
            if (!t.text.contains(u" of "))
                QVERIFY2(t.box.top() + 20 <= 909, qPrintable(t.text));
        }
    }
}

void TestLayout::groupBreaks()
{
    // A new group starts whenever the value differs from the row before, case included.
    const QStringList groups{QStringLiteral("A"), QStringLiteral("A"), QStringLiteral("B"),
                             QStringLiteral("b"), QStringLiteral("b"), QStringLiteral("A")};
    Layout layout = listing();
    layout.groupField = QStringLiteral("Group");
    const PreparedReport report = prepare(layout, kind(), rows(int(groups.size()), groups));
    QCOMPARE(textsOf(report),
             (QList<QStringList>{{"Tones Listed by Frequency", "CPS", "Group A", "100 Hz", "101 Hz",
                                  "Group B", "102 Hz", "Group b", "103 Hz", "104 Hz", "Group A",
                                  "105 Hz", "1 of 1"}}));
    // Without a group field the header is not used.
    QCOMPARE(textsOf(prepare(listing(), kind(), rows(2, groups))).value(0).size(), 5);
}

void TestLayout::groupHeaderGoesWithItsFirstRow()
{
    // 37 rows of A end at 144 + 37 * 20 = 884: B's header (16) would still fit above the
    // footer at 909, its first row (20) would not, so both start page 2.
    QStringList groups(37, QStringLiteral("A"));
    groups << QStringLiteral("B");
    Layout layout = listing();
    layout.groupField = QStringLiteral("Group");
    const QList<QStringList> pages = textsOf(prepare(layout, kind(), rows(38, groups)));
    QCOMPARE(pages.size(), 2);
    QCOMPARE(pages[0].size(), 2 + 1 + 37 + 1);
    QCOMPARE(pages[1], (QStringList{"CPS", "Group B", "137 Hz", "2 of 2"}));
}

void TestLayout::scriptsSetTheirOwnVariables_data()
{
    QTest::addColumn<QString>("dates");
    QTest::addColumn<QString>("label");
    QTest::newRow("a date") << "5/7/2001"
                            << "5/7/2001:";
    QTest::newRow("no date") << ""
                             << "";
}

void TestLayout::scriptsSetTheirOwnVariables()
{
    QFETCH(QString, dates);
    QFETCH(QString, label);
    TemplateText dateLabel = text(0, QStringLiteral("[s]"));
    dateLabel.script = [](const ValueLookup& values, QHash<QString, QString>& variables) {
        const QString date = values(QStringLiteral("Dates")).value_or(QString());
        variables[QStringLiteral("s")] = date.isEmpty() ? QString() : date + u':';
    };
    Layout layout;
    layout.title = band(40, {dateLabel, text(20, QStringLiteral("[s]|[Dates]"))});
    const PreparedReport report =
        prepare(layout, [&](const QString& name) -> std::optional<QString> {
            if (name == u"Dates")
                return dates;
            return std::nullopt;
        });
    QCOMPARE(report.pages[0].texts[0].text, label);
    // The variable belongs to its text alone.
    QCOMPARE(report.pages[0].texts[1].text, u'|' + dates);
}

QTEST_GUILESS_MAIN(TestLayout)
#include "tst_layout.moc"
