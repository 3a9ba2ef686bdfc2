#pragma once

#include <QDialog>
#include <memory>

class CalculatorWidget;

namespace numerology {
struct DisplayResult;
}

namespace Ui {
class TCalculatorFrm;
}

// The math calculator: a pocket calculator with the numerology buttons "Reduce" and "Sum".
// Created once and kept, so its display and memory last between openings.
class TCalculatorFrm : public QDialog
{
    Q_OBJECT

public:
    static constexpr char kHelpTopic[] = "::/html/veln5n02.htm";

    explicit TCalculatorFrm(QWidget* parent = nullptr);
    ~TCalculatorFrm() override;

    CalculatorWidget& calculator() const;

public Q_SLOTS:
    void ReduceBtnClick();
    void SumBtnClick();
    void CloseBtnClick();
    void HelpBtnClick();

Q_SIGNALS:
    // The help topic to show, a topic path of the help file.
    void HelpRequested(const QString& topic);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Shows a button's result (on the clipboard and, entered afresh, in the calculator) or its
    // message; either way the calculator has the focus afterwards, so typing goes on.
    void takeResult(const numerology::DisplayResult& result);

    std::unique_ptr<Ui::TCalculatorFrm> ui;
};
