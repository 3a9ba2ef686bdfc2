#pragma once

#include <QColor>
#include <QLabel>
#include <QTimer>

// A text that carries a web address: navy, bold and underlined, under a hand-shaped pointer.
// While the pointer is over it the text is red; a click opens the address in the user's
// browser (a beep when none takes it) and marks the label visited, after which the colour
// that comes back when the pointer leaves is maroon.
class LinkLabel : public QLabel
{
    Q_OBJECT

public:
    static inline const QColor kNavy{0, 0, 128};
    static inline const QColor kHover{255, 0, 0};
    static inline const QColor kVisited{128, 0, 0};
    // How often a hovered label looks whether the pointer has left it.
    static constexpr int kHoverCheckMs = 100;
    // The longest address handed to the browser; a longer one is cut.
    static constexpr int kMaxAddressLength = 1023;

    explicit LinkLabel(QWidget* parent = nullptr);

    QString address() const { return address_; }
    void setAddress(const QString& address) { address_ = address; }
    bool visited() const { return visited_; }
    // The colour the text is shown in now.
    QColor colour() const;

    // What a click does: opens the address, if any, and marks the label visited.
    void open();

protected:
    void enterEvent(QEnterEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void checkHover();
    void showColour(const QColor& colour);

    QString address_;
    bool visited_ = false;
    bool pressed_ = false;
    QTimer hoverCheck_;
};
