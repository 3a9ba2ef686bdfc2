#include "report/render.h"

#include "fileio/files.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

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

// Paints a page with the paper's corner at -corner; sx and sy are device pixels per unit.
void paintPage(QPainter& painter, const Page& page, double sx, double sy, QPointF corner,
               const QList<TextHit>& hits = {})
{
    const auto toDevice = [&](const QPointF& p) {
        return QPointF(p.x() * sx - corner.x(), p.y() * sy - corner.y());
    };
    const auto fontOf = [](const TextObject& text) {
        QFont font(text.font.family);
        font.setPointSizeF(text.font.pointSize);
        font.setBold(text.font.bold);
        return font;
    };
    for (const TextHit& hit : hits) {
        const TextObject& text = page.texts[hit.text];
        const QFontMetricsF metrics(fontOf(text), painter.device());
        const qsizetype lineStart = QStringView(text.text).left(hit.start).lastIndexOf(u'\n') + 1;
        const qsizetype lineEnd = text.text.indexOf(u'\n', hit.start);
        const QString line = text.text.mid(lineStart, lineEnd < 0 ? -1 : lineEnd - lineStart);
        const int lineNumber = int(QStringView(text.text).left(lineStart).count(u'\n'));
        const QRectF box(toDevice(text.box.topLeft()), toDevice(text.box.bottomRight()));
        const double width = metrics.horizontalAdvance(line);
        double x = box.left();
        if (text.align == Align::Right)
            x = box.right() - width;
        else if (text.align == Align::Centre)
            x = box.center().x() - width / 2;
        x += metrics.horizontalAdvance(line.left(hit.start - lineStart));
        painter.fillRect(QRectF(x, box.top() + lineNumber * metrics.lineSpacing(),
                                metrics.horizontalAdvance(text.text.mid(hit.start, hit.length)),
                                metrics.height()),
                         QColor(255, 255, 0));
    }
    for (const LineObject& line : page.lines) {
        painter.setPen(QPen(Qt::black, line.width * sx));
        painter.drawLine(QLineF(toDevice(line.line.p1()), toDevice(line.line.p2())));
    }
    painter.setPen(Qt::black);
    for (const TextObject& text : page.texts) {
        painter.setFont(fontOf(text));
        const QRectF box(toDevice(text.box.topLeft()), toDevice(text.box.bottomRight()));
        painter.drawText(box, int(alignmentOf(text.align) | Qt::AlignTop | Qt::TextDontClip),
                         text.text);
    }
}

}  // namespace

QList<TextHit> findText(const PreparedReport& report, const QString& needle)
{
    QList<TextHit> hits;
    if (needle.isEmpty())
        return hits;
    for (int page = 0; page < report.pages.size(); ++page) {
        const QList<TextObject>& texts = report.pages[page].texts;
        for (int text = 0; text < texts.size(); ++text) {
            qsizetype from = 0;
            while ((from = texts[text].text.indexOf(needle, from, Qt::CaseInsensitive)) >= 0) {
                hits.append({page, text, from, needle.size()});
                from += needle.size();
            }
        }
    }
    return hits;
}

QImage pageImage(const PreparedReport& report, int page, double dpi, const QList<TextHit>& hits)
{
    const QSizeF paper = report.setup.sizeInUnits() * (dpi / kUnitsPerInch);
    QImage image(paper.toSize(), QImage::Format_RGB32);
    const int dotsPerMetre = int(std::lround(dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    if (page < 0 || page >= report.pages.size())
        return image;
    QList<TextHit> onPage;
    for (const TextHit& hit : hits) {
        if (hit.page == page)
            onPage << hit;
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double scale = image.logicalDpiX() / kUnitsPerInch;
    paintPage(painter, report.pages[page], scale, image.logicalDpiY() / kUnitsPerInch, QPointF(),
              onPage);
    return image;
}

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

    for (int number = first; number <= last; ++number) {
        if (number > first && !device.newPage())
            return false;
        paintPage(painter, report.pages[number - 1], sx, sy, corner);
    }
    return painter.end();
}

QByteArray pdfDocument(const PreparedReport& report, const QString& title)
{
    return pdfDocument(report, title,
                       QPageLayout(report.setup.paper, QPageLayout::Portrait, QMarginsF()), 1, 0);
}

QByteArray pdfDocument(const PreparedReport& report, const QString& title,
                       const QPageLayout& layout, int firstPage, int lastPage)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Sonarith"));
        writer.setPageLayout(QPageLayout(layout.pageSize(), layout.orientation(), QMarginsF()));
        paintReport(writer, report, firstPage, lastPage);
    }
    return buffer.data();
}

bool writePdf(const PreparedReport& report, const QString& path, const QString& title,
              QString* error)
{
    return fileio::saveFile(path, pdfDocument(report, title), error);
}

}  // namespace report
