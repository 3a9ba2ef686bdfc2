#include "report/ui/printing.h"

#include "controls/uiservices.h"
#include "fileio/files.h"
#include "report/render.h"

#include <QDir>
#include <QPrinter>

namespace report {

void printReport(QWidget* parent, const PreparedReport& report, const QString& documentName)
{
    UiServices& services = UiServices::instance();
    if (services.printerNames().isEmpty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(documentName);
    printer.setPageSize(report.setup.paper);
    printer.setPageOrientation(QPageLayout::Portrait);
    // Report positions are measured from the paper's corner.
    printer.setFullPage(true);
    printer.setCopyCount(1);
    printer.setCollateCopies(true);
    if (!services.choosePrinter(parent, printer, int(report.pages.size())))
        return;
    int first = 1;
    int last = 0;
    if (printer.printRange() == QPrinter::PageRange) {
        first = printer.fromPage();
        last = printer.toPage();
    }
    // Printing to a file would have the printer write straight over it: a full disk would
    // leave it cut short. The document is made whole first and then replaces the file.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        const QString path = printer.outputFileName();
        QString error;
        if (!fileio::saveFile(
                path, pdfDocument(report, printer.docName(), printer.pageLayout(), first, last),
                &error))
            services.showMessage(parent,
                                 QStringLiteral("Cannot create file %1. %2")
                                     .arg(QDir::toNativeSeparators(path), error),
                                 UiServices::MessageKind::Error);
        return;
    }
    if (!paintReport(printer, report, first, last))
        services.showMessage(parent,
                             QStringLiteral("Cannot print on %1").arg(printer.printerName()),
                             UiServices::MessageKind::Error);
}

}  // namespace report
