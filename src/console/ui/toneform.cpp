#include "console/ui/toneform.h"

#include "console/consolesettings.h"
#include "console/slotsound.h"
#include "controls/uiservices.h"
#include "controls/windowsetup.h"
#include "numerology/letters.h"
#include "tonegen/tonegen.h"
#include "ui_toneform.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QKeyEvent>
#include <QLocale>
#include <QStandardItemModel>
#include <QStyle>
#include <QTimer>
#include <optional>

namespace {

constexpr int kTimerIntervalMs = 500;

QString inFolder(const QString& folder, const QString& name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

// The character a key press types, as a character message would carry it; none for keys
// that type nothing (arrows, Delete, Tab, function keys, modifiers alone).
std::optional<QChar> typedCharacter(const QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const int key = event->key();
    if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier)) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return QChar(key - Qt::Key_A + 1);
        if (key == Qt::Key_Backspace)
            return QChar(0x7f);
        return std::nullopt;
    }
    switch (key) {
    case Qt::Key_Backspace:
        return QChar(u'\b');
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return std::nullopt;
    default:
        break;
    }
    const QString text = event->text();
    if (text.isEmpty())
        return std::nullopt;
    return text.front();
}

// Backspace, a blank, a digit or a pause mark.
bool isNumerologyFieldCharacter(QChar c)
{
    return c == u'\b' || c == u' ' || (c >= u'0' && c <= u'9') || c == u'P' || c == u'p';
}

}  // namespace

TToneFrm::TToneFrm(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TToneFrm>())
{
    ui->setupUi(this);
    setUpControls();
    connectHandlers();
    FormCreate();
    // Key preview: every key meant for a control of this window is seen here first.
    qApp->installEventFilter(this);
}

TToneFrm::~TToneFrm() = default;

void TToneFrm::setUpControls()
{
    setFixedWindow(this, kMinimizableButtons);

    QFont formFont(QStringLiteral("Arial"));
    formFont.setPixelSize(12);
    setFont(formFont);
    // Both fields share a fixed-pitch font so that each digit stands under its character.
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setPixelSize(13);
    ui->DataBx->setFont(fixed);
    ui->NumbBx->setFont(fixed);
    QFont panelFont = formFont;
    panelFont.setPixelSize(11);
    for (QLabel* panel : {ui->Panel1, ui->Panel5, ui->Panel2, ui->Panel3, ui->Panel4})
        panel->setFont(panelFont);

    // The catalogue's columns, shown before the catalogue is opened.
    auto* columns = new QStandardItemModel(0, 4, this);
    columns->setHorizontalHeaderLabels({QStringLiteral("CPS"), QStringLiteral("Category"),
                                        QStringLiteral("SubCategory"), QStringLiteral("Source")});
    ui->DBGrid1->setModel(columns);
    ui->DBGrid1->setColumnWidth(0, 55);
    ui->DBGrid1->setColumnWidth(1, 252);
    ui->DBGrid1->setColumnWidth(2, 252);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    for (QTimer* timer : {Timer1, Timer2})
        timer->setInterval(kTimerIntervalMs);

    for (int i = 0; i < kSlotCount; ++i) {
        generators_[i] = new TToneGen(this);
        generators_[i]->setObjectName(QStringLiteral("Tg%1").arg(i));
        slotsound::configureSlotGenerator(*generators_[i]);
    }

    waveItems_ = new QButtonGroup(this);
    waveItems_->setObjectName(QStringLiteral("WaveItems"));
    const QList<QRadioButton*> items{ui->WaveItem0, ui->WaveItem1, ui->WaveItem2, ui->WaveItem3};
    for (qsizetype i = 0; i < items.size(); ++i)
        waveItems_->addButton(items[i], int(i));

    const QStyle* s = style();
    ui->ClearBtn->setIcon(s->standardIcon(QStyle::SP_DialogResetButton));
    for (QPushButton* play : {ui->BitBtn0, ui->BitBtn1, ui->BitBtn2, ui->BitBtn3, ui->BitBtn4,
                              ui->BitBtn5, ui->BitBtn6, ui->BitBtn7, ui->BitBtn8, ui->BitBtn9})
        play->setIcon(s->standardIcon(QStyle::SP_MediaPlay));
    ui->ToneDB->setIcon(s->standardIcon(QStyle::SP_ArrowRight));
    ui->NavFirst->setIcon(s->standardIcon(QStyle::SP_MediaSkipBackward));
    ui->NavPrior->setIcon(s->standardIcon(QStyle::SP_MediaSeekBackward));
    ui->NavNext->setIcon(s->standardIcon(QStyle::SP_MediaSeekForward));
    ui->NavLast->setIcon(s->standardIcon(QStyle::SP_MediaSkipForward));
}

void TToneFrm::connectHandlers()
{
    connect(ui->DataBx, &QLineEdit::textChanged, this, &TToneFrm::DataBxChange);
    connect(ui->MthBtn, &QPushButton::clicked, this, &TToneFrm::MthBtnClick);
    connect(ui->SpaceBx, &QCheckBox::toggled, this, &TToneFrm::SpaceBxClick);
    connect(ui->LoopBx, &QCheckBox::toggled, this, &TToneFrm::LoopBxClick);
    connect(ui->ClearBtn, &QPushButton::clicked, this, &TToneFrm::ClearBtnClick);
    connect(ui->StopBtn, &QPushButton::clicked, this, &TToneFrm::StopBtnClick);
    connect(ui->BitBtn10, &QPushButton::clicked, this, &TToneFrm::StopBtnClick);
}

void TToneFrm::FormCreate()
{
    setAllToneFlags();
    dataFolder_ = QDir::currentPath();
    settingsFolder_ = inFolder(dataFolder_, QStringLiteral("ToneData"));
    helpFilePath_ = inFolder(dataFolder_, QStringLiteral("Velnora.chm"));
    applyStartupValues(ConsoleSettings::builtInDefaults());
    setGeneratorsFromControls();
    setAllToneFlags();
}

// Every slot sounds for the duration shown, with the envelope the sliders show.
void TToneFrm::setGeneratorsFromControls()
{
    const int ms = slotsound::milliseconds(QLocale().toDouble(ui->NTime->text()));
    const slotsound::Shares shares =
        slotsound::sharesOf({ui->TrackBar1->value(), ui->TrackBar7->value(), ui->TrackBar2->value(),
                             ui->TrackBar3->value(), ui->TrackBar4->value()});
    for (TToneGen* generator : generators_) {
        generator->SetDuration(ms);
        slotsound::applyShares(*generator, shares);
    }
}

// Values go in through the controls, so each control's change reaction runs when the value
// differs from what it shows.
void TToneFrm::applyStartupValues(const ConsoleSettings& settings)
{
    consoleMethod_ = settings.method;
    ui->MthBtn->setText(numerology::MethodName(consoleMethod_));
    ui->DataBx->setText(settings.dataText);
    ui->NumbBx->setText(settings.numerologyText);
    const std::array<QLineEdit*, kSlotCount> fields{ui->Tbx0, ui->Tbx1, ui->Tbx2, ui->Tbx3,
                                                    ui->Tbx4, ui->Tbx5, ui->Tbx6, ui->Tbx7,
                                                    ui->Tbx8, ui->Tbx9};
    for (int i = 0; i < kSlotCount; ++i)
        fields[i]->setText(QString::number(settings.frequencies[i]));
    ui->OctaveBx->setText(settings.octave);
    ui->NTime->setText(QLocale().toString(settings.durationSeconds, 'f', 3));
    const std::array<QSlider*, ConsoleSettings::SliderCount> sliders{
        ui->TrackBar1, ui->TrackBar7, ui->TrackBar2, ui->TrackBar3, ui->TrackBar4};
    for (int i = 0; i < ConsoleSettings::SliderCount; ++i)
        sliders[i]->setValue(settings.sliders[i]);
}

void TToneFrm::setAllToneFlags()
{
    toneFlags_.fill(true);
}

void TToneFrm::DataBxChange()
{
    ui->NumbBx->setText(
        numerology::TextToDigits(ui->DataBx->text(), consoleMethod_, ui->SpaceBx->isChecked()));
}

void TToneFrm::MthBtnClick()
{
    StopBtnClick();
    consoleMethod_ =
        consoleMethod_ != numerology::Pythagorean ? numerology::Pythagorean : numerology::Chaldean;
    ui->MthBtn->setText(numerology::MethodName(consoleMethod_));
    DataBxChange();
}

void TToneFrm::SpaceBxClick()
{
    StopBtnClick();
    DataBxChange();
}

void TToneFrm::LoopBxClick()
{
    StopBtnClick();
}

void TToneFrm::ClearBtnClick()
{
    ui->DataBx->clear();
    ui->DataBx->setFocus();
}

void TToneFrm::StopBtnClick()
{
    stopRequest_ = true;
    Timer1->stop();
    Timer2->stop();
    for (TToneGen* generator : generators_)
        generator->Stop();
}

void TToneFrm::FormKeyDown(QKeyEvent*)
{
    // A key press cancels a pass that is waiting to start.
    Timer1->stop();
    Timer2->stop();
}

bool TToneFrm::NumbBxKeyPress(const QKeyEvent* event)
{
    const std::optional<QChar> typed = typedCharacter(event);
    if (!typed || isNumerologyFieldCharacter(*typed))
        return false;
    UiServices::instance().beep();
    return true;
}

bool TToneFrm::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::InputMethod)
        return QWidget::eventFilter(watched, event);
    if (!watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != this)
        return QWidget::eventFilter(watched, event);

    if (type == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        FormKeyDown(key);
        if (watched == ui->NumbBx && NumbBxKeyPress(key))
            return true;
    } else if (watched == ui->NumbBx) {
        // Text composed by an input method is typed too, and passes the same filter.
        const QString committed = static_cast<QInputMethodEvent*>(event)->commitString();
        if (!std::all_of(committed.begin(), committed.end(), isNumerologyFieldCharacter)) {
            UiServices::instance().beep();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TToneFrm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        centreOnScreen(this);
    }
}
