#pragma once

#include "report/reportmodel.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// Prepared reports saved to be opened again in the preview: a first line that names the
// format and its version ("Sonarith saved report 1"), then the report's title and pages as
// JSON, every position in template units as in the page model.
namespace report {

inline constexpr int kReportFileVersion = 1;
inline constexpr char kReportFileSuffix[] = "srp";

struct SavedReport
{
    QString title;
    PreparedReport report;
};

QByteArray reportFileContent(const SavedReport& saved);

// The report a file's content holds; none when it holds none, error then saying why in words
// for the user ("not a saved report", "saved by a later version of Sonarith", "damaged: ...").
std::optional<SavedReport> parseReportFile(QByteArrayView content, QString* error = nullptr);

// Writes through fileio::saveFile: on failure the file is left as it was and error holds the
// system's reason.
bool saveReportFile(const SavedReport& saved, const QString& path, QString* error = nullptr);
// Reads and parses the file at path; none with the reason in error.
std::optional<SavedReport> openReportFile(const QString& path, QString* error = nullptr);

}  // namespace report
