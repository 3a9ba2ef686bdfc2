#include "controls/calculatorwidget.h"

#include "controls/uiservices.h"

#include <QApplication>
#include <QClipboard>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

namespace {

struct Key
{
    const char* caption;
    int row;
    int column;
    const char* color;
};

// Digits blue, operators red, memory red, edit buttons maroon, functions navy.
constexpr std::array kKeys{
    Key{"MC", 0, 0, "#ff0000"}, Key{"Back", 0, 1, "#800000"}, Key{"CE", 0, 2, "#800000"},
    Key{"C", 0, 3, "#800000"},  Key{"Sqrt", 0, 4, "#000080"}, Key{"MR", 1, 0, "#ff0000"},
    Key{"7", 1, 1, "#0000ff"},  Key{"8", 1, 2, "#0000ff"},    Key{"9", 1, 3, "#0000ff"},
    Key{"/", 1, 4, "#ff0000"},  Key{"MS", 2, 0, "#ff0000"},   Key{"4", 2, 1, "#0000ff"},
    Key{"5", 2, 2, "#0000ff"},  Key{"6", 2, 3, "#0000ff"},    Key{"*", 2, 4, "#ff0000"},
    Key{"M+", 3, 0, "#ff0000"}, Key{"1", 3, 1, "#0000ff"},    Key{"2", 3, 2, "#0000ff"},
    Key{"3", 3, 3, "#0000ff"},  Key{"-", 3, 4, "#ff0000"},    Key{"M-", 4, 0, "#ff0000"},
    Key{"0", 4, 1, "#0000ff"},  Key{".", 4, 2, "#0000ff"},    Key{"=", 4, 3, "#ff0000"},
    Key{"+", 4, 4, "#ff0000"},
};

}  // namespace

CalculatorWidget::CalculatorWidget(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(2);
    display_ = new QLineEdit(this);
    display_->setObjectName(QStringLiteral("Display"));
    display_->setReadOnly(true);
    display_->setFocusPolicy(Qt::NoFocus);
    display_->setAlignment(Qt::AlignRight);
    grid->addWidget(display_, 0, 0, 1, 5);
    for (const Key& key : kKeys) {
        auto* button = new QPushButton(QString::fromLatin1(key.caption), this);
        button->setObjectName(QStringLiteral("Key") + QString::fromLatin1(key.caption));
        button->setFocusPolicy(Qt::NoFocus);
        button->setStyleSheet(
            QStringLiteral("QPushButton { color: %1; } QPushButton:disabled { color: grey; }")
                .arg(QLatin1String(key.color)));
        button->setMinimumSize(20, 20);
        grid->addWidget(button, key.row + 1, key.column);
        connect(button, &QPushButton::clicked, this,
                [this, caption = button->text()] { press(caption); });
        if (button->text() == QStringLiteral("MC") || button->text() == QStringLiteral("MR"))
            memoryRecall_ << button;
    }
    display_->setText(entry_);
    updateMemoryButtons();
}

QString CalculatorWidget::displayText() const
{
    return display_->text().trimmed();
}

double CalculatorWidget::value() const
{
    return entry_.toDouble();
}

void CalculatorWidget::showResult(double result)
{
    if (!std::isfinite(result)) {
        showError();
        return;
    }
    entry_ = QString::number(result, 'f', 2);
    typing_ = false;
    display_->setText(entry_);
}

void CalculatorWidget::showError()
{
    UiServices::instance().beep();
    entry_ = QStringLiteral("0");
    typing_ = false;
    pending_.clear();
    accumulator_ = 0;
    display_->setText(entry_);
}

void CalculatorWidget::applyPending()
{
    const double operand = value();
    double result = operand;
    if (pending_ == QStringLiteral("+"))
        result = accumulator_ + operand;
    else if (pending_ == QStringLiteral("-"))
        result = accumulator_ - operand;
    else if (pending_ == QStringLiteral("*"))
        result = accumulator_ * operand;
    else if (pending_ == QStringLiteral("/"))
        result = operand == 0 ? NAN : accumulator_ / operand;
    pending_.clear();
    showResult(result);
}

void CalculatorWidget::press(const QString& key)
{
    if (key.size() == 1 && key[0].isDigit()) {
        if (!typing_ || entry_ == QStringLiteral("0"))
            entry_.clear();
        entry_ += key;
        typing_ = true;
    } else if (key == QStringLiteral(".")) {
        if (!typing_) {
            entry_ = QStringLiteral("0");
            typing_ = true;
        }
        if (!entry_.contains(u'.'))
            entry_ += u'.';
    } else if (key == QStringLiteral("+") || key == QStringLiteral("-") ||
               key == QStringLiteral("*") || key == QStringLiteral("/")) {
        if (!pending_.isEmpty() && typing_)
            applyPending();
        accumulator_ = value();
        pending_ = key;
        typing_ = false;
        return;
    } else if (key == QStringLiteral("=")) {
        if (!pending_.isEmpty())
            applyPending();
        else
            showResult(value());
        return;
    } else if (key == QStringLiteral("Sqrt")) {
        if (value() < 0) {
            showError();
            return;
        }
        showResult(std::sqrt(value()));
        return;
    } else if (key == QStringLiteral("Back")) {
        if (typing_) {
            entry_.chop(1);
            if (entry_.isEmpty() || entry_ == QStringLiteral("-"))
                entry_ = QStringLiteral("0");
        }
    } else if (key == QStringLiteral("CE")) {
        entry_ = QStringLiteral("0");
        typing_ = false;
    } else if (key == QStringLiteral("C")) {
        entry_ = QStringLiteral("0");
        typing_ = false;
        pending_.clear();
        accumulator_ = 0;
    } else if (key == QStringLiteral("MC")) {
        memory_ = 0;
        hasMemory_ = false;
    } else if (key == QStringLiteral("MR")) {
        if (hasMemory_)
            showResult(memory_);
        updateMemoryButtons();
        return;
    } else if (key == QStringLiteral("MS") || key == QStringLiteral("M+") ||
               key == QStringLiteral("M-")) {
        const double shown = value();
        memory_ = key == QStringLiteral("MS")   ? shown
                  : key == QStringLiteral("M+") ? memory_ + shown
                                                : memory_ - shown;
        hasMemory_ = true;
        typing_ = false;
    }
    display_->setText(entry_);
    updateMemoryButtons();
}

void CalculatorWidget::updateMemoryButtons()
{
    for (QPushButton* button : memoryRecall_)
        button->setEnabled(hasMemory_);
}

void CalculatorWidget::paste(const QString& text)
{
    press(QStringLiteral("C"));
    for (const QChar c : text) {
        if (c.isDigit() || c == u'.')
            press(QString(c));
    }
}

void CalculatorWidget::enterNumber(const QString& number)
{
    const bool negative = number.startsWith(u'-');
    paste(number);
    if (negative && entry_ != QStringLiteral("0")) {
        entry_.prepend(u'-');
        display_->setText(entry_);
    }
}

void CalculatorWidget::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste)) {
        paste(QApplication::clipboard()->text());
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        press(QStringLiteral("="));
        return;
    case Qt::Key_Backspace:
        press(QStringLiteral("Back"));
        return;
    case Qt::Key_Delete:
        press(QStringLiteral("CE"));
        return;
    default:
        break;
    }
    const QString text = event->text();
    static const QString keys = QStringLiteral("0123456789.+-*/=");
    if (text.size() == 1 && keys.contains(text)) {
        press(text);
        return;
    }
    if (text == QStringLiteral(","))  // a decimal comma on the keypad
        press(QStringLiteral("."));
    else
        QWidget::keyPressEvent(event);
}
