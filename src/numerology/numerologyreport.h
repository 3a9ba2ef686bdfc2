#pragma once

#include "report/layout.h"

#include <QDate>
#include <QString>
#include <array>
#include <optional>

// The numerology calculator's report: the printed page (frReport1), the plainer layout that
// is exported as rich text (frReport2), and the values both ask for by name.
namespace numerology {

// What the calculator shows, as the reports print it.
struct ReportValues
{
    QString method;  // the method button's caption
    QString data;    // the data text as it stands (a Y marked as vowel in lower case)
    QString vowels;
    QString consonants;
    QString vowelTotal;  // VTotal
    QString consonantTotal;
    QString total;
    std::array<QString, 9> vowelCounts;  // V1..V9
    std::array<QString, 9> consonantCounts;
    std::array<QString, 9> totalCounts;
    QString vowelCount;  // vvt
    QString consonantCount;
    QString letterCount;
    bool datePanelShown = false;
    int dateSum = 0;
    QDate date;           // the date field's date, when it holds one
    QString dayTotal;     // DyTot
    QString dateTotal;    // DtTot
    QString nameAndDate;  // NmDt
};

// The values for a text analysed with a method, and with the date calculator open on date
// when one is given: what the calculator shows after the same steps.
ReportValues AnalysisReportValues(int method, const QString& data,
                                  const std::optional<QDate>& date = std::nullopt);

// frReport1GetValue: the value of a report variable (names compared exactly); none for an
// unknown name and for the date results while the date panel is hidden.
std::optional<QString> frReport1GetValue(const ReportValues& values, const QString& name);

// "Dates": the date as m/d/yyyy with the system's date separator, when a date was calculated
// and the date panel is shown; otherwise empty.
QString ReportDate(const ReportValues& values);

report::Layout frReport1();  // the print report
report::Layout frReport2();  // the export report

report::PreparedReport PrepareReport(const report::Layout& layout, const ReportValues& values,
                                     const QDateTime& preparedAt = QDateTime::currentDateTime());

}  // namespace numerology
