#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TDonateFrm;
}

class TDonateFrm : public QDialog
{
    Q_OBJECT

public:
    explicit TDonateFrm(QWidget* parent = nullptr);
    ~TDonateFrm() override;

private:
    std::unique_ptr<Ui::TDonateFrm> ui;
};
