#pragma once

#include "report/reportmodel.h"

#include <QByteArray>

// The rich-text export of a prepared report.
namespace report {

// Texts that start on the same height form a row; each line of a row is a paragraph whose
// tab stops put every text at its column (left, right or centred as in the report), with
// the space above it that the report leaves. Empty lines are kept; rules are left out; pages
// follow each other without page breaks.
QByteArray rtfDocument(const PreparedReport& report);

// Writes rtfDocument to path; on failure the file is left as it was and error says why.
bool writeRtf(const PreparedReport& report, const QString& path, QString* error = nullptr);

}  // namespace report
