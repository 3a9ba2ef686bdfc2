#pragma once

#include "report/reportmodel.h"

#include <QDateTime>
#include <QHash>
#include <functional>
#include <optional>

// Report templates and their preparation into pages. A template is a set of bands of
// positioned texts and lines; a text names values in brackets, "[Data]", that are asked for
// while the pages are made. The engine answers "[DATE]", "[TIME]", "[PAGE#]" and
// "[TOTALPAGES]" itself.
namespace report {

// The value of a name, or none when the name has no value (it then prints as nothing).
using ValueLookup = std::function<std::optional<QString>(const QString& name)>;

// Runs just before its text is filled in: may set variables of the text's own, such as the
// "s" of a label whose wording depends on other values.
using Script = std::function<void(const ValueLookup& values, QHash<QString, QString>& variables)>;

struct TemplateText
{
    QRectF box;    // units; the top is measured from the top of the band
    QString text;  // with placeholders
    TextFont font;
    Align align = Align::Left;
    Script script;
};

struct Band
{
    double height = 0;  // units
    QList<TemplateText> texts;
    QList<LineObject> lines;  // measured from the top of the band

    bool isEmpty() const { return height <= 0 && texts.isEmpty() && lines.isEmpty(); }
};

// Bands are laid out from the top margin down; the page footer sits on the bottom margin.
struct Layout
{
    PageSetup setup;
    Band title;        // once, at the top of the first page
    Band pageHeader;   // at the top of every page, below the title on the first
    Band groupHeader;  // before each run of rows that share the value of groupField
    Band detail;       // once for each row
    Band pageFooter;   // at the bottom of every page
    QString groupField;
};

// The rows a banded layout lists: detail and group header texts ask them first.
struct Rows
{
    int count = 0;
    std::function<std::optional<QString>(int row, const QString& name)> value;
};

// Lays the report out in two passes: first where every band goes and how many pages there
// are, then the texts with their values, so that "[TOTALPAGES]" is known on every page.
// There is always at least one page.
PreparedReport prepare(const Layout& layout, const ValueLookup& values, const Rows& rows = {},
                       const QDateTime& preparedAt = QDateTime::currentDateTime());

// text with every "[Name]" replaced by the value of Name (nothing when it has none). Values
// are put in as they are, never searched for brackets themselves; a "[" that no "]" closes
// stays as it is.
QString fillPlaceholders(const QString& text, const ValueLookup& lookup);

}  // namespace report
