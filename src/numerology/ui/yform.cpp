#include "numerology/ui/yform.h"

#include "controls/windowsetup.h"
#include "ui_yform.h"

TYFrm::TYFrm(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TYFrm>())
{
    ui->setupUi(this);
    setFixedWindow(this, kNoButtons);
}

TYFrm::~TYFrm() = default;
