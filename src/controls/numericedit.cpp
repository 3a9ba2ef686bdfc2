#include "controls/numericedit.h"

#include "controls/uiservices.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QTimer>
#include <QValidator>
#include <algorithm>
#include <cmath>

namespace {

// In a decimal field without grouping both "," and "." are the decimal separator, so that a
// comma never joins digits ("1,5" is 1.5): each becomes the locale's.
QString withDecimalPoint(QString text, const QLocale& locale)
{
    const QString point = locale.decimalPoint();
    for (const QChar separator : {u',', u'.'}) {
        if (point != QString(separator))
            text.replace(separator, point);
    }
    return text;
}

// What can be typed: up to the picture's digits before the point (group separators where
// the picture shows them) and its decimals after it. A value the program puts in may go
// beyond the picture.
class PictureValidator : public QValidator
{
public:
    PictureValidator(int digits, int decimals, bool grouping, QObject* parent)
        : QValidator(parent), digits_(digits), decimals_(decimals), grouping_(grouping)
    {}

    State validate(QString& input, int&) const override
    {
        const QLocale locale;
        if (!grouping_ && decimals_ > 0)
            input = withDecimalPoint(input, locale);
        QString text = input;
        if (grouping_)
            text.remove(locale.groupSeparator());
        const QStringList parts = text.split(locale.decimalPoint());
        if (parts.size() > (decimals_ > 0 ? 2 : 1))
            return Invalid;
        const auto allDigits = [](const QString& part) {
            return std::all_of(part.begin(), part.end(),
                               [](QChar c) { return c >= u'0' && c <= u'9'; });
        };
        if (!allDigits(parts[0]) || parts[0].size() > digits_)
            return Invalid;
        if (parts.size() == 2 && (!allDigits(parts[1]) || parts[1].size() > decimals_))
            return Invalid;
        return Acceptable;
    }

private:
    int digits_;
    int decimals_;
    bool grouping_;
};

}  // namespace

const QString NumericEdit::kOutOfRange = QStringLiteral("Value is not within required range");
const QString NumericEdit::kNotValid = QStringLiteral("Value is not valid for this field type");

NumericEdit::NumericEdit(QWidget* parent) : QLineEdit(parent)
{
    setPicture(5, 0, true);
    // A typed key the picture refuses is not dropped without a sound.
    connect(this, &QLineEdit::inputRejected, this, [this] {
        if (typing_)
            UiServices::instance().beep();
    });
    connect(this, &QLineEdit::textChanged, this, [this] {
        // A correction clears the error colours at once.
        if (error_ && check().isEmpty()) {
            error_ = false;
            showColors();
        }
    });
}

void NumericEdit::setPicture(int digits, int decimals, bool grouping)
{
    digits_ = digits;
    decimals_ = decimals;
    grouping_ = grouping;
    delete validator();
    setValidator(new PictureValidator(digits, decimals, grouping, this));
}

void NumericEdit::setRange(double minimum, double maximum)
{
    minimum_ = minimum;
    maximum_ = maximum;
}

std::optional<double> NumericEdit::number() const
{
    const QLocale locale;
    QString digits = text().trimmed();
    if (grouping_)
        digits.remove(locale.groupSeparator());
    else if (decimals_ > 0)
        digits = withDecimalPoint(digits, locale);
    if (digits.isEmpty())
        return std::nullopt;
    bool ok = false;
    const double value = locale.toDouble(digits, &ok);
    if (!ok)
        return std::nullopt;
    return value;
}

int NumericEdit::wholeValue() const
{
    const std::optional<double> value = number();
    if (!value || !std::isfinite(*value))
        return 0;
    return int(std::clamp(std::trunc(*value), -2147483648.0, 2147483647.0));
}

void NumericEdit::setNumber(double value)
{
    const QLocale locale;
    QString shown = locale.toString(value, 'f', decimals_);
    if (!grouping_)
        shown.remove(locale.groupSeparator());
    setText(shown);
}

void NumericEdit::setFieldColor(const QColor& color)
{
    fieldColor_ = color;
    showColors();
}

QString NumericEdit::check() const
{
    const std::optional<double> value = number();
    if (!value)
        return kNotValid;
    if (*value < minimum_ || *value > maximum_)
        return kOutOfRange;
    return {};
}

void NumericEdit::showColors()
{
    QPalette colors = palette();
    if (error_) {
        colors.setColor(QPalette::Base, Qt::red);
        colors.setColor(QPalette::Text, Qt::black);
    } else {
        const QPalette standard = QPalette();
        colors.setColor(QPalette::Base,
                        fieldColor_.isValid() ? fieldColor_ : standard.color(QPalette::Base));
        colors.setColor(QPalette::Text, standard.color(QPalette::Text));
    }
    setPalette(colors);
}

namespace {

// Switching to another window or opening a menu neither enters nor leaves a field.
bool withinWindow(const QFocusEvent* event)
{
    return event->reason() != Qt::ActiveWindowFocusReason &&
           event->reason() != Qt::PopupFocusReason;
}

}  // namespace

void NumericEdit::keyPressEvent(QKeyEvent* event)
{
    typing_ = true;
    QLineEdit::keyPressEvent(event);
    typing_ = false;
}

void NumericEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (withinWindow(event))
        Q_EMIT entered();
}

void NumericEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    if (!withinWindow(event))
        return;
    const QString problem = check();
    if (problem.isEmpty()) {
        setNumber(*number());
        Q_EMIT left();
        return;
    }
    error_ = true;
    showColors();
    UiServices::instance().showMessage(window(), problem, UiServices::MessageKind::Error);
    QTimer::singleShot(0, this, [this] {
        if (error_) {
            setFocus(Qt::OtherFocusReason);
            selectAll();
        }
    });
}
