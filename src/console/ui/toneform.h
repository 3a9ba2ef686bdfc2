#pragma once

#include "console/consolesettings.h"

#include <QWidget>
#include <array>
#include <memory>

class HelpViewer;
class NumericEdit;
class QButtonGroup;
class TCalcFrm;
class THookHelpSystem;
class QDialog;
class QKeyEvent;
class QPushButton;
class QSlider;
class QTimer;
class QToolButton;
class TToneGen;
class ToneBrowser;

namespace catalogue {
class TonesDatabase;
}

namespace Ui {
class TToneFrm;
}

// The tone console: the program's main window.
class TToneFrm : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kSlotCount = 10;
    using Flags = std::array<bool, kSlotCount>;

    explicit TToneFrm(QWidget* parent = nullptr);
    ~TToneFrm() override;

    QString DataFolder() const { return dataFolder_; }
    QString SettingsFolder() const { return settingsFolder_; }
    QString HelpFilePath() const { return helpFilePath_; }
    int ConsoleMethod() const { return consoleMethod_; }
    int CurrentSlot() const { return currentSlot_; }
    const Flags& ToneFlags() const { return toneFlags_; }
    bool StopRequest() const { return stopRequest_; }
    int PauseMs() const { return pauseMs_; }

    // The math calculator that "Calculator" shows.
    void SetCalculatorForm(QDialog* form) { calculatorForm_ = form; }
    // The numerology calculator that "Numerology" hands the data text to.
    void SetNumerologyForm(TCalcFrm* form) { numerologyForm_ = form; }
    // The donation window that closing the console shows on one close in four.
    void SetDonateForm(QDialog* form) { donateForm_ = form; }

    // The help viewer that shows every window's help topics.
    HelpViewer& helpViewer() const { return *helpViewer_; }

    // The catalogue that the grid browses and "Data " maintains: open from the window's first
    // showing on, unless it cannot be browsed.
    catalogue::TonesDatabase& catalogueDatabase();

    // Applies a tone-settings file as loading one does, without the dialog.
    void loadSettingsFile(const QString& path);
    // Writes the console's settings; false, having said why, when the file cannot be written.
    bool saveSettingsFile(const QString& path);

public Q_SLOTS:
    void DataBxChange();
    void MthBtnClick();
    void SpaceBxClick();
    void LoopBxClick();
    void ClearBtnClick();
    void StopBtnClick();
    void PlayBtnClick();
    void PlayAllBtnClick();
    void Timer1Timer();
    void Timer2Timer();
    void ToolButton1Click();
    void TrackBar25Change();
    void OctaveBxChange();
    void TrackBar1Change();
    void RadioGroup3Click(int item);
    void NTimeAfterEnter();
    void NTimeAfterExit();
    void SaveBtnClick();
    void CalcBtnClick();
    void NumCalcBtnClick();
    void CloseBtnClick();
    void LoadBtnClick();
    void ExportBtnClick();
    void EditBtnClick();
    void DBGrid1TitleClick(int column);
    void ToneDBClick();
    void HelpBtnClick();
    // Shows a topic of the help file: its topic path ("::/html/veln7lf6.htm") appended to
    // HelpFilePath. Every window's help goes through here.
    void OpenHelpTopic(const QString& topic);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    class PassPlayer;

    void setUpControls();
    void connectHandlers();
    void FormCreate();
    void FormShow();
    // True when the key was the window's own (F1), not to be passed on.
    bool FormKeyDown(QKeyEvent* event);
    void FormPaint();
    // True when the typed key is refused.
    bool NumbBxKeyPress(const QKeyEvent* event);

    void GetTone(int slot);
    void BitBtnClick(int slot);
    void prepareSlot(int slot);
    bool CheckStop();
    void DelayMs(int ms);

    void applyDefaults(const ConsoleSettings& settings);
    // Applies the lines of a settings file through the controls; false, having said why,
    // when the duration line is not a number (the lines before it keep their effect).
    bool applyLines(const QStringList& lines);
    void setWaveItem(int item);
    ConsoleSettings settingsFromControls() const;
    // The lines "Save" writes: the duration line as the field shows it.
    QStringList settingsLines() const;
    std::array<int, ConsoleSettings::SliderCount> sliderPositions() const;
    void setGeneratorDurations();
    void setAllToneFlags();
    // Opens the catalogue's cursor; a catalogue that cannot be browsed is reported once, and
    // not at all when quiet (the user was just told).
    void openCatalogue(bool quiet = false);

    std::unique_ptr<Ui::TToneFrm> ui;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    QButtonGroup* waveItems_ = nullptr;
    std::unique_ptr<ToneBrowser> browser_;
    std::array<TToneGen*, kSlotCount> generators_{};      // Tg0 .. Tg9
    std::array<NumericEdit*, kSlotCount> slotFields_{};   // Tbx0 .. Tbx9
    std::array<QPushButton*, kSlotCount> slotButtons_{};  // BitBtn0 .. BitBtn9
    std::array<QSlider*, ConsoleSettings::SliderCount> sliders_{};
    std::array<QToolButton*, 12> noteButtons_{};

    QString dataFolder_;
    QString settingsFolder_;
    QString helpFilePath_;
    // The hook goes before the viewer whose windows it closes.
    std::unique_ptr<HelpViewer> helpViewer_;
    std::unique_ptr<THookHelpSystem> helpHook_;
    int consoleMethod_ = 0;
    int currentSlot_ = 0;
    Flags toneFlags_{};
    bool stopRequest_ = false;
    int pauseMs_ = 0;
    bool passRunning_ = false;
    bool shownOnce_ = false;
    QDialog* calculatorForm_ = nullptr;
    TCalcFrm* numerologyForm_ = nullptr;
    QDialog* donateForm_ = nullptr;
};
