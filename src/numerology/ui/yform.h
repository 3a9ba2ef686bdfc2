#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TYFrm;
}

class TYFrm : public QDialog
{
    Q_OBJECT

public:
    explicit TYFrm(QWidget* parent = nullptr);
    ~TYFrm() override;

private:
    std::unique_ptr<Ui::TYFrm> ui;
};
