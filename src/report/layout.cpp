#include "report/layout.h"

#include <QLocale>
#include <cmath>

namespace report {

namespace {

struct Placement
{
    const Band* band;
    int row;  // the row the band belongs to, -1 for none
    int page;
    double top;
};

// Pass one: where each band goes. Bands never stretch, so their heights alone decide.
QList<Placement> placeBands(const Layout& layout, const Rows& rows, int* pageCount)
{
    const QSizeF paper = layout.setup.sizeInUnits();
    const double top = layout.setup.margins.top();
    // Template positions are whole units: the footer starts on the unit above the margin.
    const double footerTop =
        std::floor(paper.height() - layout.setup.margins.bottom() - layout.pageFooter.height);

    QList<Placement> placed;
    int page = 0;
    double y = top;
    const auto put = [&](const Band& band, int row) {
        if (band.isEmpty())
            return;
        placed.append({&band, row, page, y});
        y += band.height;
    };
    const auto finishPage = [&] {
        if (!layout.pageFooter.isEmpty())
            placed.append({&layout.pageFooter, -1, page, footerTop});
    };

    put(layout.title, -1);
    put(layout.pageHeader, -1);
    const bool grouped = !layout.groupField.isEmpty() && !layout.groupHeader.isEmpty();
    const auto groupOf = [&](int row) {
        return rows.value ? rows.value(row, layout.groupField).value_or(QString()) : QString();
    };
    for (int row = 0; row < rows.count; ++row) {
        const bool newGroup = grouped && (row == 0 || groupOf(row) != groupOf(row - 1));
        // A group header never stands alone at the foot of a page: it goes with its first row.
        const double needed = layout.detail.height + (newGroup ? layout.groupHeader.height : 0);
        const bool pageHasRows =
            !placed.isEmpty() && placed.back().row >= 0 && placed.back().page == page;
        if (y + needed > footerTop && pageHasRows) {
            finishPage();
            ++page;
            y = top;
            put(layout.pageHeader, -1);
        }
        if (newGroup)
            put(layout.groupHeader, row);
        put(layout.detail, row);
    }
    finishPage();
    *pageCount = page + 1;
    return placed;
}

}  // namespace

QString fillPlaceholders(const QString& text, const ValueLookup& lookup)
{
    QString filled;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype open = text.indexOf(u'[', i);
        if (open < 0)
            break;
        const qsizetype close = text.indexOf(u']', open + 1);
        if (close < 0)
            break;
        const qsizetype inner = text.indexOf(u'[', open + 1);
        if (inner >= 0 && inner < close) {
            // "[[Name]": the first bracket is plain text.
            filled += QStringView(text).mid(i, inner - i);
            i = inner;
            continue;
        }
        filled += QStringView(text).mid(i, open - i);
        filled += lookup(text.mid(open + 1, close - open - 1)).value_or(QString());
        i = close + 1;
    }
    filled += QStringView(text).mid(i);
    return filled;
}

PreparedReport prepare(const Layout& layout, const ValueLookup& values, const Rows& rows,
                       const QDateTime& preparedAt)
{
    int pageCount = 1;
    const QList<Placement> placed = placeBands(layout, rows, &pageCount);

    PreparedReport report;
    report.setup = layout.setup;
    report.pages.resize(pageCount);
    const QLocale locale;
    const QString date = locale.toString(preparedAt.date(), QLocale::ShortFormat);
    const QString time = locale.toString(preparedAt.time(), QLocale::ShortFormat);
    const QString total = QString::number(pageCount);

    for (const Placement& at : placed) {
        const QString page = QString::number(at.page + 1);
        const ValueLookup lookup = [&](const QString& name) -> std::optional<QString> {
            if (name == u"DATE")
                return date;
            if (name == u"TIME")
                return time;
            if (name == u"PAGE#")
                return page;
            if (name == u"TOTALPAGES")
                return total;
            if (at.row >= 0 && rows.value) {
                if (std::optional<QString> value = rows.value(at.row, name))
                    return value;
            }
            return values ? values(name) : std::nullopt;
        };
        Page& target = report.pages[at.page];
        for (const TemplateText& text : at.band->texts) {
            QHash<QString, QString> variables;
            if (text.script)
                text.script(lookup, variables);
            const ValueLookup withVariables = [&](const QString& name) -> std::optional<QString> {
                if (const auto found = variables.constFind(name); found != variables.cend())
                    return *found;
                return lookup(name);
            };
            target.texts.append({text.box.translated(0, at.top),
                                 fillPlaceholders(text.text, withVariables), text.font,
                                 text.align});
        }
        for (const LineObject& line : at.band->lines)
            target.lines.append({line.line.translated(0, at.top), line.width});
    }
    return report;
}

}  // namespace report
