#pragma once

#include <QString>

namespace numerology {

// The method flag: which letter table is in use.
enum Method : int { Pythagorean = 0, Chaldean = 1 };

// Any flag other than 0 counts as Chaldean, as the method buttons show it.
QString MethodName(int method);

// The value 1..9 of an upper-case letter A..Z in the method's table; 0 for anything else.
int LetterValue(int method, char32_t letter);

// One character per code point of the text: a blank becomes "0" (spaceAsZero) or " ",
// a digit 1..9 stays, a letter takes its table value, anything else becomes "0".
QString TextToDigits(const QString& text, int method, bool spaceAsZero);

// The text without leading and trailing blanks and control characters.
QString Trimmed(const QString& text);
// The letters a..z in upper case; every other character as it is.
QString UpperLetters(QString text);

}  // namespace numerology
