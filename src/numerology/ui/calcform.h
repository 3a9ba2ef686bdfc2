#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TCalcFrm;
}

class TCalcFrm : public QDialog
{
    Q_OBJECT

public:
    explicit TCalcFrm(QWidget* parent = nullptr);
    ~TCalcFrm() override;

private:
    std::unique_ptr<Ui::TCalcFrm> ui;
};
