#include "report/render.h"

#include "fileio/files.h"

#include <QBuffer>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

namespace report {

namespace {

Qt::Alignment alignmentOf(Align align)
{
    switch (align) {
    case Align::Right:
        return Qt::AlignRight;
    case Align::Centre:
        return Qt::AlignHCenter;
    case Align::Left:
        break;
    }
    return Qt::AlignLeft;
}

}  // namespace

bool paintReport(QPagedPaintDevice& device, const PreparedReport& report, int firstPage,
                 int lastPage)
{
    const int last = lastPage <= 0 ? int(report.pages.size())
                                   : std::min<int>(lastPage, int(report.pages.size()));
    const int first = std::max(firstPage, 1);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    const double sx = device.logicalDpiX() / kUnitsPerInch;
    const double sy = device.logicalDpiY() / kUnitsPerInch;
    // The device paints from the corner of its paint area; move the origin to the paper's.
    const QPointF corner = device.pageLayout().paintRectPixels(device.logicalDpiX()).topLeft();
    const auto toDevice = [&](const QPointF& p) {
        return QPointF(p.x() * sx - corner.x(), p.y() * sy - corner.y());
    };

    for (int number = first; number <= last; ++number) {
        if (number > first && !device.newPage())
            return false;
        const Page& page = report.pages[number - 1];
        for (const LineObject& line : page.lines) {
            painter.setPen(QPen(Qt::black, line.width * sx));
            painter.drawLine(QLineF(toDevice(line.line.p1()), toDevice(line.line.p2())));
        }
        painter.setPen(Qt::black);
        for (const TextObject& text : page.texts) {
            QFont font(text.font.family);
            font.setPointSizeF(text.font.pointSize);
            font.setBold(text.font.bold);
            painter.setFont(font);
            const QRectF box(toDevice(text.box.topLeft()), toDevice(text.box.bottomRight()));
            painter.drawText(box, int(alignmentOf(text.align) | Qt::AlignTop | Qt::TextDontClip),
                             text.text);
        }
    }
    return painter.end();
}

QByteArray pdfDocument(const PreparedReport& report, const QString& title)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Sonarith"));
        writer.setPageLayout(QPageLayout(report.setup.paper, QPageLayout::Portrait, QMarginsF()));
        paintReport(writer, report);
    }
    return buffer.data();
}

bool writePdf(const PreparedReport& report, const QString& path, const QString& title,
              QString* error)
{
    return fileio::saveFile(path, pdfDocument(report, title), error);
}

}  // namespace report
