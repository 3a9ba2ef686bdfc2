#pragma once

#include "numerology/numerologyreport.h"
#include "numerology/ui/yform.h"

#include <QDialog>
#include <memory>

class TYFrm;

namespace Ui {
class TCalcFrm;
}

// The numerology calculator: the vowels and consonants of a name with their values, the
// totals as reduction chains, the digit counts and the date calculator. Created once and
// kept, so its text, method, date panel and date last between openings.
class TCalcFrm : public QDialog, public YQuestionHost
{
    Q_OBJECT

public:
    static constexpr char kHelpTopic[] = "::/html/veln7lf6.htm";
    static constexpr char kDateHelpTopic[] = "::/html/veln3x2q.htm";

    explicit TCalcFrm(QWidget* parent = nullptr);
    ~TCalcFrm() override;

    void SetYForm(TYFrm* form);
    void SetCalculatorForm(QDialog* form) { calculatorForm_ = form; }

    // The console's text and method, handed over before the window is shown.
    void HandOver(int method, const QString& text);

    int MethodFlag() const { return methodFlag_; }
    int VowelSum() const { return vowelSum_; }
    int ConsonantSum() const { return consonantSum_; }
    int DigitSum() const { return digitSum_; }
    int NameTotal() const { return nameTotal_; }
    int DateSum() const { return dateSum_; }

    int YPos() const override { return yPos_; }
    void SetYPos(int position) override { yPos_ = position; }
    int YTyped() const override { return yTyped_; }
    void SetYTyped(int typed) override { yTyped_ = typed; }
    // What the window shows, as its reports print it.
    numerology::ReportValues ReportValues() const;

    QString DataText() const override;
    void SetDataText(const QString& text) override;

public Q_SLOTS:
    void CalcBtnClick();
    void MthBtnClick();
    void ClearBtnClick();
    void PasteBtnClick();
    void CalendarBtnClick();
    void CalculatorBtnClick();
    void PrintBtnClick();
    void ExportBtnClick();
    void InternetBtnClick();
    void ExitBtnClick();
    void DtClearBtnClick();
    void DtCalcBtnClick();
    void HelpBtnClick();
    void DtHelpBtnClick();

Q_SIGNALS:
    // The help topic to show, a topic path of the help file.
    void HelpRequested(const QString& topic);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showYQuestion();
    void showNameAndDate();

    std::unique_ptr<Ui::TCalcFrm> ui;
    TYFrm* yForm_ = nullptr;
    QDialog* calculatorForm_ = nullptr;
    int methodFlag_ = 0;
    int yPos_ = 0;
    int yTyped_ = 0;
    int vowelSum_ = 0;
    int consonantSum_ = 0;
    int digitSum_ = 0;
    int nameTotal_ = 0;
    int dateSum_ = 0;
};
