#include "shell/ui/helpviewer.h"

#include "controls/uiservices.h"
#include "shell/helpaddress.h"
#include "shell/ui/helpwindow.h"

#include <QApplication>
#include <QWindow>

HelpViewer::HelpViewer(QObject* parent) : QObject(parent) {}

HelpViewer::~HelpViewer() = default;

bool HelpViewer::DisplayTopic(const QString& address)
{
    const shell::HelpAddress target = shell::HelpAddress::parse(address);
    QString error;
    if (show(target.file, target.page, &error))
        return true;
    UiServices::instance().showMessage(QApplication::activeWindow(), error,
                                       UiServices::MessageKind::Warning);
    return false;
}

bool HelpViewer::DisplayContext(const QString& file, int)
{
    QString error;
    return show(file, QString(), &error);
}

void HelpViewer::CloseAll()
{
    window_.reset();
}

bool HelpViewer::show(const QString& file, const QString& page, QString* error)
{
    if (!window_ || window_->fileName() != file) {
        auto window = std::make_unique<HelpWindow>();
        if (!window->openFile(file, error))
            return false;
        window_ = std::move(window);
    }
    window_->showPage(page);
    // A modal window blocks every window but its own: the help window becomes one of the
    // modal window's own, so that it can be read and used while that window is open.
    window_->winId();
    const QWidget* modal = QApplication::activeModalWidget();
    window_->windowHandle()->setTransientParent(modal ? modal->windowHandle() : nullptr);
    window_->show();
    window_->raise();
    window_->activateWindow();
    return true;
}
