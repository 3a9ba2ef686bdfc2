#include "catalogue/ui/deleteform.h"

#include "catalogue/ui/addform.h"
#include "controls/uiservices.h"
#include "controls/windowsetup.h"
#include "ui_deleteform.h"

#include <QShortcut>
#include <QStyle>

using catalogue::Field;
using catalogue::TonesCursor;

namespace {

// The read-only boxes' lavender: red 240, green 240, blue 255.
constexpr QRgb kBoxColour = qRgb(240, 240, 255);

}  // namespace

TDeleteFrm::TDeleteFrm(TonesCursor& table, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TDeleteFrm>()), table_(table)
{
    ui->setupUi(this);
    // The labels were measured in an 11-pixel Arial; the stand-in font has its metrics.
    QFont formFont(QStringLiteral("Arial"));
    formFont.setPixelSize(11);
    setFont(formFont);
    setFixedWindow(this, kDialogButtons);
    for (QLineEdit* box : {ui->CpsBx, ui->CatBx, ui->SubBx, ui->SrcBx}) {
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, QColor(kBoxColour));
        box->setPalette(palette);
    }
    ui->HelpBtn->setIcon(pictureIcon(ui->HelpBtn, Picture::Help));
    ui->CloseBtn->setIcon(pictureIcon(ui->CloseBtn, Picture::Close));
    const QStyle* s = style();
    ui->NavFirst->setIcon(s->standardIcon(QStyle::SP_MediaSkipBackward));
    ui->NavPrior->setIcon(s->standardIcon(QStyle::SP_MediaSeekBackward));
    ui->NavNext->setIcon(s->standardIcon(QStyle::SP_MediaSeekForward));
    ui->NavLast->setIcon(s->standardIcon(QStyle::SP_MediaSkipForward));
    move(191, 106);

    connect(ui->DeleteBtn, &QPushButton::clicked, this, &TDeleteFrm::DeleteBtnClick);
    connect(ui->HelpBtn, &QPushButton::clicked, this, &TDeleteFrm::HelpBtnClick);
    connect(ui->CloseBtn, &QPushButton::clicked, this, &TDeleteFrm::CloseBtnClick);
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
            &TDeleteFrm::HelpBtnClick);
    connect(ui->NavFirst, &QToolButton::clicked, this, [this] { moved(table_.first()); });
    connect(ui->NavPrior, &QToolButton::clicked, this, [this] { moved(table_.prior()); });
    connect(ui->NavNext, &QToolButton::clicked, this, [this] { moved(table_.next()); });
    connect(ui->NavLast, &QToolButton::clicked, this, [this] { moved(table_.last()); });

    // Both windows show the cursor's current record.
    connect(&table_, &TonesCursor::rowsReset, this, &TDeleteFrm::showRecord);
    connect(&table_, &TonesCursor::currentRowChanged, this, &TDeleteFrm::showRecord);
    connect(&table_, &TonesCursor::recordChanged, this, &TDeleteFrm::showRecord);
    connect(&table_, &TonesCursor::stateChanged, this, &TDeleteFrm::showRecord);
    showRecord();
}

TDeleteFrm::~TDeleteFrm() = default;

void TDeleteFrm::showRecord()
{
    ui->CpsBx->setText(table_.fieldText(Field::Cps));
    ui->CatBx->setText(table_.fieldText(Field::Category));
    ui->SubBx->setText(table_.fieldText(Field::SubCategory));
    ui->SrcBx->setText(table_.fieldText(Field::Source));
}

void TDeleteFrm::moved(bool done)
{
    if (!done)
        UiServices::instance().showMessage(this, table_.errorString(),
                                           UiServices::MessageKind::Error);
}

void TDeleteFrm::DeleteBtnClick()
{
    moved(table_.deleteRecord());
}

void TDeleteFrm::HelpBtnClick()
{
    Q_EMIT HelpRequested(QLatin1String(TAddFrm::kHelpTopic));
}

void TDeleteFrm::CloseBtnClick()
{
    close();
}
