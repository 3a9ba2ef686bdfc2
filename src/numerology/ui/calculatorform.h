#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TCalculatorFrm;
}

class TCalculatorFrm : public QDialog
{
    Q_OBJECT

public:
    explicit TCalculatorFrm(QWidget* parent = nullptr);
    ~TCalculatorFrm() override;

private:
    std::unique_ptr<Ui::TCalculatorFrm> ui;
};
