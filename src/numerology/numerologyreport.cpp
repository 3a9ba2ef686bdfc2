#include "numerology/numerologyreport.h"

#include "numerology/analysis.h"
#include "numerology/datecalc.h"
#include "numerology/letters.h"
#include "report/siteaddress.h"

#include <QLocale>

namespace numerology {

namespace {

using report::Align;
using report::Band;
using report::TemplateText;
using report::TextFont;

TextFont arial(double size, bool bold = false)
{
    return {QStringLiteral("Arial"), size, bold};
}

const TextFont kLabel = arial(11, true);
const TextFont kCourier{QStringLiteral("Courier New"), 12, true};

// Heights the templates leave open: one line of the font, rounded up.
constexpr double kLineHeight = 20;
constexpr double kTableHeight = 52;  // three lines of the count table

// A text at page position x, y of a band whose top is bandTop.
TemplateText at(double bandTop, double x, double y, double width, const QString& text,
                const TextFont& font, Align align = Align::Left, double height = kLineHeight)
{
    return {QRectF(x, y - bandTop, width, height), text, font, align, {}};
}

// The labels of the date line read "[s]": a script words them only when there is a date.
TemplateText scripted(TemplateText text, const QString& label)
{
    text.text = QStringLiteral("[s]");
    text.script = [label](const report::ValueLookup& values, QHash<QString, QString>& variables) {
        const QString dates = values(QStringLiteral("Dates")).value_or(QString());
        variables[QStringLiteral("s")] =
            dates.isEmpty() ? QString() : (label.isEmpty() ? dates + u':' : label);
    };
    return text;
}

// "[V1]\n[C1]\n[T1]": one column of the count table.
QString countColumn(int k)
{
    return QStringLiteral("[V%1]\n[C%1]\n[T%1]").arg(k);
}

QChar dateSeparator()
{
    for (const QChar c : QLocale().dateFormat(QLocale::ShortFormat)) {
        if (!c.isLetterOrNumber() && !c.isSpace() && c != u'\'')
            return c;
    }
    return u'/';
}

}  // namespace

ReportValues AnalysisReportValues(int method, const QString& data, const std::optional<QDate>& date)
{
    const NameAnalysis a = AnalyzeName(data, method);
    const DigitCounts counts = CountDigits(a.vowels, a.consonants);
    ReportValues values;
    values.method = MethodName(method);
    values.data = data;
    values.vowels = a.vowels;
    values.consonants = a.consonants;
    values.vowelTotal = ReduceChain(std::uint64_t(a.vowelSum));
    values.consonantTotal = ReduceChain(std::uint64_t(a.consonantSum));
    values.total = ReduceChain(std::uint64_t(a.nameTotal));
    for (std::size_t i = 0; i < 9; ++i) {
        values.vowelCounts[i] = QString::number(counts.vowels[i]);
        values.consonantCounts[i] = QString::number(counts.consonants[i]);
        values.totalCounts[i] = QString::number(counts.totals[i]);
    }
    values.vowelCount = QString::number(counts.vowelCount);
    values.consonantCount = QString::number(counts.consonantCount);
    values.letterCount = QString::number(counts.letterCount);
    if (date) {
        const DateAnalysis d = AnalyzeDate(*date);
        values.datePanelShown = true;
        values.date = *date;
        values.dateSum = d.dateSum;
        values.dayTotal = d.dayTotal;
        values.dateTotal = d.dateTotal;
        values.nameAndDate = NameAndDate(a.nameTotal, d.dateSum);
    }
    return values;
}

QString ReportDate(const ReportValues& values)
{
    if (values.dateSum <= 0 || !values.datePanelShown || !values.date.isValid())
        return {};
    const QChar separator = dateSeparator();
    return QString::number(values.date.month()) + separator + QString::number(values.date.day()) +
           separator + QStringLiteral("%1").arg(values.date.year(), 4, 10, QLatin1Char('0'));
}

std::optional<QString> frReport1GetValue(const ReportValues& values, const QString& name)
{
    const QHash<QString, QString> texts{
        {QStringLiteral("Method"), values.method},
        {QStringLiteral("Data"), UpperLetters(values.data)},
        {QStringLiteral("Vowels"), values.vowels},
        {QStringLiteral("Consonants"), values.consonants},
        {QStringLiteral("VTot"), values.vowelTotal},
        {QStringLiteral("CTot"), values.consonantTotal},
        {QStringLiteral("Total"), values.total},
        {QStringLiteral("vvt"), values.vowelCount},
        {QStringLiteral("cct"), values.consonantCount},
        {QStringLiteral("ttt"), values.letterCount},
        {QStringLiteral("Dates"), ReportDate(values)},
        {QStringLiteral("nameftr"), report::SiteAddress},
        {QStringLiteral("master"), QStringLiteral("33")},
    };
    if (const auto found = texts.constFind(name); found != texts.cend())
        return *found;
    if (name.size() == 2 && name[1] >= u'1' && name[1] <= u'9') {
        const std::size_t i = std::size_t(name[1].unicode() - u'1');
        if (name[0] == u'V')
            return values.vowelCounts[i];
        if (name[0] == u'C')
            return values.consonantCounts[i];
        if (name[0] == u'T')
            return values.totalCounts[i];
    }
    if (values.datePanelShown) {
        if (name == u"DateTotal")
            return values.dateTotal;
        if (name == u"NameDate")
            return values.nameAndDate;
        if (name == u"DayTot")
            return values.dayTotal;
    }
    return std::nullopt;
}

report::Layout frReport1()
{
    report::Layout layout;
    layout.setup.margins = QMarginsF(91, 91, 47, 91);
    constexpr double top = 91;  // the band starts on the top margin
    Band& page = layout.title;
    page.height = 872 - top;
    page.texts = {
        at(top, 92, 96, 636, QStringLiteral("[Data]"), arial(18), Align::Left, 28),
        at(top, 612, 136, 116, QStringLiteral("Total"), arial(12, true)),
        at(top, 94, 164, 94, QStringLiteral("Vowels:"), kLabel, Align::Right),
        at(top, 192, 164, 416, QStringLiteral("[Vowels]"), kCourier),
        at(top, 612, 164, 116, QStringLiteral("[VTot]"), arial(11)),
        at(top, 94, 192, 94, QStringLiteral("Data:"), kLabel, Align::Right),
        at(top, 192, 192, 416, QStringLiteral("[Data]"), kCourier),
        at(top, 612, 192, 116, QStringLiteral("[Total]"), arial(11)),
        at(top, 94, 220, 94, QStringLiteral("Consonants:"), kLabel, Align::Right),
        at(top, 192, 220, 412, QStringLiteral("[Consonants]"), kCourier),
        at(top, 612, 220, 116, QStringLiteral("[CTot]"), arial(11)),
    };
    for (int k = 1; k <= 9; ++k) {
        const double x = 192 + 28 * (k - 1);
        page.texts << at(top, x, 256, 22, QString::number(k), kLabel, Align::Right)
                   << at(top, x, 284, 22, countColumn(k), arial(11), Align::Right, kTableHeight);
    }
    page.texts << at(top, 444, 256, 42, QStringLiteral("Total"), kLabel, Align::Right)
               << at(top, 94, 284, 94, QStringLiteral("Vowels:\nConsonants:\nTotals:"), kLabel,
                     Align::Right, kTableHeight)
               << at(top, 456, 284, 30, QStringLiteral("[vvt]\n[cct]\n[ttt]"), arial(11),
                     Align::Right, kTableHeight)
               << at(top, 592, 284, 112, QStringLiteral("[Method]\nSystem"), arial(14),
                     Align::Centre, kTableHeight)
               << scripted(at(top, 96, 356, 94, {}, kLabel, Align::Right), {})
               << at(top, 192, 356, 108, QStringLiteral("[DateTotal]"), arial(11))
               << scripted(at(top, 336, 356, 126, {}, kLabel, Align::Right),
                           QStringLiteral("Name and Date:"))
               << at(top, 464, 356, 108, QStringLiteral("[NameDate]"), arial(11))
               << scripted(at(top, 616, 356, 38, {}, kLabel, Align::Right), QStringLiteral("Day:"))
               << at(top, 656, 356, 68, QStringLiteral("[DayTot]"), arial(11))
               << at(top, 92, 392, 56, QStringLiteral("Notes:"), kLabel);
    page.lines = {{QLineF(92, 126 - top, 728, 126 - top), 1},
                  {QLineF(148, 408 - top, 728, 408 - top), 1}};
    // Lines to write on.
    for (int y = 448; y <= 848; y += 40)
        page.lines.append({QLineF(92, y - top, 728, y - top), 1});

    constexpr double footer = 872;
    layout.pageFooter.height = 42;
    layout.pageFooter.texts = {
        at(footer, 96, 896, 164, QStringLiteral("Printed:  [DATE] [TIME]"), arial(8)),
        at(footer, 284, 896, 440, QStringLiteral("[nameftr]"), arial(8), Align::Right),
    };
    return layout;
}

report::Layout frReport2()
{
    report::Layout layout;  // no margins
    Band& page = layout.title;
    page.height = 272;
    // The print report's right-aligned labels are padded with blanks here instead.
    page.texts = {
        at(0, 124, 24, 168, QStringLiteral("[Method] System"), arial(12, true)),
        at(0, 544, 24, 116, QStringLiteral("Total"), arial(12, true)),
        at(0, 29, 52, 94, QStringLiteral("        Vowels:"), kLabel),
        at(0, 124, 52, 416, QStringLiteral("[Vowels]"), kCourier),
        at(0, 544, 52, 116, QStringLiteral("[VTot]"), arial(11)),
        at(0, 26, 70, 96, QStringLiteral("             Data:"), kLabel),
        at(0, 124, 70, 416, QStringLiteral("[Data]"), kCourier),
        at(0, 544, 70, 116, QStringLiteral("[Total]"), arial(11)),
        at(0, 26, 89, 96, QStringLiteral("Consonants:"), kLabel),
        at(0, 124, 89, 416, QStringLiteral("[Consonants]"), kCourier),
        at(0, 544, 89, 116, QStringLiteral("[CTot]"), arial(11)),
    };
    for (int k = 1; k <= 9; ++k) {
        const double x = 124 + 28 * (k - 1);
        page.texts << at(0, x, 148, 22, QString::number(k), kLabel)
                   << at(0, x, 160, 22, countColumn(k), arial(11), Align::Left, kTableHeight);
    }
    page.texts << at(0, 376, 148, 42, QStringLiteral("Total"), kLabel)
               << at(0, 26, 160, 96,
                     QStringLiteral("         Vowels:\nConsonants:\n          Totals:"), kLabel,
                     Align::Left, kTableHeight)
               << at(0, 388, 160, 30, QStringLiteral("[vvt]\n[cct]\n[ttt]"), arial(11), Align::Left,
                     kTableHeight)
               << scripted(at(0, 40, 244, 82, {}, kLabel), {})
               << at(0, 120, 244, 108, QStringLiteral("[DateTotal]"), arial(11))
               << scripted(at(0, 276, 244, 116, {}, kLabel), QStringLiteral("Name and Date:"))
               << at(0, 392, 244, 108, QStringLiteral("[NameDate]"), arial(11))
               << scripted(at(0, 548, 244, 34, {}, kLabel), QStringLiteral("Day:"))
               << at(0, 582, 244, 68, QStringLiteral("[DayTot]"), arial(11));
    return layout;
}

report::PreparedReport PrepareReport(const report::Layout& layout, const ReportValues& values,
                                     const QDateTime& preparedAt)
{
    return report::prepare(
        layout, [&values](const QString& name) { return frReport1GetValue(values, name); }, {},
        preparedAt);
}

}  // namespace numerology
