#pragma once

#include <QDate>
#include <QString>

// The date calculator: a date reduced by its day, its month and day, and as a whole, and
// combined with a name's total.
namespace numerology {

struct DateAnalysis
{
    QString dayTotal;       // the day number's chain
    QString monthDayTotal;  // day digits plus the month's count
    QString dateTotal;      // all eight digits of "ddmmyyyy"
    int dateSum = 0;
};

DateAnalysis AnalyzeDate(const QDate& date);

// The chain of nameTotal + dateSum; empty unless both are above 0.
QString NameAndDate(int nameTotal, int dateSum);

}  // namespace numerology
