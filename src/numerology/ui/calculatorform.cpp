#include "numerology/ui/calculatorform.h"

#include "controls/windowsetup.h"
#include "ui_calculatorform.h"

TCalculatorFrm::TCalculatorFrm(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TCalculatorFrm>())
{
    ui->setupUi(this);
    setFixedWindow(this, kNoButtons);
}

TCalculatorFrm::~TCalculatorFrm() = default;
