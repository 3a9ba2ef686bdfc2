#include "shell/ui/donateform.h"

#include "controls/windowsetup.h"
#include "ui_donateform.h"

TDonateFrm::TDonateFrm(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TDonateFrm>())
{
    ui->setupUi(this);
    setFixedWindow(this, kDialogButtons);
}

TDonateFrm::~TDonateFrm() = default;
