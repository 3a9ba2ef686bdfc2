#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TYFrm;
}

// What the Y question reads and sets in the window that asks it.
class YQuestionHost
{
public:
    virtual ~YQuestionHost() = default;
    // The 1-based position of the Y asked about; 0 when no question is pending.
    virtual int YPos() const = 0;
    virtual void SetYPos(int position) = 0;
    // 1 while the question is about one Y just typed.
    virtual int YTyped() const = 0;
    virtual void SetYTyped(int typed) = 0;
    virtual QString DataText() const = 0;
    virtual void SetDataText(const QString& text) = 0;
};

// Asks, Y by Y, whether an upper-case Y of the text counts as a vowel; a Y answered Yes
// becomes "y". The text changes once, when the last question is answered.
class TYFrm : public QDialog
{
    Q_OBJECT

public:
    explicit TYFrm(QWidget* parent = nullptr);
    ~TYFrm() override;

    void SetHost(YQuestionHost* host) { host_ = host; }

public Q_SLOTS:
    void YesBtnClick();
    void NoBtnClick();
    void CancelBtnClick();
    void YPasteBtnClick();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void answer(bool vowel);

    std::unique_ptr<Ui::TYFrm> ui;
    YQuestionHost* host_ = nullptr;
    QString workText_;
    int askPos_ = 0;
    QString restText_;
};
