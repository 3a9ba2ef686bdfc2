#include "numerology/datecalc.h"

#include "numerology/analysis.h"

namespace numerology {

DateAnalysis AnalyzeDate(const QDate& date)
{
    const QString digits = date.toString(QStringLiteral("ddMMyyyy"));
    const auto digitAt = [&](int i) { return digits[i].digitValue(); };
    DateAnalysis d;
    d.dayTotal = ReduceChain(std::uint64_t(date.day()));
    // October to December count as 1 to 3: the sum of the month's two digits.
    const int month = digitAt(2) + digitAt(3);
    const int monthDay = digitAt(0) + digitAt(1) + month;
    d.monthDayTotal = ReduceChain(std::uint64_t(monthDay));
    d.dateSum = monthDay + digitAt(4) + digitAt(5) + digitAt(6) + digitAt(7);
    d.dateTotal = ReduceChain(std::uint64_t(d.dateSum));
    return d;
}

QString NameAndDate(int nameTotal, int dateSum)
{
    if (nameTotal <= 0 || dateSum <= 0)
        return {};
    return ReduceChain(std::uint64_t(nameTotal) + std::uint64_t(dateSum));
}

}  // namespace numerology
