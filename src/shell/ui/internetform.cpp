#include "shell/ui/internetform.h"

#include "controls/windowsetup.h"
#include "shell/webaddresses.h"
#include "ui_internetform.h"

#include <QCloseEvent>

namespace {

// Sizes in pixels, as the window was measured: 8, 10 and 14 points at 96 dots an inch.
constexpr int kSmall = 11;
constexpr int kNormal = 13;
constexpr int kLarge = 19;

}  // namespace

TInternetFrm::TInternetFrm(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TInternetFrm>())
{
    ui->setupUi(this);
    setFixedWindow(this, kNoButtons);
    setUpFonts();
    // A palette, not a style sheet: the panel's labels keep the window's font.
    QPalette white = ui->Panel2->palette();
    white.setColor(QPalette::Window, Qt::white);
    ui->Panel2->setPalette(white);
    ui->Label6->setText(QLatin1String(shell::kPublisherName));
    const std::pair<LinkLabel*, shell::WebPage> links[] = {
        {ui->OvcURL6, shell::WebPage::Update},      {ui->OvcURL2, shell::WebPage::Software},
        {ui->OvcURL8, shell::WebPage::Home},        {ui->OvcURL3, shell::WebPage::DigitWheel},
        {ui->OvcURL4, shell::WebPage::LetterChart}, {ui->OvcURL5, shell::WebPage::ToneTable},
        {ui->OvcURL1, shell::WebPage::Donation},
    };
    for (const auto& [link, page] : links) {
        link->setAddress(shell::webAddress(page));
        link->adjustSize();
    }
    centreOnScreen(this);
    connect(ui->Button1, &QPushButton::clicked, this, &TInternetFrm::Button1Click);
}

TInternetFrm::~TInternetFrm() = default;

void TInternetFrm::setUpFonts()
{
    setFont(arialPixels(kNormal, true));
    ui->Panel1->setFont(arialPixels(kLarge, false));
    for (LinkLabel* link :
         {ui->OvcURL6, ui->OvcURL2, ui->OvcURL8, ui->OvcURL3, ui->OvcURL4, ui->OvcURL5})
        link->setFont(arialPixels(kSmall, true));
}

void TInternetFrm::Button1Click()
{
    reject();
}

// The window has no title-bar buttons, and a close asked for by the window system (a key of
// the window manager, say) is refused too: "Close" and Escape end the window without one.
void TInternetFrm::closeEvent(QCloseEvent* event)
{
    event->ignore();
}
