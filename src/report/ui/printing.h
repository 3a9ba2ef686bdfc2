#pragma once

#include "report/reportmodel.h"

class QWidget;

namespace report {

// Prints a prepared report the way every window prints: nothing at all when no printer is
// installed; otherwise the print dialog (one copy, collated, all pages or a range) and, when
// the user confirms, the chosen pages on the chosen printer. documentName names the job.
void printReport(QWidget* parent, const PreparedReport& report, const QString& documentName);

}  // namespace report
