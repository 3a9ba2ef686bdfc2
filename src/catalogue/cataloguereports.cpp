#include "catalogue/cataloguereports.h"

#include "report/siteaddress.h"

#include <QLocale>
#include <tuple>

namespace catalogue {

namespace {

using report::Align;
using report::Band;
using report::TemplateText;
using report::TextFont;
using report::unitsFromMm;

const TextFont kTitleFont{QStringLiteral("Arial"), 14, true};
const TextFont kHeadingFont{QStringLiteral("Arial"), 10, true};
const TextFont kRowFont{QStringLiteral("Arial"), 10, false};
const TextFont kFooterFont{QStringLiteral("Arial"), 8, false};

// The name of a query row's field as the listings' texts write it: Query1."CPS".
QString queryField(Field field)
{
    return QStringLiteral("Query1.\"%1\"").arg(fieldName(field));
}

QString placeholder(Field field)
{
    return u'[' + queryField(field) + u']';
}

// A text whose box is given in millimetres: from the paper's left edge, from the band's top.
TemplateText text(double left, double top, double width, double height, const QString& content,
                  const TextFont& font, Align align = Align::Left)
{
    return {QRectF(unitsFromMm(left), unitsFromMm(top), unitsFromMm(width), unitsFromMm(height)),
            content,
            font,
            align,
            {}};
}

// The CPS of a row as a whole number with thousands separators, whatever the locale's habit.
TemplateText wholeNumber(TemplateText cps)
{
    cps.script = [](const report::ValueLookup& values, QHash<QString, QString>& variables) {
        const QString name = queryField(Field::Cps);
        bool ok = false;
        const qlonglong value = values(name).value_or(QString()).toLongLong(&ok);
        if (!ok)
            return;
        QLocale locale;
        locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
        variables[name] = locale.toString(value);
    };
    return cps;
}

// Where the columns of a listing sit, in millimetres from the paper's left edge.
struct Columns
{
    double titleLeft, titleWidth;
    double cpsLeft, cpsWidth;
    double groupLeft, groupWidth;
    double dateLeft, addressLeft, addressWidth, pagesLeft;
};

constexpr Columns kWide{20.0, 181.9, 20.0, 12.8, 20.0, 187.4, 20.0, 38.8, 150.8, 190.7};
constexpr Columns kNarrow{25.5, 176.3, 39.6, 22.2, 26.6, 90.9, 25.5, 44.4, 138.6, 184.1};

constexpr double kTitleHeight = 10.0;
constexpr double kRowHeight = 5.5;
constexpr double kGroupHeight = 10.0;
constexpr double kGroupTextTop = 4.4;
constexpr double kFooterHeight = 6.7;
constexpr double kFooterTextTop = 1.9;
constexpr double kFooterTextWidth = 17.7;

report::Layout listing(const Columns& at, const QString& title, std::optional<Field> group)
{
    report::Layout layout;
    // Positions are measured from the paper's left edge; the margins place the bands.
    layout.setup.margins = QMarginsF(0, unitsFromMm(10), 0, unitsFromMm(10));
    layout.title = {
        unitsFromMm(kTitleHeight),
        {text(at.titleLeft, 0, at.titleWidth, kTitleHeight, title, kTitleFont, Align::Centre)},
        {}};
    layout.pageHeader = {unitsFromMm(kRowHeight),
                         {text(at.cpsLeft, 0, at.cpsWidth, kRowHeight, QStringLiteral("CPS"),
                               kHeadingFont, Align::Right)},
                         {}};
    layout.detail = {unitsFromMm(kRowHeight),
                     {wholeNumber(text(at.cpsLeft, 0, at.cpsWidth, kRowHeight,
                                       placeholder(Field::Cps), kRowFont, Align::Right))},
                     {}};
    if (group) {
        layout.groupField = queryField(*group);
        layout.groupHeader = {
            unitsFromMm(kGroupHeight),
            {text(at.groupLeft, kGroupTextTop, at.groupWidth, kGroupHeight - kGroupTextTop,
                  placeholder(*group), kHeadingFont)},
            {}};
    }
    const double pagesWidth = kFooterTextWidth;
    const double footerText = kFooterHeight - kFooterTextTop;
    layout.pageFooter = {
        unitsFromMm(kFooterHeight),
        {text(at.dateLeft, kFooterTextTop, kFooterTextWidth, footerText, QStringLiteral("[DATE]"),
              kFooterFont),
         text(at.addressLeft, kFooterTextTop, at.addressWidth, footerText,
              QStringLiteral("[nameftr]"), kFooterFont, Align::Centre),
         text(at.pagesLeft, kFooterTextTop, pagesWidth, footerText,
              QStringLiteral("[PAGE#] of [TOTALPAGES]"), kFooterFont, Align::Right)},
        {}};
    return layout;
}

// The frequency and source listings: CPS, Category and SubCategory side by side.
report::Layout wideListing(const QString& title, std::optional<Field> group)
{
    report::Layout layout = listing(kWide, title, group);
    for (const auto& [field, left, width] :
         {std::tuple{Field::Category, 40.8, 78.7}, std::tuple{Field::SubCategory, 122.8, 86.5}}) {
        layout.pageHeader.texts << text(left, 0, width, kRowHeight, fieldName(field), kHeadingFont);
        layout.detail.texts << text(left, 0, width, kRowHeight, placeholder(field), kRowFont);
    }
    return layout;
}

// The category and subcategory listings: grouped by one field, the other beside the CPS.
report::Layout narrowListing(const QString& title, Field group, Field other)
{
    report::Layout layout = listing(kNarrow, title, group);
    layout.pageHeader.texts << text(67.4, 0, 88.7, kRowHeight, fieldName(other), kHeadingFont);
    layout.detail.texts << text(67.4, 0, 88.7, kRowHeight, placeholder(other), kRowFont);
    return layout;
}

}  // namespace

report::Layout CatReport()
{
    return narrowListing(listingTitle(ReportOrder::Category), Field::Category, Field::SubCategory);
}

report::Layout CpsReport()
{
    return wideListing(listingTitle(ReportOrder::Frequency), std::nullopt);
}

report::Layout SourceReport()
{
    return wideListing(listingTitle(ReportOrder::Source), Field::Source);
}

report::Layout SubCatReport()
{
    return narrowListing(listingTitle(ReportOrder::SubCategory), Field::SubCategory,
                         Field::Category);
}

report::Layout listingLayout(ReportOrder kind)
{
    switch (kind) {
    case ReportOrder::Category:
        return CatReport();
    case ReportOrder::Frequency:
        return CpsReport();
    case ReportOrder::Source:
        return SourceReport();
    case ReportOrder::SubCategory:
        break;
    }
    return SubCatReport();
}

QString listingTitle(ReportOrder kind)
{
    switch (kind) {
    case ReportOrder::Category:
        return QStringLiteral("Tones Listed by Category");
    case ReportOrder::Frequency:
        return QStringLiteral("Tones Listed by Frequency");
    case ReportOrder::Source:
        return QStringLiteral("Tones Listed by Source");
    case ReportOrder::SubCategory:
        break;
    }
    return QStringLiteral("Tones Listed by SubCategory");
}

std::optional<QString> ReportGetValue(const QString& name)
{
    if (name == u"nameftr")
        return report::SiteAddress;
    return std::nullopt;
}

report::PreparedReport prepareListing(ReportOrder kind, const QList<ToneRecord>& rows,
                                      const QDateTime& preparedAt)
{
    const report::Rows query{int(rows.size()),
                             [&rows](int row, const QString& name) -> std::optional<QString> {
                                 for (const Field field : kFields) {
                                     if (name == queryField(field))
                                         return rows[row].text(field);
                                 }
                                 return std::nullopt;
                             }};
    return report::prepare(listingLayout(kind), ReportGetValue, query, preparedAt);
}

std::optional<report::PreparedReport> prepareListing(const TonesDatabase& database,
                                                     ReportOrder kind, QString* error,
                                                     const QDateTime& preparedAt)
{
    const std::optional<QList<ToneRecord>> rows = database.distinctTones(kind, error);
    if (!rows)
        return std::nullopt;
    return prepareListing(kind, *rows, preparedAt);
}

}  // namespace catalogue
