#pragma once

#include "catalogue/tonerecord.h"
#include "catalogue/tonesdatabase.h"
#include "report/layout.h"

#include <QDateTime>
#include <QList>
#include <optional>

// The four printed listings of the whole catalogue: by category, frequency, source and
// subcategory. Each is a banded layout on Letter paper fed by the distinct query in its order;
// detail and group header texts name the fields of a query row as [Query1."Field"].
namespace catalogue {

report::Layout CatReport();
report::Layout CpsReport();
report::Layout SourceReport();
report::Layout SubCatReport();

// The layout of a listing and its title, "Tones Listed by Category" and so on.
report::Layout listingLayout(ReportOrder kind);
QString listingTitle(ReportOrder kind);

// What every listing asks the program for (CatReportGetValue, CpsReportGetValue,
// SourceReportGetValue and SubCatReportGetValue alike): "nameftr" is the site address; other
// names have no value here.
std::optional<QString> ReportGetValue(const QString& name);

// The listing of rows (already in the listing's order) laid out into pages.
report::PreparedReport prepareListing(ReportOrder kind, const QList<ToneRecord>& rows,
                                      const QDateTime& preparedAt = QDateTime::currentDateTime());

// Runs the distinct query of the catalogue in the listing's order and lays the listing out;
// none, with the reason in error, when the query fails.
std::optional<report::PreparedReport>
prepareListing(const TonesDatabase& database, ReportOrder kind, QString* error,
               const QDateTime& preparedAt = QDateTime::currentDateTime());

}  // namespace catalogue
