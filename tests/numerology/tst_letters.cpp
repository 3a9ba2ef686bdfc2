#include "numerology/letters.h"

#include <QTest>

using numerology::Chaldean;
using numerology::Pythagorean;

class TestLetters : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void letterTables_data();
    void letterTables();
    void nonLettersHaveNoValue();
    void textToDigits_data();
    void textToDigits();
};

void TestLetters::letterTables_data()
{
    QTest::addColumn<QString>("pythagorean");
    QTest::addColumn<QString>("chaldean");
    // Values of A..Z, one digit per letter.
    QTest::newRow("A-Z") << "12345678912345678912345678"
                         << "12345835112345781234666517";
}

void TestLetters::letterTables()
{
    QFETCH(QString, pythagorean);
    QFETCH(QString, chaldean);
    for (char32_t letter = U'A'; letter <= U'Z'; ++letter) {
        const int i = int(letter - U'A');
        QCOMPARE(numerology::LetterValue(Pythagorean, letter), pythagorean[i].digitValue());
        QCOMPARE(numerology::LetterValue(Chaldean, letter), chaldean[i].digitValue());
    }
}

void TestLetters::nonLettersHaveNoValue()
{
    for (char32_t c : {U'a', U'z', U'0', U'@', U'[', U' ', U'\u00c9', U'\U0001F600'}) {
        QCOMPARE(numerology::LetterValue(Pythagorean, c), 0);
        QCOMPARE(numerology::LetterValue(Chaldean, c), 0);
    }
}

void TestLetters::textToDigits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("method");
    QTest::addColumn<bool>("spaceAsZero");
    QTest::addColumn<QString>("digits");

    QTest::newRow("MARY pythagorean") << "MARY" << int(Pythagorean) << true << "4197";
    QTest::newRow("MARY chaldean") << "MARY" << int(Chaldean) << true << "4121";
    QTest::newRow("lower case is upper-cased") << "mary" << int(Pythagorean) << true << "4197";
    QTest::newRow("blank as zero") << "A B" << int(Pythagorean) << true << "102";
    QTest::newRow("blank kept") << "A B" << int(Pythagorean) << false << "1 2";
    QTest::newRow("digits copied, 0 stays 0") << "2024" << int(Chaldean) << true << "2024";
    QTest::newRow("punctuation pythagorean") << "R.I.P." << int(Pythagorean) << true << "909070";
    QTest::newRow("punctuation chaldean") << "R.I.P." << int(Chaldean) << true << "201080";
    QTest::newRow("accented letter") << "\u00c9" << int(Pythagorean) << true << "0";
    QTest::newRow("accented lower case stays") << "\u00e9a" << int(Pythagorean) << true << "01";
    QTest::newRow("tab and control") << "\tA\x01" << int(Pythagorean) << true << "010";
    QTest::newRow("character outside the basic plane is one")
        << "A\U0001F600B" << int(Pythagorean) << true << "102";
    QTest::newRow("no nine in chaldean")
        << "ABCDEFGHIJKLMNOPQRSTUVWXYZ" << int(Chaldean) << true << "12345835112345781234666517";
    QTest::newRow("nine from a typed nine") << "I9" << int(Chaldean) << true << "19";
    QTest::newRow("letter P is no pause") << "Pp" << int(Pythagorean) << true << "77";
    QTest::newRow("other method flags count as chaldean") << "MARY" << 5 << true << "4121";
    QTest::newRow("empty") << "" << int(Pythagorean) << true << "";
    QTest::newRow("blanks only, kept") << "  " << int(Chaldean) << false << "  ";
}

void TestLetters::textToDigits()
{
    QFETCH(QString, text);
    QFETCH(int, method);
    QFETCH(bool, spaceAsZero);
    QFETCH(QString, digits);
    QCOMPARE(numerology::TextToDigits(text, method, spaceAsZero), digits);
}

QTEST_GUILESS_MAIN(TestLetters)
#include "tst_letters.moc"
