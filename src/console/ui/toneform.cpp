#include "console/ui/toneform.h"

#include "catalogue/ui/addform.h"
#include "console/render.h"
#include "console/sequence.h"
#include "console/slotsound.h"
#include "console/tonesettings.h"
#include "console/ui/envelopedrawing.h"
#include "console/ui/tonebrowser.h"
#include "controls/numericedit.h"
#include "controls/uiservices.h"
#include "controls/windowsetup.h"
#include "fileio/files.h"
#include "numerology/letters.h"
#include "numerology/ui/calcform.h"
#include "shell/helpaddress.h"
#include "shell/ui/helpviewer.h"
#include "shell/ui/hookhelpsystem.h"
#include "tonegen/notes.h"
#include "tonegen/soundoutput.h"
#include "tonegen/tonegen.h"
#include "ui_toneform.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>
#include <QStyle>
#include <QTimer>
#include <optional>

namespace {

constexpr int kTimerIntervalMs = 500;
const QColor kOtherSlotColor = Qt::yellow;

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

UiServices::FileRequest settingsRequest(const QString& title, const QString& folder)
{
    UiServices::FileRequest request;
    request.title = title;
    request.folder = folder;
    request.filter = QStringLiteral("Tone Settings  [*.tns]|*.tns");
    request.defaultSuffix = QStringLiteral("tns");
    return request;
}

// The message for a settings file that cannot be read, with the system's reason.
QString cannotOpen(const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot open file %1. %2").arg(QDir::toNativeSeparators(path), reason);
}

// The message for a file that cannot be written, with the reason.
QString cannotCreate(const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot create file %1. %2").arg(QDir::toNativeSeparators(path), reason);
}

// A name a file can have: "/" and control characters become "-" ("12/25/1990" would name
// folders).
QString fileNameOf(QString text)
{
    for (QChar& c : text) {
        if (c == u'/' || c.category() == QChar::Other_Control)
            c = u'-';
    }
    return text;
}

// The default extension goes on a chosen name that has none.
QString withSuffix(const QString& path, const QString& suffix)
{
    return QFileInfo(path).suffix().isEmpty() ? path + u'.' + suffix : path;
}

QString withSettingsSuffix(const QString& path)
{
    return withSuffix(path, QStringLiteral("tns"));
}

// An hourglass for as long as it lives.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

// A pass of the digit string as the window plays it: the sounding character selected in the
// numerology field, the window handling its input between characters.
class TToneFrm::PassPlayer final : public sequence::Player
{
public:
    explicit PassPlayer(TToneFrm& form) : form_(form) {}

    // The character is selected as its sound is heard: the play that follows hands its tone
    // over well before, and holds the event loop until shortly before the tone ends.
    void show(qsizetype index) override
    {
        SoundOutput::instance().setHeardAction([this, index] {
            form_.ui->NumbBx->setFocus();
            form_.ui->NumbBx->setSelection(int(index), 1);
            form_.ui->NumbBx->repaint();
        });
    }
    void playSlot(int slot) override
    {
        form_.generators_[std::size_t(slot)]->PlayADSR();
        showUnheard();
    }
    void pause() override
    {
        form_.DelayMs(form_.pauseMs_);
        showUnheard();
    }
    bool stopRequested() override
    {
        showUnheard();
        return form_.CheckStop();
    }

private:
    // A character with nothing to sound, or whose play did not start, is shown all the same.
    static void showUnheard()
    {
        if (const auto action = SoundOutput::instance().takeHeardAction())
            action();
    }

    TToneFrm& form_;
};

TToneFrm::TToneFrm(QWidget* parent) : QWidget(parent), ui(std::make_unique<Ui::TToneFrm>())
{
    ui->setupUi(this);
    setUpControls();
    connectHandlers();
    FormCreate();
    // Key preview: every key meant for a control of this window is seen here first.
    qApp->installEventFilter(this);
}

// The help windows close with the main window.
TToneFrm::~TToneFrm()
{
    helpHook_.reset();
    helpViewer_->CloseAll();
}

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

    browser_ = std::make_unique<ToneBrowser>(
        ToneBrowser::Controls{ui->DBGrid1,
                              ui->NavFirst,
                              ui->NavPrior,
                              ui->NavNext,
                              ui->NavLast,
                              {ui->DBGrid1, ui->DBNavigator1, ui->ToneDB}});

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    for (QTimer* timer : {Timer1, Timer2})
        timer->setInterval(kTimerIntervalMs);

    slotFields_ = {ui->Tbx0, ui->Tbx1, ui->Tbx2, ui->Tbx3, ui->Tbx4,
                   ui->Tbx5, ui->Tbx6, ui->Tbx7, ui->Tbx8, ui->Tbx9};
    slotButtons_ = {ui->BitBtn0, ui->BitBtn1, ui->BitBtn2, ui->BitBtn3, ui->BitBtn4,
                    ui->BitBtn5, ui->BitBtn6, ui->BitBtn7, ui->BitBtn8, ui->BitBtn9};
    sliders_ = {ui->TrackBar1, ui->TrackBar7, ui->TrackBar2, ui->TrackBar3, ui->TrackBar4};
    noteButtons_ = {ui->ToolButton1, ui->ToolButton2,  ui->ToolButton3,  ui->ToolButton4,
                    ui->ToolButton5, ui->ToolButton6,  ui->ToolButton7,  ui->ToolButton8,
                    ui->ToolButton9, ui->ToolButton10, ui->ToolButton11, ui->ToolButton12};
    for (int i = 0; i < kSlotCount; ++i) {
        generators_[i] = new TToneGen(this);
        generators_[i]->setObjectName(QStringLiteral("Tg%1").arg(i));
        slotsound::configureSlotGenerator(*generators_[i]);
        slotFields_[i]->setPicture(5, 0, true);
        slotFields_[i]->setRange(0, 20000);
    }
    ui->NTime->setPicture(2, 3, false);
    ui->NTime->setRange(0.01, 30.0);
    ui->OctaveBx->setPicture(1, 0, false);
    ui->OctaveBx->setRange(0, 9);

    waveItems_ = new QButtonGroup(this);
    waveItems_->setObjectName(QStringLiteral("WaveItems"));
    const QList<QRadioButton*> items{ui->WaveItem0, ui->WaveItem1, ui->WaveItem2, ui->WaveItem3};
    for (qsizetype i = 0; i < items.size(); ++i)
        waveItems_->addButton(items[i], int(i));

    ui->ClearBtn->setIcon(pictureIcon(ui->ClearBtn, Picture::Clear));
    for (QPushButton* play : slotButtons_)
        play->setIcon(pictureIcon(play, Picture::Play));
    const QStyle* s = style();
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
    connect(ui->PlayBtn, &QPushButton::clicked, this, &TToneFrm::PlayBtnClick);
    connect(ui->PlayAllBtn, &QPushButton::clicked, this, &TToneFrm::PlayAllBtnClick);
    connect(Timer1, &QTimer::timeout, this, &TToneFrm::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &TToneFrm::Timer2Timer);
    for (int i = 0; i < kSlotCount; ++i) {
        connect(slotFields_[i], &NumericEdit::entered, this, [this, i] { GetTone(i); });
        connect(slotFields_[i], &QLineEdit::textChanged, this, [this, i] { toneFlags_[i] = true; });
        connect(slotButtons_[i], &QPushButton::clicked, this, [this, i] { BitBtnClick(i); });
    }
    for (QToolButton* note : noteButtons_)
        connect(note, &QToolButton::clicked, this, &TToneFrm::ToolButton1Click);
    connect(ui->TrackBar25, &QSlider::valueChanged, this, &TToneFrm::TrackBar25Change);
    connect(ui->OctaveBx, &QLineEdit::textChanged, this, &TToneFrm::OctaveBxChange);
    for (QSlider* slider : sliders_)
        connect(slider, &QSlider::valueChanged, this, &TToneFrm::TrackBar1Change);
    connect(waveItems_, &QButtonGroup::idClicked, this, &TToneFrm::RadioGroup3Click);
    connect(ui->NTime, &NumericEdit::entered, this, &TToneFrm::NTimeAfterEnter);
    connect(ui->NTime, &NumericEdit::left, this, &TToneFrm::NTimeAfterExit);
    connect(ui->SaveBtn, &QPushButton::clicked, this, &TToneFrm::SaveBtnClick);
    connect(ui->LoadBtn, &QPushButton::clicked, this, &TToneFrm::LoadBtnClick);
    connect(ui->ExportBtn, &QPushButton::clicked, this, &TToneFrm::ExportBtnClick);
    connect(ui->CalcBtn, &QPushButton::clicked, this, &TToneFrm::CalcBtnClick);
    connect(ui->NumCalcBtn, &QPushButton::clicked, this, &TToneFrm::NumCalcBtnClick);
    connect(ui->CloseBtn, &QPushButton::clicked, this, &TToneFrm::CloseBtnClick);
    connect(ui->EditBtn, &QPushButton::clicked, this, &TToneFrm::EditBtnClick);
    connect(ui->DBGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TToneFrm::DBGrid1TitleClick);
    connect(ui->ToneDB, &QPushButton::clicked, this, &TToneFrm::ToneDBClick);
    connect(ui->HelpBtn, &QPushButton::clicked, this, &TToneFrm::HelpBtnClick);
}

void TToneFrm::FormCreate()
{
    browser_->close();
    setAllToneFlags();
    dataFolder_ = QDir::currentPath();
    settingsFolder_ = inFolder(dataFolder_, QStringLiteral("ToneData"));
    helpFilePath_ = inFolder(dataFolder_, QLatin1String(shell::kHelpFileName));
    helpViewer_ = std::make_unique<HelpViewer>();
    helpHook_ = std::make_unique<THookHelpSystem>(helpFilePath_, *helpViewer_);
    browser_->setFileName(inFolder(dataFolder_, QLatin1String(catalogue::kFileName)));
    GetTone(currentSlot_);

    const QString defaults = inFolder(dataFolder_, QStringLiteral("default.tns"));
    if (QFileInfo::exists(defaults)) {
        QString error;
        const std::optional<QByteArray> bytes = fileio::readFile(defaults, &error);
        if (!bytes) {
            UiServices::instance().showMessage(this, cannotOpen(defaults, error),
                                               UiServices::MessageKind::Error);
            return;
        }
        if (!applyLines(tonesettings::readLines(*bytes)))
            return;
    } else {
        applyDefaults(ConsoleSettings::builtInDefaults());
    }

    // The generators sound as the controls show, whether or not a control moved above.
    setGeneratorDurations();
    const slotsound::Shares shares = slotsound::sharesOf(sliderPositions());
    for (TToneGen* generator : generators_)
        slotsound::applyShares(*generator, shares);
    setAllToneFlags();
}

// Values go in through the controls, so each control's change reaction runs when the value
// differs from what it shows.
void TToneFrm::applyDefaults(const ConsoleSettings& settings)
{
    consoleMethod_ = settings.method;
    ui->MthBtn->setText(numerology::MethodName(consoleMethod_));
    ui->DataBx->setText(settings.dataText);
    ui->NumbBx->setText(settings.numerologyText);
    for (int i = 0; i < kSlotCount; ++i)
        slotFields_[i]->setNumber(settings.frequencies[i]);
    ui->OctaveBx->setText(settings.octave);
    ui->NTime->setText(tonesettings::durationText(settings.durationSeconds));
    for (int i = 0; i < ConsoleSettings::SliderCount; ++i)
        sliders_[i]->setValue(settings.sliders[i]);
}

bool TToneFrm::applyLines(const QStringList& lines)
{
    using namespace tonesettings;
    const auto line = [&](int number) { return lines.value(number - 1); };
    ui->DataBx->setText(line(DataText));
    ui->NumbBx->setText(line(NumerologyText));
    consoleMethod_ = wholeNumber(line(Method));
    ui->MthBtn->setText(numerology::MethodName(consoleMethod_));
    for (int i = 0; i < kSlotCount; ++i)
        slotFields_[i]->setNumber(wholeNumber(line(FirstFrequency + i)));
    const std::optional<double> duration = seconds(line(Duration));
    if (!duration) {
        UiServices::instance().showMessage(this, notAFloat(line(Duration)),
                                           UiServices::MessageKind::Error);
        return false;
    }
    ui->NTime->setNumber(*duration);
    for (int i = 0; i < ConsoleSettings::SliderCount; ++i)
        sliders_[i]->setValue(std::clamp(wholeNumber(line(FirstSlider + i)), 0, 100));
    setWaveItem(std::clamp(wholeNumber(line(WaveItem)), -1, 3));
    // The octave field's change reaction reads the whole line ("12" moves the slider to its
    // end, 9); the field's one-digit limit applies only to what it shows afterwards.
    const int octaveLimit = ui->OctaveBx->maxLength();
    ui->OctaveBx->setMaxLength(std::max(octaveLimit, int(line(Octave).size())));
    ui->OctaveBx->setText(line(Octave));
    if (ui->OctaveBx->text().size() > octaveLimit)
        ui->OctaveBx->setText(QString::number(ui->TrackBar25->value()));
    ui->OctaveBx->setMaxLength(octaveLimit);
    ui->LoopBx->setChecked(wholeNumber(line(Loop)) != 0);
    ui->SpaceBx->setChecked(wholeNumber(line(SpaceAsZero)) != 0);
    return true;
}

// Choosing another item runs its click reaction; -1 leaves no item chosen.
void TToneFrm::setWaveItem(int item)
{
    if (item == waveItems_->checkedId())
        return;
    if (item < 0) {
        waveItems_->setExclusive(false);
        if (QAbstractButton* checked = waveItems_->checkedButton())
            checked->setChecked(false);
        waveItems_->setExclusive(true);
        return;
    }
    waveItems_->button(item)->setChecked(true);
    RadioGroup3Click(item);
}

ConsoleSettings TToneFrm::settingsFromControls() const
{
    ConsoleSettings s;
    s.dataText = ui->DataBx->text();
    s.numerologyText = ui->NumbBx->text();
    s.method = consoleMethod_;
    for (int i = 0; i < kSlotCount; ++i)
        s.frequencies[i] = slotFields_[i]->wholeValue();
    s.durationSeconds = ui->NTime->number().value_or(0);
    s.sliders = sliderPositions();
    s.waveItem = waveItems_->checkedId();
    s.octave = ui->OctaveBx->text();
    s.loop = ui->LoopBx->isChecked();
    s.spaceAsZero = ui->SpaceBx->isChecked();
    return s;
}

std::array<int, ConsoleSettings::SliderCount> TToneFrm::sliderPositions() const
{
    std::array<int, ConsoleSettings::SliderCount> positions{};
    for (int i = 0; i < ConsoleSettings::SliderCount; ++i)
        positions[i] = sliders_[i]->value();
    return positions;
}

void TToneFrm::setGeneratorDurations()
{
    const int ms = slotsound::milliseconds(ui->NTime->number().value_or(0));
    for (TToneGen* generator : generators_)
        generator->SetDuration(ms);
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

// A press while a pass runs is ignored; the running pass goes on.
void TToneFrm::PlayBtnClick()
{
    if (passRunning_)
        return;
    stopRequest_ = false;
    Timer1->start();
}

void TToneFrm::PlayAllBtnClick()
{
    if (passRunning_)
        return;
    stopRequest_ = false;
    Timer2->start();
}

void TToneFrm::Timer1Timer()
{
    Timer1->stop();
    passRunning_ = true;
    pauseMs_ = slotsound::milliseconds(ui->NTime->number().value_or(0));
    {
        const WaitCursor busy;
        for (int i = 0; i < kSlotCount; ++i) {
            if (toneFlags_[i]) {
                generators_[i]->SetFrequency(slotFields_[i]->wholeValue());
                generators_[i]->PrepareADSR();
            }
        }
    }
    toneFlags_.fill(false);

    PassPlayer player(*this);
    const bool completed = sequence::runPass(ui->NumbBx->text(), player);
    passRunning_ = false;
    if (completed && ui->LoopBx->isChecked())
        Timer1->start();
}

void TToneFrm::Timer2Timer()
{
    Timer2->stop();
    passRunning_ = true;
    for (int i = 0; i < kSlotCount; ++i) {
        slotFields_[i]->setFocus();
        GetTone(i);
        if (CheckStop()) {
            passRunning_ = false;
            return;
        }
        BitBtnClick(i);
    }
    passRunning_ = false;
    if (ui->LoopBx->isChecked())
        Timer2->start();
}

bool TToneFrm::CheckStop()
{
    QCoreApplication::processEvents();
    return stopRequest_;
}

// Silence through the sound output, so that a pause lasts as long in what is heard as a
// tone does; the window handles no input meanwhile, as while a tone sounds.
void TToneFrm::DelayMs(int ms)
{
    SoundOutput::instance().playSilence(ms);
}

void TToneFrm::GetTone(int slot)
{
    currentSlot_ = slot;
    for (int i = 0; i < kSlotCount; ++i)
        slotFields_[i]->setFieldColor(i == slot ? palette().color(QPalette::Base)
                                                : kOtherSlotColor);
}

void TToneFrm::prepareSlot(int slot)
{
    if (!toneFlags_[slot])
        return;
    const WaitCursor busy;
    generators_[slot]->SetFrequency(slotFields_[slot]->wholeValue());
    generators_[slot]->PrepareADSR();
    toneFlags_[slot] = false;
}

void TToneFrm::BitBtnClick(int slot)
{
    prepareSlot(slot);
    generators_[slot]->PlayADSR();
}

void TToneFrm::ToolButton1Click()
{
    const auto* button = qobject_cast<const QToolButton*>(sender());
    if (!button)
        return;
    int octave = ui->TrackBar25->value();
    const QString note = QStringLiteral("O%1%2").arg(octave).arg(button->text().trimmed());
    const int frequency = NoteToFrequency(note, octave);
    const int slot = currentSlot_;
    slotFields_[slot]->setNumber(frequency);
    slotFields_[slot]->repaint();
    toneFlags_[slot] = true;
    BitBtnClick(slot);
}

void TToneFrm::TrackBar25Change()
{
    const int octave = ui->TrackBar25->value();
    ui->OctaveBx->setText(QString::number(octave));
    // E to G sharp of octave 9 lie above 20000 Hz.
    for (std::size_t i = 7; i < noteButtons_.size(); ++i)
        noteButtons_[i]->setEnabled(octave != 9);
}

void TToneFrm::OctaveBxChange()
{
    ui->TrackBar25->setValue(ui->OctaveBx->wholeValue());
}

void TToneFrm::TrackBar1Change()
{
    StopBtnClick();
    setAllToneFlags();
    const slotsound::Shares shares = slotsound::sharesOf(sliderPositions());
    const std::array<std::pair<QLabel*, int>, 5> panels{{{ui->Panel1, shares.attack},
                                                         {ui->Panel5, shares.hold},
                                                         {ui->Panel2, shares.decay},
                                                         {ui->Panel3, shares.sustain},
                                                         {ui->Panel4, shares.release}}};
    for (const auto& [panel, percent] : panels)
        panel->setText(QStringLiteral("%1%").arg(percent));
    for (TToneGen* generator : generators_)
        slotsound::applyShares(*generator, shares);
    repaint(ui->Bevel2->geometry());
}

void TToneFrm::RadioGroup3Click(int item)
{
    const TTGWave wave = slotsound::waveOfItem(item);
    for (TToneGen* generator : generators_)
        generator->SetWaveform(wave);
}

void TToneFrm::NTimeAfterEnter()
{
    StopBtnClick();
}

void TToneFrm::NTimeAfterExit()
{
    setGeneratorDurations();
    setAllToneFlags();
}

void TToneFrm::CalcBtnClick()
{
    if (calculatorForm_)
        UiServices::instance().execDialog(calculatorForm_);
}

void TToneFrm::CloseBtnClick()
{
    StopBtnClick();
    close();
}

void TToneFrm::NumCalcBtnClick()
{
    if (!numerologyForm_)
        return;
    numerologyForm_->HandOver(consoleMethod_, ui->DataBx->text());
    UiServices::instance().execDialog(numerologyForm_);
}

void TToneFrm::SaveBtnClick()
{
    UiServices::FileRequest request =
        settingsRequest(QStringLiteral("Save Tone Settings"), settingsFolder_);
    request.proposedName = fileNameOf(numerology::Trimmed(ui->DataBx->text()));
    const QString chosen = UiServices::instance().chooseSaveFile(this, request);
    if (chosen.isEmpty())
        return;
    const QString path = withSettingsSuffix(chosen);
    settingsFolder_ = QFileInfo(path).absolutePath();
    saveSettingsFile(path);
}

QStringList TToneFrm::settingsLines() const
{
    QStringList lines = tonesettings::linesOf(settingsFromControls());
    lines[tonesettings::Duration - 1] = ui->NTime->text();
    return lines;
}

bool TToneFrm::saveSettingsFile(const QString& path)
{
    QString error;
    if (!fileio::saveFile(path, tonesettings::fileBytes(settingsLines()), &error)) {
        UiServices::instance().showMessage(this, cannotCreate(path, error),
                                           UiServices::MessageKind::Error);
        return false;
    }
    return true;
}

// One pass of the numerology field as a WAVE file. The settings are read back from the lines
// "Save" writes, so that the file is the one the command line renders from the saved settings.
void TToneFrm::ExportBtnClick()
{
    StopBtnClick();
    UiServices::FileRequest request;
    request.title = QStringLiteral("Export Sound");
    request.folder = settingsFolder_;
    request.proposedName = fileNameOf(numerology::Trimmed(ui->DataBx->text()));
    request.filter = QStringLiteral("Wave Sound  (*.wav)|*.wav");
    request.defaultSuffix = QStringLiteral("wav");
    const QString chosen = UiServices::instance().chooseSaveFile(this, request);
    if (chosen.isEmpty())
        return;
    const QString path = withSuffix(chosen, QStringLiteral("wav"));

    QString error;
    const std::optional<ConsoleSettings> settings =
        tonesettings::settingsOf(settingsLines(), &error);
    if (!settings) {
        UiServices::instance().showMessage(this, error, UiServices::MessageKind::Error);
        return;
    }
    bool written = false;
    {
        const WaitCursor busy;
        const std::optional<QByteArray> wave = renderPass(ui->NumbBx->text(), *settings, &error);
        if (wave) {
            written = fileio::saveFile(path, *wave, &error);
        } else if (!error.isEmpty()) {
            error[0] = error[0].toUpper();
        }
    }
    if (!written)
        UiServices::instance().showMessage(this, cannotCreate(path, error),
                                           UiServices::MessageKind::Error);
}

void TToneFrm::LoadBtnClick()
{
    const QString chosen = UiServices::instance().chooseOpenFile(
        this, settingsRequest(QStringLiteral("Load Tone Settings"), settingsFolder_));
    if (chosen.isEmpty())
        return;
    const QString path = withSettingsSuffix(chosen);
    settingsFolder_ = QFileInfo(path).absolutePath();
    loadSettingsFile(path);
}

void TToneFrm::loadSettingsFile(const QString& path)
{
    if (!QFileInfo::exists(path))
        return;
    QString error;
    const std::optional<QByteArray> bytes = fileio::readFile(path, &error);
    if (!bytes) {
        UiServices::instance().showMessage(this, cannotOpen(path, error),
                                           UiServices::MessageKind::Error);
        return;
    }
    const QStringList lines = tonesettings::readLines(*bytes);
    ui->DataBx->clear();
    if (!applyLines(lines))
        return;
    // The file's numerology text survives the reactions of the lines after it.
    ui->DataBx->setText(lines.value(tonesettings::DataText - 1));
    ui->NumbBx->setText(lines.value(tonesettings::NumerologyText - 1));
    setGeneratorDurations();
    setAllToneFlags();
}

catalogue::TonesDatabase& TToneFrm::catalogueDatabase()
{
    return browser_->database();
}

void TToneFrm::openCatalogue(bool quiet)
{
    QString problem;
    if (!browser_->open(&problem) && !problem.isEmpty() && !quiet)
        UiServices::instance().showMessage(this, problem, UiServices::MessageKind::Error);
}

// The cursor is closed while the catalogue is maintained, so that the grid shows every change
// when it opens again; the order chosen stays. A catalogue that cannot be browsed was reported
// already and is not maintained either. One that cannot be read for the moment (another
// program locks it) is reported by the maintenance window, which then is not shown: nothing
// typed into it could be kept.
void TToneFrm::EditBtnClick()
{
    browser_->close();
    bool reported = false;
    if (catalogueDatabase().isOpen()) {
        TAddFrm form(catalogueDatabase(), this);
        if (form.Table1().isOpen()) {
            connect(&form, &TAddFrm::HelpRequested, this, &TToneFrm::OpenHelpTopic);
            UiServices::instance().execDialog(&form);
        } else {
            reported = true;
        }
    }
    openCatalogue(reported);
}

void TToneFrm::DBGrid1TitleClick(int column)
{
    browser_->sortByColumn(column);
}

// Copies the current record's frequency into the current slot and moves both on by one, so
// that presses in a row fill consecutive slots with consecutive records.
void TToneFrm::ToneDBClick()
{
    const int slot = currentSlot_;
    bool isNumber = false;
    const int cps = browser_->cursor().fieldText(catalogue::Field::Cps).toInt(&isNumber);
    // An empty text is no entry: the field keeps its value.
    if (isNumber)
        slotFields_[slot]->setNumber(cps);
    toneFlags_[slot] = true;
    const int following = (slot + 1) % kSlotCount;
    slotFields_[following]->setFocus();
    GetTone(following);
    browser_->cursor().next();
}

bool TToneFrm::FormKeyDown(QKeyEvent* event)
{
    // A key press cancels a pass that is waiting to start.
    Timer1->stop();
    Timer2->stop();
    if (event->key() != Qt::Key_F1)
        return false;
    HelpBtnClick();
    return true;
}

void TToneFrm::HelpBtnClick()
{
    OpenHelpTopic(QString());
}

void TToneFrm::OpenHelpTopic(const QString& topic)
{
    helpViewer_->DisplayTopic(helpFilePath_ + topic);
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
        if (FormKeyDown(key))
            return true;
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
        FormShow();
    }
}

void TToneFrm::FormShow()
{
    openCatalogue();
}

// A pass still running ends after its tone in progress, so that a closed window plays on
// no longer than that.
void TToneFrm::closeEvent(QCloseEvent* event)
{
    browser_->close();
    stopRequest_ = true;
    Timer1->stop();
    Timer2->stop();
    hide();
    // One close in four asks for a donation before the program ends.
    if (donateForm_ && UiServices::instance().randomDraw(4) == 3)
        UiServices::instance().execDialog(donateForm_);
    QWidget::closeEvent(event);
}

void TToneFrm::paintEvent(QPaintEvent*)
{
    FormPaint();
}

void TToneFrm::FormPaint()
{
    QPainter painter(this);
    paintEnvelope(painter, ui->Bevel1->geometry(), sliderPositions());
}
