#include "report/ui/reportpreview.h"

#include "controls/uiservices.h"
#include "report/reportfile.h"
#include "report/ui/printing.h"
#include "shell/ui/hookhelpsystem.h"
#include "ui_reportpreview.h"

#include <QDir>
#include <QFileInfo>
#include <QShortcut>
#include <algorithm>

namespace {

constexpr int kZooms[] = {50, 75, 100, 150, 200};
constexpr int kDefaultZoom = 2;  // 100 %
const QString kSavedFilter = QStringLiteral("Saved Report  (*.srp)|*.srp");

}  // namespace

ReportPreview::ReportPreview(report::PreparedReport report, const QString& title, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::ReportPreview>())
{
    ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    for (const int zoom : kZooms)
        ui->ZoomBx->addItem(QStringLiteral("%1%").arg(zoom), zoom);
    ui->ZoomBx->setCurrentIndex(kDefaultZoom);

    connect(ui->FirstBtn, &QToolButton::clicked, this, &ReportPreview::FirstBtnClick);
    connect(ui->PriorBtn, &QToolButton::clicked, this, &ReportPreview::PriorBtnClick);
    connect(ui->NextBtn, &QToolButton::clicked, this, &ReportPreview::NextBtnClick);
    connect(ui->LastBtn, &QToolButton::clicked, this, &ReportPreview::LastBtnClick);
    connect(ui->ZoomBx, &QComboBox::currentIndexChanged, this, [this] { showPage(page_); });
    connect(ui->FindBx, &QLineEdit::textChanged, this, &ReportPreview::findChanged);
    connect(ui->FindBx, &QLineEdit::returnPressed, this, &ReportPreview::FindBtnClick);
    connect(ui->FindBtn, &QPushButton::clicked, this, &ReportPreview::FindBtnClick);
    connect(ui->OpenBtn, &QPushButton::clicked, this, &ReportPreview::OpenBtnClick);
    connect(ui->PrintBtn, &QPushButton::clicked, this, &ReportPreview::PrintBtnClick);
    connect(ui->SaveBtn, &QPushButton::clicked, this, &ReportPreview::SaveBtnClick);
    connect(ui->HelpBtn, &QPushButton::clicked, this, &ReportPreview::HelpBtnClick);
    connect(ui->CloseBtn, &QPushButton::clicked, this, &ReportPreview::CloseBtnClick);
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, [this] {
        ui->FindBx->setFocus();
        ui->FindBx->selectAll();
    });
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
            &ReportPreview::HelpBtnClick);
    connect(new QShortcut(QKeySequence(Qt::Key_PageDown), this), &QShortcut::activated, this,
            &ReportPreview::NextBtnClick);
    connect(new QShortcut(QKeySequence(Qt::Key_PageUp), this), &QShortcut::activated, this,
            &ReportPreview::PriorBtnClick);
    showReport(std::move(report), title);
}

ReportPreview::~ReportPreview() = default;

int ReportPreview::zoomPercent() const
{
    return ui->ZoomBx->currentData().toInt();
}

void ReportPreview::showReport(report::PreparedReport report, const QString& title)
{
    report_ = std::move(report);
    title_ = title;
    setWindowTitle(QStringLiteral("Preview - %1").arg(title));
    hits_.clear();
    hit_ = -1;
    ui->FoundLbl->clear();
    showPage(0);
}

void ReportPreview::showPage(int page)
{
    const int count = int(report_.pages.size());
    page_ = std::clamp(page, 0, std::max(count - 1, 0));
    shown_ = report::pageImage(report_, page_, kScreenDpi * zoomPercent() / 100, hits_);
    ui->PageView->setPixmap(QPixmap::fromImage(shown_));
    ui->PageView->resize(shown_.size());
    ui->PageLbl->setText(QStringLiteral("Page %1 of %2").arg(page_ + 1).arg(count));
    ui->FirstBtn->setEnabled(page_ > 0);
    ui->PriorBtn->setEnabled(page_ > 0);
    ui->NextBtn->setEnabled(page_ < count - 1);
    ui->LastBtn->setEnabled(page_ < count - 1);
}

void ReportPreview::FirstBtnClick()
{
    showPage(0);
}

void ReportPreview::PriorBtnClick()
{
    showPage(page_ - 1);
}

void ReportPreview::NextBtnClick()
{
    showPage(page_ + 1);
}

void ReportPreview::LastBtnClick()
{
    showPage(int(report_.pages.size()) - 1);
}

// A new text to find starts from the first place again; the marks go until Find is pressed.
void ReportPreview::findChanged()
{
    hit_ = -1;
    ui->FoundLbl->clear();
    if (!hits_.isEmpty()) {
        hits_.clear();
        showPage(page_);
    }
}

void ReportPreview::FindBtnClick()
{
    if (hit_ < 0)
        hits_ = report::findText(report_, ui->FindBx->text());
    if (hits_.isEmpty()) {
        ui->FoundLbl->setText(ui->FindBx->text().isEmpty() ? QString()
                                                           : QStringLiteral("Not found"));
        return;
    }
    hit_ = (hit_ + 1) % int(hits_.size());
    ui->FoundLbl->setText(QStringLiteral("%1 of %2").arg(hit_ + 1).arg(hits_.size()));
    showPage(hits_[hit_].page);
    // Scrolls the place found into sight.
    const report::TextObject& text = report_.pages[page_].texts[hits_[hit_].text];
    const double scale = kScreenDpi * zoomPercent() / 100 / report::kUnitsPerInch;
    const QPoint at = (text.box.center() * scale).toPoint();
    ui->PageArea->ensureVisible(at.x(), at.y());
}

void ReportPreview::PrintBtnClick()
{
    report::printReport(this, report_, title_);
}

void ReportPreview::OpenBtnClick()
{
    UiServices& services = UiServices::instance();
    UiServices::FileRequest request;
    request.title = QStringLiteral("Open Report");
    request.filter = kSavedFilter;
    request.defaultSuffix = QLatin1String(report::kReportFileSuffix);
    const QString path = services.chooseOpenFile(this, request);
    if (path.isEmpty())
        return;
    QString error;
    std::optional<report::SavedReport> saved = report::openReportFile(path, &error);
    if (!saved) {
        services.showMessage(
            this,
            QStringLiteral("Cannot open file %1: %2").arg(QDir::toNativeSeparators(path), error),
            UiServices::MessageKind::Error);
        return;
    }
    showReport(std::move(saved->report), saved->title);
}

void ReportPreview::SaveBtnClick()
{
    UiServices& services = UiServices::instance();
    UiServices::FileRequest request;
    request.title = QStringLiteral("Save Report");
    request.proposedName = title_ + u'.' + QLatin1String(report::kReportFileSuffix);
    request.filter = kSavedFilter + QStringLiteral("|PDF Document  (*.pdf)|*.pdf");
    request.defaultSuffix = QLatin1String(report::kReportFileSuffix);
    const QString path = services.chooseSaveFile(this, request);
    if (path.isEmpty())
        return;
    QString error;
    const bool saved = QFileInfo(path).suffix().compare(u"pdf", Qt::CaseInsensitive) == 0
                           ? report::writePdf(report_, path, title_, &error)
                           : report::saveReportFile({title_, report_}, path, &error);
    if (!saved)
        services.showMessage(
            this,
            QStringLiteral("Cannot create file %1. %2").arg(QDir::toNativeSeparators(path), error),
            UiServices::MessageKind::Error);
}

void ReportPreview::HelpBtnClick()
{
    THookHelpSystem::Request(THookHelpSystem::HelpContext, kHelpContext);
}

void ReportPreview::CloseBtnClick()
{
    close();
}
