#include "controls/windowsetup.h"

#include <QScreen>
#include <QWidget>

void setFixedWindow(QWidget* window, Qt::WindowFlags titleBarButtons)
{
    Qt::WindowFlags kind = window->windowFlags() & Qt::WindowType_Mask;
    if (kind == Qt::Widget)
        kind = Qt::Window;
    window->setWindowFlags(kind | Qt::CustomizeWindowHint | titleBarButtons);
    window->setFixedSize(window->size());
}

void centreOnScreen(QWidget* window)
{
    const QScreen* screen = window->screen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}
