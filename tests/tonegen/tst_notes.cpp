#include "tonegen/notes.h"

#include <QTest>

class TestNotes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void noteToFrequency_data();
    void noteToFrequency();
};

void TestNotes::noteToFrequency_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("octave");
    QTest::addColumn<int>("frequency");
    QTest::addColumn<int>("octaveAfter");  // as handed back

    const auto row = [](const char* text, int octave, int frequency, int after) {
        QTest::newRow(text) << QString::fromLatin1(text) << octave << frequency << after;
    };
    const char* octave4[] = {"A", "A#", "B", "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#"};
    const int hz[] = {440, 466, 494, 523, 554, 587, 622, 659, 698, 740, 784, 831};
    for (int i = 0; i < 12; ++i)
        row(octave4[i], 4, hz[i], 4);
    row("a", 4, 440, 4);
    row(" C# ", 4, 554, 4);
    row("\tA+\n", 4, 466, 4);
    row("O5A", 4, 880, 5);
    row("O0A", 7, 28, 0);
    row("O9D#", 4, 19912, 9);
    row("O9E", 4, 0, 9);
    row("O", 4, 0, 4);
    row("OXA", 4, 0, 4);
    row("O5", 4, 0, 4);
    row("<A", 4, 220, 3);
    row("<<<<<<<A", 4, 28, 0);
    row(">>>>>>G", 4, 0, 9);
    row("<>>A", 4, 880, 5);
    row("B#", 4, 0, 4);
    row("E+", 4, 0, 4);
    row("C-", 4, 0, 4);
    row("F-", 4, 0, 4);
    row("B-", 4, 466, 4);
    row("A-", 4, 415, 3);
    row("A-", 0, 0, 0);
    row("A#-", 4, 0, 4);
    row("N48", 4, 440, 4);
    row("N0", 6, 28, 6);
    row("N114", 4, 19912, 4);
    row("N115", 4, 0, 4);
    row("N122", 4, 0, 4);
    row("N-1", 4, 0, 4);
    row("N+48", 4, 440, 4);
    row("N", 4, 0, 4);
    row("N4X", 4, 0, 4);
    row("A4", 4, 0, 4);
    row("H", 4, 0, 4);
    row("", 4, 0, 4);
    // An octave brought from outside 0..9 is the nearest one, however far out it is.
    row("<A", 40, 7040, 8);
    row(">A", -3, 55, 1);
    row("N+0", 12, 28, 9);
    row(" A ", 2032000000, 14080, 9);
}

void TestNotes::noteToFrequency()
{
    QFETCH(QString, text);
    QFETCH(int, octave);
    QFETCH(int, frequency);
    QFETCH(int, octaveAfter);
    QCOMPARE(NoteToFrequency(text, octave), frequency);
    QCOMPARE(octave, octaveAfter);
}

QTEST_GUILESS_MAIN(TestNotes)
#include "tst_notes.moc"
