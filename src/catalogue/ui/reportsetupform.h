#pragma once

#include <QDialog>
#include <array>
#include <memory>

class QCheckBox;
class ProportionalResizer;

namespace Ui {
class TReportSetupFrm;
}

// The report chooser: one of the four catalogue listings, and "Preview", "Print" or "Exit".
// Created for one choice and destroyed when it closes; the owner reads the choice then.
class TReportSetupFrm : public QDialog
{
    Q_OBJECT

public:
    enum Action { NoAction = 0, PreviewAction = 1, PrintAction = 2 };
    // The designed height is this tall once the window is first shown on a wide screen.
    static constexpr int kShownHeight = 268;

    explicit TReportSetupFrm(QWidget* parent = nullptr);
    ~TReportSetupFrm() override;

    // 1 Category, 2 Frequency, 3 Source, 4 SubCategory, as catalogue::ReportOrder counts them.
    int ReportKind() const { return reportKind_; }
    int ReportAction() const { return reportAction_; }

public Q_SLOTS:
    void s1ChkClick();
    void s2chkClick();
    void s3chkClick();
    void s4chkClick();
    void PrVwClick();
    void PrntClick();
    void ExitLblClick();

protected:
    void resizeEvent(QResizeEvent* event) override;
    // Esc closes the window when it is let go, not when it is pressed.
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormResize();
    void FormKeyUp(QKeyEvent* event);
    void FormResizer1PostResize(double horizontal, double vertical);
    void choose(int kind);

    std::unique_ptr<Ui::TReportSetupFrm> ui;
    std::array<QCheckBox*, 4> checks_{};
    ProportionalResizer* formResizer1_ = nullptr;
    bool resizedOnce_ = false;
    int reportKind_ = 1;
    int reportAction_ = NoAction;
};
