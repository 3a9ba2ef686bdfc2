#pragma once

#include <QWidget>
#include <array>

class QLineEdit;
class QPushButton;

// A four-function pocket calculator with square root and memory. Results show two decimals;
// while a number is typed the display shows what was typed. Keys: digits, the point, + - * /,
// Enter or = for the result, Backspace for "Back", Delete for "CE", and the paste shortcut.
class CalculatorWidget : public QWidget
{
    Q_OBJECT

public:
    explicit CalculatorWidget(QWidget* parent = nullptr);

    // The display text without leading blanks.
    QString displayText() const;
    // Clears the calculator, then enters each digit and point of text as if typed.
    void paste(const QString& text);
    // Clears the calculator and shows number as a typed entry (a minus sign kept).
    void enterNumber(const QString& number);

    bool hasMemory() const { return hasMemory_; }

    // What the buttons do, by their captions: "0".."9", ".", "+", "-", "*", "/", "=",
    // "Sqrt", "Back", "CE", "C", "MC", "MR", "MS", "M+", "M-".
    void press(const QString& key);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    double value() const;
    void showResult(double result);
    void applyPending();
    void showError();
    void updateMemoryButtons();

    QLineEdit* display_ = nullptr;
    QList<QPushButton*> memoryRecall_;  // MC and MR, grey without a memory
    QString entry_ = QStringLiteral("0");
    bool typing_ = false;  // the display shows a number being typed
    double accumulator_ = 0;
    QString pending_;  // the operation waiting for its second number
    double memory_ = 0;
    bool hasMemory_ = false;
};
