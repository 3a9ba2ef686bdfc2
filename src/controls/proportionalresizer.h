#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>

class QWidget;

// Keeps the controls of a window in proportion to it. Made once the window is built, it
// records the window's size and the bounds and font size of every control in it; Resize()
// then scales them to the window's current size: left and width by the horizontal ratio,
// top, height and font size by the vertical one (fonts from 8 to 48 points). At the recorded
// size every control gets back exactly what was recorded.
class ProportionalResizer : public QObject
{
    Q_OBJECT

public:
    static constexpr int kSmallestFont = 8;
    static constexpr int kLargestFont = 48;

    explicit ProportionalResizer(QWidget* window);

    QSize recordedSize() const { return size_; }
    // Scales every control to the window's size now, then reports the ratios.
    void Resize();

Q_SIGNALS:
    void PostResize(double horizontal, double vertical);

private:
    struct Control
    {
        QPointer<QWidget> widget;
        QRect bounds;
        int pointSize;  // -1 when the font is sized in pixels: it is then left alone
    };

    QWidget* window_;
    QSize size_;
    QList<Control> controls_;
};
