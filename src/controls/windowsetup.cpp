#include "controls/windowsetup.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <array>
#include <iterator>

namespace {

// Enter (Return or the keypad's) presses the focused push button, as Space does. Buttons that
// take Enter themselves (a dialog's default and auto-default buttons) are left to it, and a
// key meant for any other control is not touched.
class EnterPressesButtons final : public QObject
{
public:
    using QObject::QObject;

    static constexpr const char* kName = "EnterPressesButtons";

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* button = qobject_cast<QPushButton*>(watched);
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (!button || !button->hasFocus() || button->autoDefault() || button->isDefault() ||
            (key->modifiers() & ~Qt::KeypadModifier) ||
            (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter))
            return false;
        // A held key presses once; its repeats go nowhere else either.
        if (button->isEnabled() && !key->isAutoRepeat())
            button->click();
        return true;
    }
};

}  // namespace

void setFixedWindow(QWidget* window, Qt::WindowFlags titleBarButtons)
{
    if (QCoreApplication* application = QCoreApplication::instance();
        application && !application->findChild<QObject*>(QLatin1String(EnterPressesButtons::kName),
                                                         Qt::FindDirectChildrenOnly)) {
        auto* filter = new EnterPressesButtons(application);
        filter->setObjectName(QLatin1String(EnterPressesButtons::kName));
        application->installEventFilter(filter);
    }
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

namespace {

struct PictureNames
{
    Picture role;
    std::array<const char*, 2> theme;  // freedesktop names, the first found wins
    QStyle::StandardPixmap fallback;
};

constexpr PictureNames kPictures[] = {
    {Picture::Help, {"help-contents", "help-browser"}, QStyle::SP_DialogHelpButton},
    {Picture::Paste, {"edit-paste", nullptr}, QStyle::SP_DialogApplyButton},
    {Picture::Calendar, {"x-office-calendar", nullptr}, QStyle::SP_FileDialogDetailedView},
    {Picture::Clear, {"edit-clear", nullptr}, QStyle::SP_DialogResetButton},
    {Picture::Close, {"window-close", nullptr}, QStyle::SP_TitleBarCloseButton},
    {Picture::Play, {"media-playback-start", nullptr}, QStyle::SP_MediaPlay},
};

}  // namespace

QIcon pictureIcon(const QWidget* button, Picture role)
{
    const PictureNames& names =
        *std::find_if(std::begin(kPictures), std::end(kPictures),
                      [role](const PictureNames& entry) { return entry.role == role; });
    for (const char* name : names.theme) {
        if (name && QIcon::hasThemeIcon(QLatin1String(name)))
            return QIcon::fromTheme(QLatin1String(name));
    }
    return button->style()->standardIcon(names.fallback, nullptr, button);
}

QFont arialPixels(int pixels, bool bold)
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}
