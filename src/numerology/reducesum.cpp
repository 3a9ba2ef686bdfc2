#include "numerology/reducesum.h"

#include <algorithm>
#include <optional>

namespace numerology {

namespace {

// The integer part as the display shows it: the text before its first ".", sign included.
QString integerPart(const QString& display)
{
    const qsizetype point = display.indexOf(u'.');
    return point >= 0 ? display.left(point) : display;
}

struct Parts
{
    QString sign;      // "-" or empty
    QString digits;    // the integer part's magnitude
    QString fraction;  // from the first "." on, or empty
};

// Splits the display at its first "."; none when the integer part is not a (signed)
// whole number, with the message the platform gives for such text.
std::optional<Parts> split(const QString& display, QString* error)
{
    Parts parts;
    QString integer = integerPart(display);
    parts.fraction = display.mid(integer.size());
    if (integer.startsWith(u'-')) {
        parts.sign = QStringLiteral("-");
        integer.remove(0, 1);
    }
    const bool digitsOnly =
        std::all_of(integer.begin(), integer.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (!digitsOnly) {
        *error = QStringLiteral("'%1' is not a valid integer value").arg(parts.sign + integer);
        return std::nullopt;
    }
    parts.digits = integer;
    return parts;
}

// A decimal text without leading zeros (a lone "0" stays); a minus sign only before a
// number that is not zero.
QString signedNumber(const QString& sign, QString digits)
{
    while (digits.size() > 1 && digits.front() == u'0')
        digits.remove(0, 1);
    return digits == QStringLiteral("0") ? digits : sign + digits;
}

// The decimal text of a whole number written in decimal plus a small addend.
QString plus(QString digits, int addend)
{
    for (qsizetype i = digits.size() - 1; i >= 0 && addend > 0; --i) {
        const int sum = digits[i].digitValue() + addend;
        digits[i] = QChar(u'0' + sum % 10);
        addend = sum / 10;
    }
    if (addend > 0)
        digits.prepend(QString::number(addend));
    return digits;
}

}  // namespace

DisplayResult ReduceDisplay(const QString& display)
{
    DisplayResult result;
    result.text = display;
    // One character or none ("7", "-", "-.50") is left as it is, before any conversion.
    if (integerPart(display).size() <= 1)
        return result;
    const std::optional<Parts> parts = split(display, &result.error);
    if (!parts)
        return result;
    if (parts->digits.size() > 20) {
        result.error = QStringLiteral("Number must be twenty (20) integers or less.");
        return result;
    }
    if (parts->digits.size() <= 1)
        return result;
    const QString head = parts->digits.chopped(1);
    const int last = parts->digits.back().digitValue();
    result.text = signedNumber(parts->sign, plus(head, last)) + parts->fraction;
    result.changed = true;
    return result;
}

DisplayResult SumDisplay(const QString& display)
{
    DisplayResult result;
    result.text = display;
    if (integerPart(display).size() <= 1)
        return result;
    const std::optional<Parts> parts = split(display, &result.error);
    if (!parts || parts->digits.size() <= 1)
        return result;
    qint64 sum = 0;
    for (const QChar digit : parts->digits)
        sum += digit.digitValue();
    result.text = signedNumber(parts->sign, QString::number(sum)) + parts->fraction;
    result.changed = true;
    return result;
}

}  // namespace numerology
