#include "numerology/ui/yform.h"

#include "controls/uiservices.h"
#include "controls/windowsetup.h"
#include "ui_yform.h"

#include <QKeyEvent>

TYFrm::TYFrm(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TYFrm>())
{
    ui->setupUi(this);
    setFixedWindow(this, kNoButtons);
    QFont bold(QStringLiteral("Arial"));
    bold.setPixelSize(16);
    bold.setBold(true);
    setFont(bold);
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setPixelSize(16);
    fixed.setBold(true);
    ui->DataLb->setFont(fixed);
    ui->DataBx->setFont(fixed);
    connect(ui->YesBtn, &QPushButton::clicked, this, &TYFrm::YesBtnClick);
    connect(ui->NoBtn, &QPushButton::clicked, this, &TYFrm::NoBtnClick);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &TYFrm::CancelBtnClick);
    connect(ui->YPasteBtn, &QPushButton::clicked, this, &TYFrm::YPasteBtnClick);
}

TYFrm::~TYFrm() = default;

void TYFrm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    UiServices::instance().beep();
    workText_.clear();
    restText_.clear();
    askPos_ = host_ ? host_->YPos() : 0;
    ui->YPasteBtn->click();
    ui->YesBtn->setFocus();
}

// Escape answers No.
void TYFrm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        ui->NoBtn->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TYFrm::YPasteBtnClick()
{
    if (workText_.isEmpty() && host_)
        workText_ = host_->DataText();
    ui->DataLb->setText(workText_.toUpper());
    ui->DataBx->setText(workText_.left(askPos_));
    restText_ = workText_.mid(askPos_);
}

void TYFrm::YesBtnClick()
{
    answer(true);
}

void TYFrm::NoBtnClick()
{
    answer(false);
}

void TYFrm::answer(bool vowel)
{
    if (!host_ || host_->YPos() == 0) {
        accept();
        return;
    }
    if (vowel && askPos_ >= 1 && askPos_ <= workText_.size())
        workText_[askPos_ - 1] = u'y';
    ui->DataBx->setText(workText_);
    ui->DataBx->repaint();
    if (host_->YTyped() == 1) {
        host_->SetDataText(workText_);
        host_->SetYPos(0);
        host_->SetYTyped(0);
        accept();
        return;
    }
    const qsizetype next = restText_.indexOf(u'Y');
    if (next < 0) {
        host_->SetDataText(workText_);
        host_->SetYPos(0);
        accept();
        return;
    }
    askPos_ += int(next) + 1;
    ui->YPasteBtn->click();
}

void TYFrm::CancelBtnClick()
{
    if (host_) {
        host_->SetYPos(0);
        host_->SetYTyped(0);
    }
    reject();
}
