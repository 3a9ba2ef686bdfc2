#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <Qt>

class QWidget;

// Fixes a window at the size its form gives and sets its title-bar buttons. From the first
// window on, Enter presses the focused push button in every window, as Space does.
void setFixedWindow(QWidget* window, Qt::WindowFlags titleBarButtons);

// Title-bar button sets of the program's windows.
inline constexpr Qt::WindowFlags kDialogButtons =
    Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
inline constexpr Qt::WindowFlags kMinimizableButtons =
    kDialogButtons | Qt::WindowMinimizeButtonHint;
inline constexpr Qt::WindowFlags kNoButtons = Qt::WindowTitleHint;

// The pale blue of read-only fields and tables: colour 16776176 (blue 255, green 251, red 240).
inline constexpr QRgb kPaleBlue = qRgb(240, 251, 255);

// Moves a window so that its frame is centred on the available area of its screen.
void centreOnScreen(QWidget* window);

// Arial at a size in pixels, as the windows were measured (8 points at 96 dots an inch are
// 11 pixels), so that their layouts hold whatever the screen's resolution.
QFont arialPixels(int pixels, bool bold = false);

// The roles of picture buttons.
enum class Picture { Help, Paste, Calendar, Clear, Close, Play };

// The desktop's icon for a picture button's role: the icon theme's (freedesktop names such
// as "edit-clear"), else the style's standard icon.
QIcon pictureIcon(const QWidget* button, Picture role);
