#pragma once

#include <QColor>
#include <QLineEdit>
#include <optional>

// A number field with an edit picture and a range: whole numbers ("99,999": digits, group
// separators shown as needed) or decimals ("##.###", no grouping: "," and "." both stand for
// the decimal separator). Only what the picture allows can be typed. When the field is left, a
// value that is not a number or lies outside the range is refused: the field shows its error
// colours, says why in a message box and takes the focus back. The field's own colour is set by its
// owner (the console highlights its current slot this way).
class NumericEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit NumericEdit(QWidget* parent = nullptr);

    // digits before the point; decimals after it (0 for a whole number); grouping shows the
    // locale's group separators.
    void setPicture(int digits, int decimals, bool grouping);
    void setRange(double minimum, double maximum);

    // The number the text holds; none when it holds no number.
    std::optional<double> number() const;
    // The whole-number value: 0 when the text holds no number.
    int wholeValue() const;
    // Shows value as the picture formats it.
    void setNumber(double value);

    void setFieldColor(const QColor& color);
    bool hasError() const { return error_; }

    static const QString kOutOfRange;
    static const QString kNotValid;

Q_SIGNALS:
    // The field received the focus from within its window.
    void entered();
    // The field was left holding an acceptable value (shown as the picture formats it).
    void left();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString check() const;
    void showColors();

    int digits_ = 5;
    int decimals_ = 0;
    bool grouping_ = true;
    double minimum_ = 0;
    double maximum_ = 99999;
    QColor fieldColor_;
    bool error_ = false;
    bool typing_ = false;
};
