#include "numerology/ui/calcform.h"

#include "controls/windowsetup.h"
#include "ui_calcform.h"

TCalcFrm::TCalcFrm(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TCalcFrm>())
{
    ui->setupUi(this);
    setFixedWindow(this, kMinimizableButtons);
}

TCalcFrm::~TCalcFrm() = default;
