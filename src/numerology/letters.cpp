#include "numerology/letters.h"

#include <QList>
#include <QStringView>
#include <array>

namespace numerology {

namespace {

// Values of A..Z.
constexpr std::array<int, 26> kPythagorean{1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 2, 3, 4,
                                           5, 6, 7, 8, 9, 1, 2, 3, 4, 5, 6, 7, 8};
constexpr std::array<int, 26> kChaldean{1, 2, 3, 4, 5, 8, 3, 5, 1, 1, 2, 3, 4,
                                        5, 7, 8, 1, 2, 3, 4, 6, 6, 6, 5, 1, 7};

}  // namespace

QString MethodName(int method)
{
    return method == Pythagorean ? QStringLiteral("Pythagorean") : QStringLiteral("Chaldean");
}

int LetterValue(int method, char32_t letter)
{
    if (letter < U'A' || letter > U'Z')
        return 0;
    const auto& table = method == Pythagorean ? kPythagorean : kChaldean;
    return table[letter - U'A'];
}

QString TextToDigits(const QString& text, int method, bool spaceAsZero)
{
    QString digits;
    digits.reserve(text.size());
    for (const uint codePoint : QStringView(text).toUcs4()) {
        char32_t c = codePoint;
        if (c >= U'a' && c <= U'z')
            c -= U'a' - U'A';
        if (c == U' ')
            digits += spaceAsZero ? u'0' : u' ';
        else if (c >= U'1' && c <= U'9')
            digits += QChar(c);
        else if (const int value = LetterValue(method, c); value > 0)
            digits += QChar(u'0' + value);
        else
            digits += u'0';
    }
    return digits;
}

QString Trimmed(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= u' ')
        ++begin;
    while (end > begin && text[end - 1].unicode() <= u' ')
        --end;
    return text.mid(begin, end - begin);
}

QString UpperLetters(QString text)
{
    for (QChar& c : text) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - u'a' + u'A');
    }
    return text;
}

}  // namespace numerology
