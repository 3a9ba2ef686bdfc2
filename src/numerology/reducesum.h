#pragma once

#include <QString>

// The math calculator's numerology buttons, on the text its display shows ("1234",
// "15.00", "-15"): Reduce adds the last digit of the integer part to the number the other
// digits form; Sum adds up all its digits. A fraction is kept as it is, and so is a minus
// sign: the magnitude is reduced or summed. The integer part may have any length under Sum
// and up to twenty digits under Reduce; the arithmetic is exact.
namespace numerology {

struct DisplayResult
{
    bool changed = false;  // false: the button does nothing (one digit, or an integer part
                           // of one character or none: "-", "-.50")
    QString text;          // the new display text
    QString error;         // set when the display cannot be taken; nothing changes
};

DisplayResult ReduceDisplay(const QString& display);
DisplayResult SumDisplay(const QString& display);

}  // namespace numerology
