#include "console/ui/envelopedrawing.h"

#include <QPainter>
#include <QPolygon>

namespace {

void polygon(QPainter& painter, const QColor& color, const QPolygon& points)
{
    painter.setPen(color);
    painter.setBrush(color);
    painter.drawPolygon(points);
}

// A rectangle from (left, top) to (right, bottom), right and bottom edges excluded.
void rectangle(QPainter& painter, const QColor& color, int left, int top, int right, int bottom)
{
    if (right > left && bottom > top)
        painter.fillRect(QRect(left, top, right - left, bottom - top), color);
}

}  // namespace

void paintEnvelope(QPainter& painter, const QRect& frame,
                   const std::array<int, ConsoleSettings::SliderCount>& positions)
{
    const int x0 = frame.left() + 1;
    const int y0 = frame.top() + 4;
    const int w = frame.width() - 1;
    const int h = frame.height() - 6;
    const int yb = y0 + h;

    painter.save();
    rectangle(painter, Qt::white, frame.left(), frame.top(), x0 + w, yb);

    int a = 100 - positions[ConsoleSettings::Attack];
    int hold = 100 - positions[ConsoleSettings::Hold];
    int d = 100 - positions[ConsoleSettings::Decay];
    int r = 100 - positions[ConsoleSettings::Release];
    const int sustainPosition = positions[ConsoleSettings::Sustain];
    const int total = hold + a + d + r;
    if (total > 100) {
        a = a * 100 / total;
        hold = hold * 100 / total;
        d = d * 100 / total;
        r = r * 100 / total;
    }

    const int xa = x0 + w * a / 100;
    polygon(painter, QColor(0xff, 0x00, 0x00), QPolygon({{x0, yb}, {xa, yb}, {xa, y0}}));
    const int xh = xa + w * hold / 100;
    rectangle(painter, QColor(0x80, 0x00, 0x80), xa, y0, xh, yb + 1);
    const int xd = xh + w * d / 100;
    const int ys = y0 + h * sustainPosition / 100;
    polygon(painter, QColor(0x00, 0x00, 0xff),
            QPolygon({{xh, y0}, {xd, ys}, {xd, yb + 1}, {xh, yb + 1}}));
    int xs = xd;
    if (total < 100) {
        xs = x0 + w - w * r / 100;
        rectangle(painter, QColor(0x00, 0x80, 0x00), xd, ys, xs, yb + 1);
    }
    polygon(painter, QColor(0x00, 0x00, 0x80),
            QPolygon({{xs, ys}, {x0 + w - 1, yb + 1}, {xs, yb + 1}}));
    painter.restore();
}
