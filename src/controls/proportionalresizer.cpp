#include "controls/proportionalresizer.h"

#include <QWidget>
#include <algorithm>
#include <cmath>

ProportionalResizer::ProportionalResizer(QWidget* window)
    : QObject(window), window_(window), size_(window->size())
{
    const QList<QWidget*> children = window->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (child->isWindow())
            continue;
        controls_.append({child, child->geometry(), child->font().pointSize()});
    }
}

void ProportionalResizer::Resize()
{
    if (size_.isEmpty())
        return;
    const double horizontal = double(window_->width()) / size_.width();
    const double vertical = double(window_->height()) / size_.height();
    const bool recorded = window_->size() == size_;
    for (const Control& control : std::as_const(controls_)) {
        if (!control.widget)
            continue;
        QFont font = control.widget->font();
        if (recorded) {
            control.widget->setGeometry(control.bounds);
            if (control.pointSize > 0)
                font.setPointSize(control.pointSize);
        } else {
            const QRect& r = control.bounds;
            control.widget->setGeometry(
                int(std::lround(r.left() * horizontal)), int(std::lround(r.top() * vertical)),
                int(std::lround(r.width() * horizontal)), int(std::lround(r.height() * vertical)));
            if (control.pointSize > 0)
                font.setPointSize(std::clamp(int(std::lround(control.pointSize * vertical)),
                                             kSmallestFont, kLargestFont));
        }
        if (control.pointSize > 0)
            control.widget->setFont(font);
    }
    Q_EMIT PostResize(horizontal, vertical);
}
