#include "console/tonesettings.h"

#include <QTest>

using namespace tonesettings;

class TestToneSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readLines_data();
    void readLines();
    void seconds_data();
    void seconds();
    void writtenLinesReadBack();
    void settingsOfShortAndOddLines();
    void controlCharactersKeepTheLines();
    void nativeDigitsReadBack();
};

void TestToneSettings::readLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("first");  // the first lines read

    QTest::newRow("CR LF") << QByteArray("1\r\nMARY\r\n4197\r\n")
                           << QStringList{"1", "MARY", "4197", ""};
    QTest::newRow("CR alone ends a line") << QByteArray("1\rA\r") << QStringList{"1", "A", ""};
    QTest::newRow("LF alone does not") << QByteArray("1\nA\r\nB") << QStringList{"1\nA", "B", ""};
    QTest::newRow("Ctrl-Z ends the text") << QByteArray("1\r\nA\x1a"
                                                        "B\r\nC\r\n")
                                          << QStringList{"1", "A", ""};
    QTest::newRow("UTF-8") << QByteArray("1\r\nJos\xc3\xa9\r\n") << QStringList{"1", "Jos\u00e9"};
    QTest::newRow("not UTF-8: Latin-1")
        << QByteArray("1\r\nJos\xe9\r\n") << QStringList{"1", "Jos\u00e9"};
    QTest::newRow("empty file") << QByteArray() << QStringList{"", ""};
}

void TestToneSettings::readLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, first);
    const QStringList lines = tonesettings::readLines(bytes);
    QCOMPARE(lines.size(), kLineCount);
    QCOMPARE(lines.mid(0, first.size()), first);
}

void TestToneSettings::seconds_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<double>("value");  // -1: not a number

    QTest::newRow("point") << "0.500" << 0.5;
    QTest::newRow("comma, blanks around") << "  0,750 " << 0.75;
    QTest::newRow("whole") << "2" << 2.0;
    QTest::newRow("empty") << "" << -1.0;
    QTest::newRow("letters") << "abc" << -1.0;
    QTest::newRow("two separators") << "1.2.3" << -1.0;
    QTest::newRow("infinity") << "inf" << -1.0;
}

void TestToneSettings::seconds()
{
    QFETCH(QString, line);
    QFETCH(double, value);
    const std::optional<double> read = tonesettings::seconds(line);
    QCOMPARE(read.value_or(-1.0), value);
}

void TestToneSettings::writtenLinesReadBack()
{
    ConsoleSettings settings = ConsoleSettings::builtInDefaults();
    settings.numerologyText = QStringLiteral("41P 7");
    settings.method = 1;
    settings.durationSeconds = 1.25;
    settings.waveItem = 2;
    settings.loop = false;
    const QByteArray bytes = fileBytes(linesOf(settings, QLocale(QLocale::German)));
    QCOMPARE(bytes.count("\r\n"), kLineCount);
    QVERIFY(bytes.startsWith("1\r\nEnter Date Here\r\n41P 7\r\n1\r\n0\r\n174\r\n"));
    QVERIFY(bytes.contains("\r\n1,250\r\n"));  // as the duration field shows it there

    QString error;
    const std::optional<ConsoleSettings> read = settingsOf(tonesettings::readLines(bytes), &error);
    QVERIFY2(read, qPrintable(error));
    QCOMPARE(read->numerologyText, settings.numerologyText);
    QCOMPARE(read->method, 1);
    QCOMPARE(read->frequencies, settings.frequencies);
    QCOMPARE(read->durationSeconds, 1.25);
    QCOMPARE(read->sliders, settings.sliders);
    QCOMPARE(read->waveItem, 2);
    QCOMPARE(read->octave, QStringLiteral("4"));
    QVERIFY(!read->loop);
    QVERIFY(read->spaceAsZero);
}

void TestToneSettings::settingsOfShortAndOddLines()
{
    QString error;
    QVERIFY(!settingsOf(tonesettings::readLines("1\r\nA\r\n"), &error));
    QCOMPARE(error, QStringLiteral("'' is not a valid floating point value"));

    QStringList lines = tonesettings::readLines("1\r\nA\r\n\r\n1\r\nx\r\n");
    lines[14] = QStringLiteral("0.5");
    lines[15] = QStringLiteral("150");  // slider beyond the bottom
    lines[16] = QStringLiteral("-3");   // above the top
    lines[20] = QStringLiteral("7");    // wave item above the last
    const std::optional<ConsoleSettings> read = settingsOf(lines, &error);
    QVERIFY(read);
    QCOMPARE(read->method, 1);
    QCOMPARE(read->frequencies[0], 0);  // "x" is not a whole number
    QCOMPARE(read->sliders[0], 100);
    QCOMPARE(read->sliders[1], 0);
    QCOMPARE(read->waveItem, 3);
    QCOMPARE(read->octave, QString());
    QVERIFY(!read->loop);
    QVERIFY(!read->spaceAsZero);
}

// A text with a carriage return or Ctrl-Z keeps the file's 24 lines readable.
void TestToneSettings::controlCharactersKeepTheLines()
{
    ConsoleSettings settings = ConsoleSettings::builtInDefaults();
    settings.dataText = QStringLiteral("A\rB\x1a"
                                       "C");
    QString error;
    const std::optional<ConsoleSettings> read =
        settingsOf(tonesettings::readLines(fileBytes(linesOf(settings))), &error);
    QVERIFY2(read, qPrintable(error));
    QCOMPARE(read->dataText, QStringLiteral("A B C"));
    QCOMPARE(read->durationSeconds, 0.5);
    QCOMPARE(read->sliders, settings.sliders);
}

// A locale that writes its own digits reads its files back.
void TestToneSettings::nativeDigitsReadBack()
{
    const QLocale arabic(QLocale::Arabic, QLocale::Egypt);
    QLocale::setDefault(arabic);
    const QString written = durationText(1.25, arabic);
    const std::optional<double> read = tonesettings::seconds(written);
    QLocale::setDefault(QLocale::c());
    QCOMPARE(read.value_or(-1), 1.25);
}

QTEST_GUILESS_MAIN(TestToneSettings)
#include "tst_tonesettings.moc"
