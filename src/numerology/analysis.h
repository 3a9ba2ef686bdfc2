#pragma once

#include <QString>
#include <array>
#include <cstdint>

// The numerology calculator's analysis of a name: vowels and consonants with their values,
// their sums, and how often each digit occurs.
namespace numerology {

struct NameAnalysis
{
    // One character per character of the text: the value of each vowel (or consonant) at
    // its place, a blank everywhere else.
    QString vowels;
    QString consonants;
    int vowelSum = 0;
    int consonantSum = 0;
    int digitSum = 0;  // the digits 1..9 written in the text
    int nameTotal = 0;
};

// A, E, I, O, U and the lower-case "y" (a Y marked as a vowel) are vowels; the other
// upper-case letters are consonants; 1..9 count towards the digit sum; anything else,
// lower-case letters among it, counts for nothing.
NameAnalysis AnalyzeName(const QString& text, int method);

struct DigitCounts
{
    std::array<int, 9> vowels{};  // digits 1..9
    std::array<int, 9> consonants{};
    std::array<int, 9> totals{};
    int vowelCount = 0;      // vvt
    int consonantCount = 0;  // cct
    int letterCount = 0;     // ttt
};

// How often each digit 1..9 occurs in the vowel and the consonant string.
DigitCounts CountDigits(const QString& vowels, const QString& consonants);

// n reduced step by step to one digit, each step adding the last digit to the number the
// others form: "38 / 11 / 2".
QString ReduceChain(std::uint64_t n);

}  // namespace numerology
