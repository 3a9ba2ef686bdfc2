#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TDonateFrm;
}

// The donation window: asks for a voluntary donation, with links to the donation page and to
// the page about the scheme. Created once with the main window and shown on one exit in four;
// its links stay visited for the rest of the run.
class TDonateFrm : public QDialog
{
    Q_OBJECT

public:
    explicit TDonateFrm(QWidget* parent = nullptr);
    ~TDonateFrm() override;

public Q_SLOTS:
    void DonateBtnClick();
    void ExitBtnClick();

private:
    void setUpFonts();

    std::unique_ptr<Ui::TDonateFrm> ui;
};
