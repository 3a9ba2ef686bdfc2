#include "shell/ui/hookhelpsystem.h"

#include "controls/uiservices.h"
#include "shell/ui/helpviewer.h"

#include <QApplication>

namespace {

THookHelpSystem* inForce = nullptr;

}  // namespace

THookHelpSystem::THookHelpSystem(const QString& helpFile, HelpViewer& viewer)
    : helpFile_(helpFile), viewer_(viewer), previous_(inForce)
{
    inForce = this;
}

THookHelpSystem::~THookHelpSystem()
{
    viewer_.CloseAll();
    if (inForce == this)
        inForce = previous_;
}

THookHelpSystem* THookHelpSystem::current()
{
    return inForce;
}

bool THookHelpSystem::Request(Command command, qint64 data)
{
    return inForce && inForce->HelpCommand(command, data);
}

bool THookHelpSystem::HelpCommand(Command command, qint64 data)
{
    if (previous_)
        previous_->HelpCommand(command, data);
    switch (command) {
    case HelpContext:
    case HelpContextPopup:
        if (!viewer_.DisplayContext(helpFile_, int(data)))
            UiServices::instance().showMessage(QApplication::activeWindow(),
                                               QStringLiteral("MS Html Help is not installed on "
                                                              "this PC."),
                                               UiServices::MessageKind::Warning);
        return true;
    case HelpSetPopupPos:
        popupPosition_ = QPoint(int(qint16(data & 0xffff)), int(qint16((data >> 16) & 0xffff)));
        return true;
    }
    return false;
}
