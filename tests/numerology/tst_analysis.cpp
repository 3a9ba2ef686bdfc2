#include "numerology/analysis.h"
#include "numerology/datecalc.h"
#include "numerology/letters.h"
#include "numerology/reducesum.h"

#include <QTest>

using numerology::Chaldean;
using numerology::Pythagorean;

class TestAnalysis : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reduceChain_data();
    void reduceChain();
    void analyzeName_data();
    void analyzeName();
    void countDigits();
    void date_data();
    void date();
    void nameAndDate();
    void calculatorButtons_data();
    void calculatorButtons();
};

void TestAnalysis::reduceChain_data()
{
    QTest::addColumn<qulonglong>("n");
    QTest::addColumn<QString>("chain");
    QTest::newRow("0") << 0ULL << "0";
    QTest::newRow("9") << 9ULL << "9";
    QTest::newRow("10") << 10ULL << "10 / 1";
    QTest::newRow("11, no master numbers") << 11ULL << "11 / 2";
    QTest::newRow("33") << 33ULL << "33 / 6";
    QTest::newRow("38") << 38ULL << "38 / 11 / 2";
    QTest::newRow("199: last digit onto the rest") << 199ULL << "199 / 28 / 10 / 1";
    QTest::newRow("1999") << 1999ULL << "1999 / 208 / 28 / 10 / 1";
    QTest::newRow("largest")
        << 18446744073709551615ULL
        << "18446744073709551615 / 1844674407370955166 / 184467440737095522 / "
           "18446744073709554 / 1844674407370959 / 184467440737104 / 18446744073714 / "
           "1844674407375 / 184467440742 / 18446744076 / 1844674413 / 184467444 / "
           "18446748 / 1844682 / 184470 / 18447 / 1851 / 186 / 24 / 6";
}

void TestAnalysis::reduceChain()
{
    QFETCH(qulonglong, n);
    QFETCH(QString, chain);
    QCOMPARE(numerology::ReduceChain(n), chain);
}

void TestAnalysis::analyzeName_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("method");
    QTest::addColumn<QString>("vowels");
    QTest::addColumn<QString>("consonants");
    QTest::addColumn<QList<int>>("sums");  // vowels, consonants, digits, name total

    QTest::newRow("MARY") << "MARY" << int(Pythagorean) << " 1  "
                          << "4 97" << QList<int>{1, 20, 0, 21};
    QTest::newRow("MARY chaldean") << "MARY" << int(Chaldean) << " 1  "
                                   << "4 21" << QList<int>{1, 7, 0, 8};
    QTest::newRow("Y marked a vowel") << "MARy" << int(Pythagorean) << " 1 7"
                                      << "4 9 " << QList<int>{8, 13, 0, 21};
    QTest::newRow("digits count in the total only") << "ANNA 7" << int(Pythagorean) << "1  1  "
                                                    << " 55   " << QList<int>{2, 10, 7, 19};
    QTest::newRow("empty") << "" << int(Pythagorean) << ""
                           << "" << QList<int>{0, 0, 0, 0};
    QTest::newRow("no letters") << " 0.," << int(Pythagorean) << "    "
                                << "    " << QList<int>{0, 0, 0, 0};
    // Lower-case letters have no value, but for the y of a marked vowel.
    QTest::newRow("lower case") << "mary" << int(Pythagorean) << "   7"
                                << "    " << QList<int>{7, 0, 0, 7};
    QTest::newRow("lower case chaldean") << "mary" << int(Chaldean) << "   1"
                                         << "    " << QList<int>{1, 0, 0, 1};
    QTest::newRow("accented letter is nothing") << "\u00c9A" << int(Pythagorean) << " 1"
                                                << "  " << QList<int>{1, 0, 0, 1};
}

void TestAnalysis::analyzeName()
{
    QFETCH(QString, text);
    QFETCH(int, method);
    QFETCH(QString, vowels);
    QFETCH(QString, consonants);
    QFETCH(QList<int>, sums);
    const numerology::NameAnalysis a = numerology::AnalyzeName(text, method);
    QCOMPARE(a.vowels, vowels);
    QCOMPARE(a.consonants, consonants);
    QCOMPARE((QList<int>{a.vowelSum, a.consonantSum, a.digitSum, a.nameTotal}), sums);
}

void TestAnalysis::countDigits()
{
    const auto counts = [](const QString& text, int method) {
        const numerology::NameAnalysis a = numerology::AnalyzeName(text, method);
        return numerology::CountDigits(a.vowels, a.consonants);
    };
    const numerology::DigitCounts mary = counts(QStringLiteral("MARY"), Pythagorean);
    QCOMPARE(mary.vowels, (std::array<int, 9>{1, 0, 0, 0, 0, 0, 0, 0, 0}));
    QCOMPARE(mary.consonants, (std::array<int, 9>{0, 0, 0, 1, 0, 0, 1, 0, 1}));
    QCOMPARE((QList<int>{mary.vowelCount, mary.consonantCount, mary.letterCount}),
             (QList<int>{1, 3, 4}));
    const numerology::DigitCounts chaldean = counts(QStringLiteral("MARY"), Chaldean);
    QCOMPARE(chaldean.totals, (std::array<int, 9>{2, 1, 0, 1, 0, 0, 0, 0, 0}));
    const numerology::DigitCounts anna = counts(QStringLiteral("ANNA 7"), Pythagorean);
    QCOMPARE(anna.vowels[0], 2);
    QCOMPARE(anna.consonants[4], 2);
    QCOMPARE(anna.letterCount, 4);  // the written 7 is not counted
}

void TestAnalysis::date_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QStringList>("totals");  // day, month and day, whole date
    QTest::addColumn<int>("dateSum");
    QTest::newRow("25 December 1990")
        << QDate(1990, 12, 25) << QStringList{"25 / 7", "10 / 1", "29 / 11 / 2"} << 29;
    QTest::newRow("5 March 2001") << QDate(2001, 3, 5) << QStringList{"5", "8", "11 / 2"} << 11;
    QTest::newRow("29 November 1999")
        << QDate(1999, 11, 29) << QStringList{"29 / 11 / 2", "13 / 4", "41 / 5"} << 41;
}

void TestAnalysis::date()
{
    QFETCH(QDate, date);
    QFETCH(QStringList, totals);
    QFETCH(int, dateSum);
    const numerology::DateAnalysis d = numerology::AnalyzeDate(date);
    QCOMPARE((QStringList{d.dayTotal, d.monthDayTotal, d.dateTotal}), totals);
    QCOMPARE(d.dateSum, dateSum);
}

void TestAnalysis::nameAndDate()
{
    QCOMPARE(numerology::NameAndDate(21, 29), QStringLiteral("50 / 5"));
    QCOMPARE(numerology::NameAndDate(0, 29), QString());
    QCOMPARE(numerology::NameAndDate(21, 0), QString());
}

void TestAnalysis::calculatorButtons_data()
{
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("reduced");
    QTest::addColumn<QString>("summed");  // "!" prefix: the error message

    QTest::newRow("1234") << "1234"
                          << "127"
                          << "10";
    QTest::newRow("127") << "127"
                         << "19"
                         << "10";
    QTest::newRow("a result") << "15.00"
                              << "6.00"
                              << "6.00";
    QTest::newRow("199") << "199"
                         << "28"
                         << "19";
    QTest::newRow("one digit: nothing") << "7"
                                        << "7"
                                        << "7";
    QTest::newRow("zero") << "0"
                          << "0"
                          << "0";
    QTest::newRow("negative keeps its sign") << "-15"
                                             << "-6"
                                             << "-6";
    QTest::newRow("negative with fraction") << "-1234.50"
                                            << "-127.50"
                                            << "-10.50";
    QTest::newRow("negative single digit") << "-5"
                                           << "-5"
                                           << "-5";
    // An integer part of one character or none is left as it is, whatever the character.
    QTest::newRow("lone minus: nothing") << "-"
                                         << "-"
                                         << "-";
    QTest::newRow("minus and fraction: nothing") << "-.50"
                                                 << "-.50"
                                                 << "-.50";
    QTest::newRow("one character, no digit: nothing") << "x.5"
                                                      << "x.5"
                                                      << "x.5";
    QTest::newRow("no integer part: nothing") << ".50"
                                              << ".50"
                                              << ".50";
    QTest::newRow("twenty digits, exact") << "99999999999999999999"
                                          << "10000000000000000008"
                                          << "180";
    QTest::newRow("twenty digits and a sign") << "-99999999999999999999"
                                              << "-10000000000000000008"
                                              << "-180";
    QTest::newRow("twenty-one digits") << "123456789012345678901"
                                       << "!Number must be twenty (20) integers or less."
                                       << "91";
    QTest::newRow("leading zeros") << "0012"
                                   << "3"
                                   << "3";
    QTest::newRow("not a number") << "1e5"
                                  << "!'1e5' is not a valid integer value"
                                  << "!'1e5' is not a valid integer value";
}

void TestAnalysis::calculatorButtons()
{
    QFETCH(QString, display);
    QFETCH(QString, reduced);
    QFETCH(QString, summed);
    const auto check = [&](const numerology::DisplayResult& result, const QString& expected) {
        if (expected.startsWith(u'!')) {
            QCOMPARE(result.error, expected.mid(1));
            QCOMPARE(result.text, display);
        } else {
            QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
            QCOMPARE(result.text, expected);
            QCOMPARE(result.changed, expected != display);
        }
    };
    check(numerology::ReduceDisplay(display), reduced);
    check(numerology::SumDisplay(display), summed);
}

QTEST_GUILESS_MAIN(TestAnalysis)
#include "tst_analysis.moc"
