#include "catalogue/ui/addform.h"

#include "catalogue/cataloguereports.h"
#include "catalogue/ui/deleteform.h"
#include "catalogue/ui/reportsetupform.h"
#include "catalogue/ui/tonegrid.h"
#include "controls/uiservices.h"
#include "controls/windowsetup.h"
#include "report/ui/printing.h"
#include "report/ui/reportpreview.h"
#include "shell/ui/internetform.h"
#include "ui_addform.h"

#include <QCloseEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <algorithm>

using catalogue::Field;
using catalogue::TonesCursor;
using catalogue::TonesModel;

namespace {

bool isCpsCharacter(QChar c)
{
    return c.isDigit() || c == u'+' || c == u'-';
}

}  // namespace

TAddFrm::TAddFrm(catalogue::TonesDatabase& database, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TAddFrm>()), database_(database), table1_(database),
      model_(table1_)
{
    ui->setupUi(this);
    // The labels were measured in an 11-pixel Arial; the stand-in font has its metrics.
    QFont formFont(QStringLiteral("Arial"));
    formFont.setPixelSize(11);
    setFont(formFont);
    setFixedWindow(this, kMinimizableButtons);
    boxes_ = {Box{ui->CpsBx, Field::Cps}, Box{ui->CatBx, Field::Category},
              Box{ui->SubBx, Field::SubCategory}, Box{ui->SrcBx, Field::Source}};
    for (QPushButton* ditto : {ui->Ditto1Btn, ui->Ditto2Btn, ui->Ditto3Btn})
        ditto->setEnabled(false);
    ui->HelpBtn->setIcon(pictureIcon(ui->HelpBtn, Picture::Help));
    ui->CloseBtn->setIcon(pictureIcon(ui->CloseBtn, Picture::Close));
    setUpGrid();
    connectControls();
    move(7, 1);

    if (!table1_.open())
        UiServices::instance().showMessage(parent, table1_.errorString(),
                                           UiServices::MessageKind::Error);
    showRecord();
    selectCurrent();
}

TAddFrm::~TAddFrm()
{
    table1_.close();
}

void TAddFrm::setUpGrid()
{
    QTableView* grid = ui->DBGrid1;
    setUpToneGrid(grid, &model_, 248);

    const QStyle* s = style();
    ui->NavFirst->setIcon(s->standardIcon(QStyle::SP_MediaSkipBackward));
    ui->NavPrior->setIcon(s->standardIcon(QStyle::SP_MediaSeekBackward));
    ui->NavNext->setIcon(s->standardIcon(QStyle::SP_MediaSeekForward));
    ui->NavLast->setIcon(s->standardIcon(QStyle::SP_MediaSkipForward));
}

void TAddFrm::connectControls()
{
    connect(ui->AddBtn, &QPushButton::clicked, this, &TAddFrm::AddBtnClick);
    connect(ui->Ditto1Btn, &QPushButton::clicked, this, &TAddFrm::Ditto1BtnClick);
    connect(ui->Ditto2Btn, &QPushButton::clicked, this, &TAddFrm::Ditto2BtnClick);
    connect(ui->Ditto3Btn, &QPushButton::clicked, this, &TAddFrm::Ditto3BtnClick);
    connect(ui->DeleteBtn, &QPushButton::clicked, this, &TAddFrm::DeleteBtnClick);
    connect(ui->ReportBtn, &QPushButton::clicked, this, &TAddFrm::ReportBtnClick);
    connect(ui->InternetBtn, &QPushButton::clicked, this, &TAddFrm::InternetBtnClick);
    connect(ui->HelpBtn, &QPushButton::clicked, this, &TAddFrm::HelpBtnClick);
    connect(ui->CloseBtn, &QPushButton::clicked, this, &TAddFrm::CloseBtnClick);
    connect(ui->DBGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TAddFrm::DBGrid1TitleClick);
    connect(ui->NavFirst, &QToolButton::clicked, this, [this] {
        if (storeBoxes())
            moved(table1_.first());
    });
    connect(ui->NavPrior, &QToolButton::clicked, this, [this] {
        if (storeBoxes())
            moved(table1_.prior());
    });
    connect(ui->NavNext, &QToolButton::clicked, this, [this] {
        if (storeBoxes())
            moved(table1_.next());
    });
    connect(ui->NavLast, &QToolButton::clicked, this, [this] {
        if (storeBoxes())
            moved(table1_.last());
    });
    connect(ui->DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid())
                    gridRowChosen(current.row());
            });

    // The window sees F1 before its controls; Ctrl+Delete belongs to the grid alone.
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
            &TAddFrm::HelpBtnClick);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete), ui->DBGrid1, nullptr, nullptr,
                          Qt::WidgetShortcut),
            &QShortcut::activated, this, &TAddFrm::deleteAsked);

    // The cursor resets the model before it names its current row, so the boxes and the
    // selection follow the new rows.
    connect(&table1_, &TonesCursor::rowsReset, this, [this] {
        showRecord();
        selectCurrent();
    });
    connect(&table1_, &TonesCursor::currentRowChanged, this, [this] {
        showRecord();
        selectCurrent();
    });
    connect(&table1_, &TonesCursor::stateChanged, this, [this](TonesCursor::State state) {
        if (state == TonesCursor::Browse)
            showRecord();
    });

    for (const Box& box : boxes_) {
        box.edit->installEventFilter(this);
        connect(box.edit, &QLineEdit::textEdited, this, [this, edit = box.edit] {
            refusedJustNow_ = false;
            beginEditing(edit);
        });
    }
}

void TAddFrm::showRecord()
{
    if (holdBoxes_)
        return;
    for (const Box& box : boxes_)
        box.edit->setText(table1_.fieldText(box.field));
}

void TAddFrm::selectCurrent()
{
    syncing_ = true;
    const int row = table1_.currentRow();
    if (row < 0) {
        ui->DBGrid1->selectionModel()->clearSelection();
    } else {
        const QModelIndex index = model_.index(row, 0);
        ui->DBGrid1->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                                  QItemSelectionModel::Rows);
        ui->DBGrid1->scrollTo(index);
    }
    syncing_ = false;
}

void TAddFrm::gridRowChosen(int row)
{
    if (syncing_ || row == table1_.currentRow())
        return;
    bool left = false;
    if (!refusedJustNow_ && storeBoxes()) {
        left = table1_.moveTo(row);
        if (!left)
            refuse(table1_.errorString());
    }
    if (!left) {
        selectCurrent();
        // A click selects its row after it made the row current: put the selection back then.
        QTimer::singleShot(0, this, &TAddFrm::selectCurrent);
    }
}

void TAddFrm::beginEditing(QLineEdit* box)
{
    if (table1_.state() != TonesCursor::Browse)
        return;
    // In an empty table editing adds a record; the typed text stays in the box.
    holdBoxes_ = true;
    const bool editing = table1_.edit();
    holdBoxes_ = false;
    if (!editing) {
        refuse(table1_.errorString());
        showRecord();
        box->setFocus();
    }
}

bool TAddFrm::storeBox(const Box& box)
{
    const TonesCursor::State state = table1_.state();
    if (state != TonesCursor::Edit && state != TonesCursor::Insert)
        return true;
    const QString text = box.edit->text();
    if (text == table1_.fieldText(box.field))
        return true;
    if (table1_.setFieldText(box.field, text))
        return true;
    refuse(table1_.errorString());
    box.edit->setFocus();
    box.edit->selectAll();
    return false;
}

bool TAddFrm::storeBoxes()
{
    for (const Box& box : boxes_) {
        if (!storeBox(box))
            return false;
    }
    return true;
}

void TAddFrm::moved(bool done)
{
    if (!done)
        refuse(table1_.errorString());
}

void TAddFrm::refuse(const QString& message)
{
    UiServices::instance().showMessage(this, message, UiServices::MessageKind::Error);
}

bool TAddFrm::eventFilter(QObject* watched, QEvent* event)
{
    const auto box = std::find_if(boxes_.begin(), boxes_.end(),
                                  [watched](const Box& b) { return b.edit == watched; });
    if (box == boxes_.end())
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress && box->field == Field::Cps) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString typed = key->text();
        if (typed.size() == 1 && typed[0].isPrint() && !(key->modifiers() & Qt::ControlModifier) &&
            !isCpsCharacter(typed[0])) {
            UiServices::instance().beep();
            return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        // A message box or a menu taking the focus does not leave the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            !storeBox(*box)) {
            // The click that took the focus away must not also move to another record.
            refusedJustNow_ = true;
            QTimer::singleShot(0, this, [this] { refusedJustNow_ = false; });
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TAddFrm::AddBtnClick()
{
    prevCategory_ = ui->CatBx->text();
    prevSubCategory_ = ui->SubBx->text();
    prevSource_ = ui->SrcBx->text();
    if (!prevCategory_.isEmpty())
        ui->Ditto1Btn->setEnabled(true);
    if (!prevSubCategory_.isEmpty())
        ui->Ditto2Btn->setEnabled(true);
    if (!prevSource_.isEmpty())
        ui->Ditto3Btn->setEnabled(true);
    if (storeBoxes() && !table1_.append())
        refuse(table1_.errorString());
}

void TAddFrm::ditto(Field field, const QString& remembered)
{
    if (remembered.isEmpty())
        return;
    if (!table1_.setFieldText(field, remembered)) {
        refuse(table1_.errorString());
        return;
    }
    for (const Box& box : boxes_) {
        if (box.field == field)
            box.edit->setText(table1_.fieldText(field));
    }
}

void TAddFrm::Ditto1BtnClick()
{
    ditto(Field::Category, prevCategory_);
}

void TAddFrm::Ditto2BtnClick()
{
    ditto(Field::SubCategory, prevSubCategory_);
}

void TAddFrm::Ditto3BtnClick()
{
    ditto(Field::Source, prevSource_);
}

void TAddFrm::DeleteBtnClick()
{
    if (!storeBoxes())
        return;
    TDeleteFrm form(table1_, this);
    connect(&form, &TDeleteFrm::HelpRequested, this, &TAddFrm::HelpRequested);
    UiServices::instance().execDialog(&form);
}

void TAddFrm::deleteAsked()
{
    if (UiServices::instance().ask(this, QStringLiteral("Delete record?")) &&
        !table1_.deleteRecord())
        refuse(table1_.errorString());
}

void TAddFrm::ReportBtnClick()
{
    {
        TReportSetupFrm chooser(this);
        UiServices::instance().execDialog(&chooser);
        reportKind_ = chooser.ReportKind();
        reportAction_ = chooser.ReportAction();
    }
    if (reportAction_ == TReportSetupFrm::NoAction)
        return;
    // The listing includes the record on screen.
    if (!saveEditedRecord())
        return;
    const auto kind = catalogue::ReportOrder(reportKind_);
    QString error;
    const std::optional<report::PreparedReport> listing =
        catalogue::prepareListing(database_, kind, &error);
    if (!listing) {
        refuse(error);
        return;
    }
    const QString title = catalogue::listingTitle(kind);
    if (reportAction_ == TReportSetupFrm::PreviewAction) {
        ReportPreview preview(*listing, title, this);
        UiServices::instance().execDialog(&preview);
    } else {
        report::printReport(this, *listing, title);
    }
}

bool TAddFrm::saveEditedRecord()
{
    if (!storeBoxes())
        return false;
    const TonesCursor::State state = table1_.state();
    if (state == TonesCursor::Insert && !table1_.isModified()) {
        table1_.cancel();
        return true;
    }
    if ((state == TonesCursor::Edit || state == TonesCursor::Insert) && !table1_.post()) {
        refuse(table1_.errorString());
        return false;
    }
    return true;
}

void TAddFrm::InternetBtnClick()
{
    TInternetFrm links(this);
    UiServices::instance().execDialog(&links);
}

void TAddFrm::HelpBtnClick()
{
    Q_EMIT HelpRequested(QLatin1String(kHelpTopic));
}

void TAddFrm::DBGrid1TitleClick(int column)
{
    if (storeBoxes() && !table1_.setIndex(TonesModel::indexOfColumn(column)))
        refuse(table1_.errorString());
}

void TAddFrm::CloseBtnClick()
{
    close();
}

void TAddFrm::reject()
{
    ui->CloseBtn->click();
}

void TAddFrm::closeEvent(QCloseEvent* event)
{
    if (!FormClose()) {
        event->ignore();
        return;
    }
    event->accept();
    // Ends a modal run; the owner destroys the window.
    done(QDialog::Rejected);
}

bool TAddFrm::FormClose()
{
    if (!storeBoxes())
        return false;
    // A record without Category, SubCategory and CPS is no tone: it is not kept.
    if (!table1_.isEmpty() && table1_.fieldText(Field::Category).isEmpty() &&
        table1_.fieldText(Field::SubCategory).isEmpty() &&
        table1_.fieldText(Field::Cps).isEmpty()) {
        if (table1_.state() == TonesCursor::Insert)
            table1_.cancel();
        else if (!table1_.deleteRecord())
            refuse(table1_.errorString());
    }
    const TonesCursor::State state = table1_.state();
    if ((state == TonesCursor::Edit || state == TonesCursor::Insert) && !table1_.post()) {
        refuse(table1_.errorString());
        return false;
    }
    table1_.close();
    return true;
}
