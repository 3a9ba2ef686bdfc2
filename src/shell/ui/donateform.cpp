#include "shell/ui/donateform.h"

#include "controls/windowsetup.h"
#include "shell/webaddresses.h"
#include "ui_donateform.h"

namespace {

// The rows of the message; two end with a blank.
const QStringList kMessage = {
    QStringLiteral("This program is offered as Kindlyware.  The"),
    QStringLiteral("intent is to generate and foster good karma"),
    QStringLiteral("for all of us."),
    QString(),
    QStringLiteral("If you find this program useful, please consider "),
    QStringLiteral("making a donation to support our programming "),
    QStringLiteral("efforts and operation of the web site."),
    QString(),
    QStringLiteral("Thank you for your continued support."),
    QString(),
    QStringLiteral("    The Sonarith Project"),
};

// Sizes in pixels, as the window was measured: 8, 10 and 12 points at 96 dots an inch.
constexpr int kSmall = 11;
constexpr int kNormal = 13;
constexpr int kLarge = 16;

}  // namespace

TDonateFrm::TDonateFrm(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TDonateFrm>())
{
    ui->setupUi(this);
    setFixedWindow(this, kDialogButtons);
    setUpFonts();
    ui->Memo1->setPlainText(kMessage.join(u'\n'));
    // The message reads as part of the panel, not as a field.
    QPalette memo = ui->Memo1->palette();
    memo.setColor(QPalette::Base, palette().color(QPalette::Window));
    ui->Memo1->setPalette(memo);
    ui->OvcURL1->setAddress(shell::webAddress(shell::WebPage::Donation));
    ui->OvcURL2->setAddress(shell::webAddress(shell::WebPage::Kindlyware));
    for (LinkLabel* link : {ui->OvcURL1, ui->OvcURL2})
        link->adjustSize();
    centreOnScreen(this);
    connect(ui->DonateBtn, &QPushButton::clicked, this, &TDonateFrm::DonateBtnClick);
    connect(ui->ExitBtn, &QPushButton::clicked, this, &TDonateFrm::ExitBtnClick);
}

TDonateFrm::~TDonateFrm() = default;

void TDonateFrm::setUpFonts()
{
    setFont(arialPixels(kSmall, false));
    for (QWidget* bold :
         std::initializer_list<QWidget*>{ui->Label3, ui->Memo1, ui->DonateBtn, ui->ExitBtn})
        bold->setFont(arialPixels(kNormal, true));
    for (LinkLabel* link : {ui->OvcURL1, ui->OvcURL2})
        link->setFont(arialPixels(kLarge, true));
}

// The same as a click on "Make PayPal Donation"; the window stays open.
void TDonateFrm::DonateBtnClick()
{
    ui->OvcURL1->open();
}

void TDonateFrm::ExitBtnClick()
{
    hide();
}
