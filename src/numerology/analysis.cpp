#include "numerology/analysis.h"

#include "numerology/letters.h"

#include <QList>
#include <QStringView>

namespace numerology {

NameAnalysis AnalyzeName(const QString& text, int method)
{
    NameAnalysis a;
    for (const uint codePoint : QStringView(text).toUcs4()) {
        const char32_t c = codePoint;
        QChar vowel = u' ';
        QChar consonant = u' ';
        if (c == U'A' || c == U'E' || c == U'I' || c == U'O' || c == U'U' || c == U'y') {
            const int value = LetterValue(method, c == U'y' ? U'Y' : c);
            vowel = QChar(u'0' + value);
            a.vowelSum += value;
        } else if (c >= U'A' && c <= U'Z') {
            const int value = LetterValue(method, c);
            consonant = QChar(u'0' + value);
            a.consonantSum += value;
        } else if (c >= U'1' && c <= U'9') {
            a.digitSum += int(c - U'0');
        }
        a.vowels += vowel;
        a.consonants += consonant;
    }
    a.nameTotal = a.vowelSum + a.consonantSum + a.digitSum;
    return a;
}

DigitCounts CountDigits(const QString& vowels, const QString& consonants)
{
    DigitCounts counts;
    for (int k = 1; k <= 9; ++k) {
        const QChar digit(u'0' + k);
        const std::size_t i = std::size_t(k - 1);
        counts.vowels[i] = int(vowels.count(digit));
        counts.consonants[i] = int(consonants.count(digit));
        counts.totals[i] = counts.vowels[i] + counts.consonants[i];
        counts.vowelCount += counts.vowels[i];
        counts.consonantCount += counts.consonants[i];
    }
    counts.letterCount = counts.vowelCount + counts.consonantCount;
    return counts;
}

QString ReduceChain(std::uint64_t n)
{
    QString chain = QString::number(n);
    while (n >= 10) {
        n = n / 10 + n % 10;
        chain += QStringLiteral(" / ") + QString::number(n);
    }
    return chain;
}

}  // namespace numerology
