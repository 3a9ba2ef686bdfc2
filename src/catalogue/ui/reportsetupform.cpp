#include "catalogue/ui/reportsetupform.h"

#include "controls/proportionalresizer.h"
#include "controls/windowsetup.h"
#include "ui_reportsetupform.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <cmath>

namespace {

// Screens this wide or narrower keep the window at its designed size.
constexpr int kNarrowScreen = 640;

}  // namespace

TReportSetupFrm::TReportSetupFrm(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TReportSetupFrm>())
{
    ui->setupUi(this);
    setFixedWindow(this, kDialogButtons);
    checks_ = {ui->s1Chk, ui->s2chk, ui->s3chk, ui->s4chk};
    connect(ui->s1Chk, &QCheckBox::clicked, this, &TReportSetupFrm::s1ChkClick);
    connect(ui->s2chk, &QCheckBox::clicked, this, &TReportSetupFrm::s2chkClick);
    connect(ui->s3chk, &QCheckBox::clicked, this, &TReportSetupFrm::s3chkClick);
    connect(ui->s4chk, &QCheckBox::clicked, this, &TReportSetupFrm::s4chkClick);
    for (QLabel* label : {ui->PrVw, ui->Prnt, ui->ExitLbl})
        label->installEventFilter(this);
    FormCreate();
    centreOnScreen(this);
}

TReportSetupFrm::~TReportSetupFrm() = default;

void TReportSetupFrm::FormCreate()
{
    reportKind_ = 1;
    reportAction_ = NoAction;
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen && screen->geometry().width() > kNarrowScreen) {
        formResizer1_ = new ProportionalResizer(this);
        connect(formResizer1_, &ProportionalResizer::PostResize, this,
                &TReportSetupFrm::FormResizer1PostResize);
    }
}

void TReportSetupFrm::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    FormResize();
}

void TReportSetupFrm::FormResize()
{
    if (formResizer1_)
        formResizer1_->Resize();
}

// The first resize comes as the window is first shown: it then takes its shown height.
void TReportSetupFrm::FormResizer1PostResize(double horizontal, double vertical)
{
    if (resizedOnce_)
        return;
    resizedOnce_ = true;
    setFixedSize(int(std::lround(width() * horizontal)), int(std::lround(kShownHeight * vertical)));
    // While the window is being shown its own resize does not come back as an event.
    FormResize();
    centreOnScreen(this);
}

void TReportSetupFrm::choose(int kind)
{
    for (QCheckBox* check : checks_)
        check->setChecked(false);
    reportKind_ = kind;
    checks_[std::size_t(kind - 1)]->setChecked(true);
}

void TReportSetupFrm::s1ChkClick()
{
    choose(1);
}

void TReportSetupFrm::s2chkClick()
{
    choose(2);
}

void TReportSetupFrm::s3chkClick()
{
    choose(3);
}

void TReportSetupFrm::s4chkClick()
{
    choose(4);
}

void TReportSetupFrm::PrVwClick()
{
    reportAction_ = PreviewAction;
    close();
}

void TReportSetupFrm::PrntClick()
{
    reportAction_ = PrintAction;
    close();
}

void TReportSetupFrm::ExitLblClick()
{
    reportAction_ = NoAction;
    close();
}

bool TReportSetupFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const auto* label = static_cast<QWidget*>(watched);
        if (mouse->button() == Qt::LeftButton &&
            label->rect().contains(mouse->position().toPoint())) {
            if (watched == ui->PrVw)
                PrVwClick();
            else if (watched == ui->Prnt)
                PrntClick();
            else if (watched == ui->ExitLbl)
                ExitLblClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TReportSetupFrm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TReportSetupFrm::keyReleaseEvent(QKeyEvent* event)
{
    FormKeyUp(event);
    if (!event->isAccepted())
        QDialog::keyReleaseEvent(event);
}

void TReportSetupFrm::FormKeyUp(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && !event->isAutoRepeat()) {
        event->accept();
        close();
        return;
    }
    event->ignore();
}
