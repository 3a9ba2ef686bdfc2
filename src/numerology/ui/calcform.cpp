#include "numerology/ui/calcform.h"

#include "controls/datefield.h"
#include "controls/uiservices.h"
#include "controls/windowsetup.h"
#include "numerology/analysis.h"
#include "numerology/datecalc.h"
#include "numerology/letters.h"
#include "numerology/ui/yform.h"
#include "report/rtf.h"
#include "report/ui/printing.h"
#include "shell/ui/internetform.h"
#include "ui_calcform.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QShortcut>
#include <QTimer>
#include <algorithm>

namespace {

constexpr int kClientWidth = 474;
constexpr int kDatePanelWidth = 140;
constexpr int kDataLength = 40;  // what can be typed; a text set otherwise may be longer

}  // namespace

TCalcFrm::TCalcFrm(QWidget* parent) : QDialog(parent), ui(std::make_unique<Ui::TCalcFrm>())
{
    ui->setupUi(this);
    setFixedWindow(this, kMinimizableButtons);
    QFont bold(QStringLiteral("Arial"));
    bold.setPixelSize(13);
    bold.setBold(true);
    setFont(bold);
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setPixelSize(15);
    fixed.setBold(true);
    for (QLineEdit* field : {ui->Vowels, ui->Data, ui->Constants})
        field->setFont(fixed);
    // The read-only fields are pale blue.
    for (QLineEdit* field : {ui->Vowels, ui->Constants, ui->VTotal, ui->Total, ui->CTotal,
                             ui->DtTot, ui->MnTot, ui->DyTot, ui->NmDt}) {
        QPalette pale = field->palette();
        pale.setColor(QPalette::Base, QColor(kPaleBlue));
        field->setPalette(pale);
    }

    ui->Clearbtn->setIcon(pictureIcon(ui->Clearbtn, Picture::Clear));
    ui->CalendarBtn->setIcon(pictureIcon(ui->CalendarBtn, Picture::Calendar));
    ui->PasteBtn->setIcon(pictureIcon(ui->PasteBtn, Picture::Paste));
    ui->DtClearBtn->setIcon(pictureIcon(ui->DtClearBtn, Picture::Clear));
    ui->DtHelpBtn->setIcon(pictureIcon(ui->DtHelpBtn, Picture::Help));
    ui->frSpeedButton1->setIcon(pictureIcon(ui->frSpeedButton1, Picture::Close));
    ui->frSpeedButton1->setIconSize(QSize(10, 10));
    ui->ExitBtn->setDefault(false);
    ui->Label1->setText(DateField::orderLabel());

    connect(ui->Data, &QLineEdit::textChanged, ui->CalcBtn, &QPushButton::click);
    connect(ui->CalcBtn, &QPushButton::clicked, this, &TCalcFrm::CalcBtnClick);
    connect(ui->MthBtn, &QPushButton::clicked, this, &TCalcFrm::MthBtnClick);
    connect(ui->Clearbtn, &QPushButton::clicked, this, &TCalcFrm::ClearBtnClick);
    connect(ui->PasteBtn, &QPushButton::clicked, this, &TCalcFrm::PasteBtnClick);
    connect(ui->CalendarBtn, &QPushButton::clicked, this, &TCalcFrm::CalendarBtnClick);
    connect(ui->frSpeedButton1, &QToolButton::clicked, ui->CalendarBtn, &QPushButton::click);
    connect(ui->CalculatorBtn, &QPushButton::clicked, this, &TCalcFrm::CalculatorBtnClick);
    connect(ui->PrintBtn, &QPushButton::clicked, this, &TCalcFrm::PrintBtnClick);
    connect(ui->ExportBtn, &QPushButton::clicked, this, &TCalcFrm::ExportBtnClick);
    connect(ui->InternetBtn, &QPushButton::clicked, this, &TCalcFrm::InternetBtnClick);
    connect(ui->ExitBtn, &QPushButton::clicked, this, &TCalcFrm::ExitBtnClick);
    connect(ui->DtClearBtn, &QPushButton::clicked, this, &TCalcFrm::DtClearBtnClick);
    connect(ui->DtCalcBtn, &QPushButton::clicked, this, &TCalcFrm::DtCalcBtnClick);
    connect(ui->HelpBtn, &QPushButton::clicked, this, &TCalcFrm::HelpBtnClick);
    connect(ui->DtHelpBtn, &QPushButton::clicked, this, &TCalcFrm::DtHelpBtnClick);
    // F1 opens the window's topic whichever control has the focus, the date panel's too.
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
            &TCalcFrm::HelpBtnClick);
    connect(ui->EsDateEdit1, &DateField::textChanged, ui->DtClearBtn, &QPushButton::click);
    connect(ui->EsDateEdit1, &DateField::entered, this, [this] {
        ui->DtCalcBtn->setFocus();
        ui->DtCalcBtn->click();
    });
    ui->Data->installEventFilter(this);
}

TCalcFrm::~TCalcFrm() = default;

void TCalcFrm::SetYForm(TYFrm* form)
{
    yForm_ = form;
    if (yForm_)
        yForm_->SetHost(this);
}

QString TCalcFrm::DataText() const
{
    return ui->Data->text();
}

void TCalcFrm::SetDataText(const QString& text)
{
    ui->Data->setText(text);
}

void TCalcFrm::HandOver(int method, const QString& text)
{
    if (method == numerology::Pythagorean || method == numerology::Chaldean) {
        methodFlag_ = method;
        ui->MthBtn->setText(numerology::MethodName(method));
    }
    const QString prepared = numerology::UpperLetters(numerology::Trimmed(text));
    yPos_ = int(prepared.indexOf(u'Y')) + 1;
    ui->Data->setText(prepared);
    // The figures always belong to the method shown, even when the text did not change.
    CalcBtnClick();
}

void TCalcFrm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (yPos_ > 0)
        QTimer::singleShot(0, this, &TCalcFrm::showYQuestion);
}

void TCalcFrm::showYQuestion()
{
    if (yForm_ && yPos_ > 0)
        UiServices::instance().execDialog(yForm_);
}

void TCalcFrm::CalcBtnClick()
{
    const numerology::NameAnalysis a = numerology::AnalyzeName(ui->Data->text(), methodFlag_);
    vowelSum_ = a.vowelSum;
    consonantSum_ = a.consonantSum;
    digitSum_ = a.digitSum;
    nameTotal_ = a.nameTotal;
    ui->Vowels->setText(a.vowels);
    ui->Constants->setText(a.consonants);
    ui->VTotal->setText(numerology::ReduceChain(std::uint64_t(a.vowelSum)));
    ui->CTotal->setText(numerology::ReduceChain(std::uint64_t(a.consonantSum)));
    ui->Total->setText(numerology::ReduceChain(std::uint64_t(a.nameTotal)));

    const numerology::DigitCounts counts = numerology::CountDigits(a.vowels, a.consonants);
    for (int k = 1; k <= 9; ++k) {
        const std::size_t i = std::size_t(k - 1);
        findChild<QLabel*>(QStringLiteral("V%1").arg(k))
            ->setText(QString::number(counts.vowels[i]));
        findChild<QLabel*>(QStringLiteral("C%1").arg(k))
            ->setText(QString::number(counts.consonants[i]));
        findChild<QLabel*>(QStringLiteral("T%1").arg(k))
            ->setText(QString::number(counts.totals[i]));
    }
    ui->vvt->setText(QString::number(counts.vowelCount));
    ui->cct->setText(QString::number(counts.consonantCount));
    ui->ttt->setText(QString::number(counts.letterCount));
    showNameAndDate();
}

void TCalcFrm::showNameAndDate()
{
    ui->NmDt->setText(numerology::NameAndDate(nameTotal_, dateSum_));
}

void TCalcFrm::MthBtnClick()
{
    methodFlag_ =
        methodFlag_ == numerology::Chaldean ? numerology::Pythagorean : numerology::Chaldean;
    ui->MthBtn->setText(numerology::MethodName(methodFlag_));
    ui->CalcBtn->click();
}

void TCalcFrm::ClearBtnClick()
{
    vowelSum_ = consonantSum_ = digitSum_ = nameTotal_ = 0;
    ui->Data->clear();
    CalcBtnClick();
    ui->Data->setFocus();
}

void TCalcFrm::PasteBtnClick()
{
    ui->Data->setText(numerology::UpperLetters(QApplication::clipboard()->text()));
    yPos_ = int(ui->Data->text().indexOf(u'Y')) + 1;
    yTyped_ = 0;
    showYQuestion();
}

void TCalcFrm::CalendarBtnClick()
{
    const bool opening = !ui->Panel3->isVisible();
    const int width = opening ? kClientWidth + kDatePanelWidth : kClientWidth;
    ui->Panel3->setVisible(opening);
    setFixedSize(width, height());
    move(x() + (opening ? -71 : 71), y());
    if (opening)
        ui->EsDateEdit1->setFocus();
    else
        ui->Data->setFocus();
}

void TCalcFrm::CalculatorBtnClick()
{
    if (calculatorForm_)
        UiServices::instance().execDialog(calculatorForm_);
}

numerology::ReportValues TCalcFrm::ReportValues() const
{
    numerology::ReportValues values;
    values.method = ui->MthBtn->text();
    values.data = ui->Data->text();
    values.vowels = ui->Vowels->text();
    values.consonants = ui->Constants->text();
    values.vowelTotal = ui->VTotal->text();
    values.consonantTotal = ui->CTotal->text();
    values.total = ui->Total->text();
    for (int k = 1; k <= 9; ++k) {
        const std::size_t i = std::size_t(k - 1);
        values.vowelCounts[i] = findChild<QLabel*>(QStringLiteral("V%1").arg(k))->text();
        values.consonantCounts[i] = findChild<QLabel*>(QStringLiteral("C%1").arg(k))->text();
        values.totalCounts[i] = findChild<QLabel*>(QStringLiteral("T%1").arg(k))->text();
    }
    values.vowelCount = ui->vvt->text();
    values.consonantCount = ui->cct->text();
    values.letterCount = ui->ttt->text();
    // Hidden by the user, not merely because the window is.
    values.datePanelShown = !ui->Panel3->isHidden();
    values.dateSum = dateSum_;
    QString unused;
    values.date = ui->EsDateEdit1->date(QDate::currentDate(), &unused).value_or(QDate());
    values.dayTotal = ui->DyTot->text();
    values.dateTotal = ui->DtTot->text();
    values.nameAndDate = ui->NmDt->text();
    return values;
}

void TCalcFrm::PrintBtnClick()
{
    report::printReport(this, numerology::PrepareReport(numerology::frReport1(), ReportValues()),
                        numerology::UpperLetters(ui->Data->text()));
}

void TCalcFrm::ExportBtnClick()
{
    UiServices::FileRequest request;
    request.title = QStringLiteral("Save As");
    request.filter = QStringLiteral("Rich Text File  (*.rtf)|*.rtf");
    request.defaultSuffix = QStringLiteral("rtf");
    QString path = UiServices::instance().chooseSaveFile(this, request);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".rtf");
    QString error;
    if (!report::writeRtf(numerology::PrepareReport(numerology::frReport2(), ReportValues()), path,
                          &error))
        UiServices::instance().showMessage(
            this,
            QStringLiteral("Cannot create file %1. %2").arg(QDir::toNativeSeparators(path), error),
            UiServices::MessageKind::Error);
}

void TCalcFrm::ExitBtnClick()
{
    hide();
}

void TCalcFrm::DtClearBtnClick()
{
    dateSum_ = 0;
    for (QLineEdit* result : {ui->DyTot, ui->MnTot, ui->DtTot, ui->NmDt})
        result->clear();
}

void TCalcFrm::DtCalcBtnClick()
{
    ui->DtClearBtn->click();
    QString error;
    const std::optional<QDate> date = ui->EsDateEdit1->date(QDate::currentDate(), &error);
    if (!date) {
        UiServices::instance().showMessage(this, error, UiServices::MessageKind::Error);
        return;
    }
    const numerology::DateAnalysis d = numerology::AnalyzeDate(*date);
    ui->DyTot->setText(d.dayTotal);
    ui->MnTot->setText(d.monthDayTotal);
    dateSum_ = d.dateSum;
    ui->DtTot->setText(d.dateTotal);
    showNameAndDate();
}

void TCalcFrm::InternetBtnClick()
{
    TInternetFrm links(this);
    UiServices::instance().execDialog(&links);
}

void TCalcFrm::HelpBtnClick()
{
    Q_EMIT HelpRequested(QLatin1String(kHelpTopic));
}

void TCalcFrm::DtHelpBtnClick()
{
    Q_EMIT HelpRequested(QLatin1String(kDateHelpTopic));
}

bool TCalcFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != ui->Data)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString typed = key->text();
        if (typed.size() == 1 && typed[0].isPrint() && !(key->modifiers() & Qt::ControlModifier)) {
            // Typing stops at 40 characters; typed letters go in upper case.
            if (ui->Data->text().size() - ui->Data->selectedText().size() >= kDataLength)
                return true;
            ui->Data->insert(numerology::UpperLetters(typed));
            return true;
        }
    } else if (event->type() == QEvent::InputMethod) {
        // Text an input method commits is typed too: the same limit, the same upper case.
        const auto* input = static_cast<QInputMethodEvent*>(event);
        const QString committed = input->commitString();
        const qsizetype kept =
            ui->Data->text().size() - ui->Data->selectedText().size() - input->replacementLength();
        const QString allowed =
            numerology::UpperLetters(committed).left(std::max<qsizetype>(0, kDataLength - kept));
        if (allowed != committed) {
            QInputMethodEvent filtered(input->preeditString(), input->attributes());
            filtered.setCommitString(allowed, input->replacementStart(),
                                     input->replacementLength());
            QCoreApplication::sendEvent(ui->Data, &filtered);
            return true;
        }
    } else if (event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        yPos_ = 0;
        yTyped_ = 0;
        const int caret = ui->Data->cursorPosition();
        // Ask only about a Y that was just typed.
        if (key->key() == Qt::Key_Y && !key->isAutoRepeat() && caret > 0 &&
            ui->Data->text()[caret - 1] == u'Y') {
            yPos_ = caret;
            yTyped_ = 1;
            showYQuestion();
            ui->Data->setCursorPosition(caret);
        }
    }
    return QDialog::eventFilter(watched, event);
}
