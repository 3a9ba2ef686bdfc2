#pragma once

#include "report/reportmodel.h"

#include <QByteArray>

class QPagedPaintDevice;

// One painter path for every printed form of a report: printers, PDF files and previews.
namespace report {

// Paints the pages firstPage..lastPage (counted from 1; lastPage 0 means to the end), each on
// a page of its own. Positions are measured from the paper's corner, whatever margins the
// device keeps. False when the device cannot be painted on.
bool paintReport(QPagedPaintDevice& device, const PreparedReport& report, int firstPage = 1,
                 int lastPage = 0);

// The whole report as a PDF document.
QByteArray pdfDocument(const PreparedReport& report, const QString& title);

// Writes pdfDocument to path; on failure the file is left as it was and error says why.
bool writePdf(const PreparedReport& report, const QString& path, const QString& title,
              QString* error = nullptr);

}  // namespace report
