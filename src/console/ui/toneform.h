#pragma once

#include <QWidget>
#include <array>
#include <memory>

class QButtonGroup;
class QKeyEvent;
class QTimer;
class TToneGen;
struct ConsoleSettings;

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

public Q_SLOTS:
    void DataBxChange();
    void MthBtnClick();
    void SpaceBxClick();
    void LoopBxClick();
    void ClearBtnClick();
    void StopBtnClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void setUpControls();
    void connectHandlers();
    void FormCreate();
    void applyStartupValues(const ConsoleSettings& settings);
    void setGeneratorsFromControls();
    void setAllToneFlags();

    void FormKeyDown(QKeyEvent* event);
    // True when the typed key is refused.
    bool NumbBxKeyPress(const QKeyEvent* event);

    std::unique_ptr<Ui::TToneFrm> ui;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    QButtonGroup* waveItems_ = nullptr;
    std::array<TToneGen*, kSlotCount> generators_{};  // Tg0 .. Tg9

    QString dataFolder_;
    QString settingsFolder_;
    QString helpFilePath_;
    int consoleMethod_ = 0;
    int currentSlot_ = 0;
    Flags toneFlags_{};
    bool stopRequest_ = false;
    bool shownOnce_ = false;
};
