#pragma once

#include <Qt>

class QWidget;

// Fixes a window at the size its form gives and sets its title-bar buttons.
void setFixedWindow(QWidget* window, Qt::WindowFlags titleBarButtons);

// Title-bar button sets of the program's windows.
inline constexpr Qt::WindowFlags kDialogButtons =
    Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
inline constexpr Qt::WindowFlags kMinimizableButtons =
    kDialogButtons | Qt::WindowMinimizeButtonHint;
inline constexpr Qt::WindowFlags kNoButtons = Qt::WindowTitleHint;

// Moves a window so that its frame is centred on the available area of its screen.
void centreOnScreen(QWidget* window);
