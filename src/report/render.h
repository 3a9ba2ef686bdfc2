#pragma once

#include "report/reportmodel.h"

#include <QByteArray>
#include <QImage>
#include <QList>

class QPageLayout;
class QPagedPaintDevice;

// One painter path for every printed form of a report: printers, PDF files and previews.
namespace report {

// Paints the pages firstPage..lastPage (counted from 1; lastPage 0 means to the end), each on
// a page of its own. Positions are measured from the paper's corner, whatever margins the
// device keeps. False when the device cannot be painted on.
bool paintReport(QPagedPaintDevice& device, const PreparedReport& report, int firstPage = 1,
                 int lastPage = 0);

// Where a text occurs in a report: characters start..start + length of a text of a page.
struct TextHit
{
    int page = 0;  // from 0
    int text = 0;  // index into the page's texts
    qsizetype start = 0;
    qsizetype length = 0;

    bool operator==(const TextHit&) const = default;
};

// Every occurrence of needle, without regard to case, page by page and text by text.
QList<TextHit> findText(const PreparedReport& report, const QString& needle);

// A page (from 0) painted on white paper at dpi dots per inch, the hits on it marked in
// yellow behind their letters.
QImage pageImage(const PreparedReport& report, int page, double dpi,
                 const QList<TextHit>& hits = {});

// The whole report as a PDF document on its own paper.
QByteArray pdfDocument(const PreparedReport& report, const QString& title);

// The pages firstPage..lastPage (as paintReport counts them) as a PDF document on the paper of
// layout, whose margins are ignored.
QByteArray pdfDocument(const PreparedReport& report, const QString& title,
                       const QPageLayout& layout, int firstPage, int lastPage);

// Writes pdfDocument to path; on failure the file is left as it was and error says why.
bool writePdf(const PreparedReport& report, const QString& path, const QString& title,
              QString* error = nullptr);

}  // namespace report
