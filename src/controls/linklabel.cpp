#include "controls/linklabel.h"

#include "controls/uiservices.h"

#include <QCursor>
#include <QEnterEvent>
#include <QMouseEvent>

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent)
{
    // Only weight and underline are the label's own: family and size come from the window
    // until they are set.
    QFont look;
    look.setBold(true);
    look.setUnderline(true);
    setFont(look);
    setCursor(Qt::PointingHandCursor);
    showColour(kNavy);
    hoverCheck_.setInterval(kHoverCheckMs);
    connect(&hoverCheck_, &QTimer::timeout, this, &LinkLabel::checkHover);
}

QColor LinkLabel::colour() const
{
    return palette().color(QPalette::WindowText);
}

void LinkLabel::open()
{
    if (!address_.isEmpty() && !UiServices::instance().openUrl(address_.left(kMaxAddressLength)))
        UiServices::instance().beep();
    visited_ = true;
}

void LinkLabel::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    showColour(kHover);
    hoverCheck_.start();
}

void LinkLabel::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    if (pressed_)
        event->accept();
    else
        QLabel::mousePressEvent(event);
}

// A click is a press and a release of the left button on the label.
void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool clicked = pressed_ && event->button() == Qt::LeftButton &&
                         rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (clicked)
        open();
}

// A font given later (a size, say) keeps the link's weight and underline.
void LinkLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange && (!font().bold() || !font().underline())) {
        QFont look = font();
        look.setBold(true);
        look.setUnderline(true);
        setFont(look);
    }
}

void LinkLabel::checkHover()
{
    if (rect().contains(mapFromGlobal(QCursor::pos())))
        return;
    hoverCheck_.stop();
    showColour(visited_ ? kVisited : kNavy);
}

void LinkLabel::showColour(const QColor& colour)
{
    QPalette shown = palette();
    shown.setColor(QPalette::WindowText, colour);
    setPalette(shown);
}
