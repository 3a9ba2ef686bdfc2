#include "numerology/ui/calculatorform.h"

#include "controls/calculatorwidget.h"
#include "controls/uiservices.h"
#include "controls/windowsetup.h"
#include "numerology/reducesum.h"
#include "ui_calculatorform.h"

#include <QApplication>
#include <QClipboard>
#include <QShortcut>

TCalculatorFrm::TCalculatorFrm(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TCalculatorFrm>())
{
    ui->setupUi(this);
    setFixedWindow(this, kNoButtons);
    QFont bold(QStringLiteral("Arial"));
    bold.setPixelSize(13);
    bold.setBold(true);
    setFont(bold);
    ui->HelpBtn->setIcon(pictureIcon(ui->HelpBtn, Picture::Help));
    connect(ui->ReduceBtn, &QPushButton::clicked, this, &TCalculatorFrm::ReduceBtnClick);
    connect(ui->SumBtn, &QPushButton::clicked, this, &TCalculatorFrm::SumBtnClick);
    connect(ui->CloseBtn, &QPushButton::clicked, this, &TCalculatorFrm::CloseBtnClick);
    connect(ui->HelpBtn, &QPushButton::clicked, this, &TCalculatorFrm::HelpBtnClick);
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
            &TCalculatorFrm::HelpBtnClick);
}

TCalculatorFrm::~TCalculatorFrm() = default;

CalculatorWidget& TCalculatorFrm::calculator() const
{
    return *ui->OvcCalculator1;
}

void TCalculatorFrm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    ui->OvcCalculator1->setFocus();
}

void TCalculatorFrm::ReduceBtnClick()
{
    takeResult(numerology::ReduceDisplay(ui->OvcCalculator1->displayText()));
}

void TCalculatorFrm::SumBtnClick()
{
    takeResult(numerology::SumDisplay(ui->OvcCalculator1->displayText()));
}

void TCalculatorFrm::takeResult(const numerology::DisplayResult& result)
{
    if (!result.error.isEmpty()) {
        UiServices::instance().showMessage(this, result.error, UiServices::MessageKind::Error);
    } else if (result.changed) {
        ui->Edit1->setText(result.text);
        QApplication::clipboard()->setText(result.text);
        ui->OvcCalculator1->enterNumber(result.text);
    }
    ui->OvcCalculator1->setFocus();
}

void TCalculatorFrm::CloseBtnClick()
{
    hide();
}

void TCalculatorFrm::HelpBtnClick()
{
    Q_EMIT HelpRequested(QLatin1String(kHelpTopic));
}
