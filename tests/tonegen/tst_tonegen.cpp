#include "tonegen/soundoutput.h"
#include "tonegen/tonegen.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>

using Action = std::function<void(TToneGen&)>;
Q_DECLARE_METATYPE(Action)

class TestToneGen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void initialValues();
    void clamping_data();
    void clamping();
    void flags_data();
    void flags();
    void plainAndEnvelopeImages();
    void amLevelSelectsLayer();
    void notes();
    void amNotes();
    void amArrayWritten();
    void amArrayRead_data();
    void amArrayRead();
    void volume();
    void savedVolume();
    void exportFile();

private:
    QTemporaryDir folder_;
};

void TestToneGen::initTestCase()
{
    QVERIFY(folder_.isValid());
}

void TestToneGen::initialValues()
{
    const TToneGen g;
    QCOMPARE(g.Frequency(), 440);
    QCOMPARE(g.Duration(), 100);
    QCOMPARE(g.Waveform(), tgSine);
    QCOMPARE((QList<int>{g.Attack(), g.Hold(), g.Decay(), g.Sustain(), g.Release()}),
             (QList<int>{10, 5, 20, 50, 30}));
    QVERIFY(g.Async());
    QVERIFY(!g.Loop());
    QCOMPARE(g.Resolution(), tg16Bit);
    QCOMPARE(g.Quality(), tgHiQ);
    QCOMPARE(g.LeftVolume(), 100);
    QCOMPARE(g.RightVolume(), 100);
    QVERIFY(!g.Stereo());
    QCOMPARE(g.AMLevel(), tgAMLevel1);
    QCOMPARE(g.AMAmplitude(), 0);
    QCOMPARE(g.AMWaveform(), tgSine);
    QCOMPARE(g.AMFrequency(), 0.5f);
    QVERIFY(g.AMUseMultiplier());
    QCOMPARE(g.NoteOctave(), 4);
    QCOMPARE(g.DeviceId(), 0);
    for (int i = 0; i < kAMLayerCount; ++i) {
        QCOMPARE(g.AMAmplitudes(i), 0);
        QCOMPARE(g.AMWaveforms(i), tgSine);
        QCOMPARE(g.AMFrequencies(i), float(i + 1) / 2);
        QCOMPARE(g.AMOctaves(i), 4);
    }
    QVERIFY(g.ToneChanged() && g.EnvelopeChanged() && g.EnvelopeApplied() && g.Idle());
    QCOMPARE(g.ImageSize(), 0);
    QVERIFY(g.GetDataBuffer().isNull());
}

void TestToneGen::clamping_data()
{
    QTest::addColumn<Action>("set");
    QTest::addColumn<std::function<int(const TToneGen&)>>("get");
    QTest::addColumn<int>("stored");

    const auto row = [](const char* name, void (TToneGen::*set)(int), int (TToneGen::*get)() const,
                        int value, int stored) {
        QTest::newRow(name) << Action([=](TToneGen& g) {
            (g.*set)(value);
        }) << std::function<int(const TToneGen&)>([=](const TToneGen& g) { return (g.*get)(); })
                            << stored;
    };
    row("frequency 10", &TToneGen::SetFrequency, &TToneGen::Frequency, 10, 20);
    row("frequency 25000", &TToneGen::SetFrequency, &TToneGen::Frequency, 25000, 20000);
    row("frequency 40000", &TToneGen::SetFrequency, &TToneGen::Frequency, 40000, 20000);
    row("frequency 1000", &TToneGen::SetFrequency, &TToneGen::Frequency, 1000, 1000);
    row("duration 5", &TToneGen::SetDuration, &TToneGen::Duration, 5, 10);
    row("duration 40000", &TToneGen::SetDuration, &TToneGen::Duration, 40000, 32767);
    row("duration -70000", &TToneGen::SetDuration, &TToneGen::Duration, -70000, 10);
    row("attack 150", &TToneGen::SetAttack, &TToneGen::Attack, 150, 100);
    row("hold -1", &TToneGen::SetHold, &TToneGen::Hold, -1, 0);
    row("decay 101", &TToneGen::SetDecay, &TToneGen::Decay, 101, 100);
    row("sustain 65636", &TToneGen::SetSustain, &TToneGen::Sustain, 65636, 100);
    row("release 100", &TToneGen::SetRelease, &TToneGen::Release, 100, 100);
    row("left volume -5", &TToneGen::SetLeftVolume, &TToneGen::LeftVolume, -5, 0);
    row("right volume 300", &TToneGen::SetRightVolume, &TToneGen::RightVolume, 300, 100);
    row("AM amplitude 150", &TToneGen::SetAMAmplitude, &TToneGen::AMAmplitude, 150, 100);
}

void TestToneGen::clamping()
{
    QFETCH(Action, set);
    QFETCH(std::function<int(const TToneGen&)>, get);
    QFETCH(int, stored);
    TToneGen g;
    set(g);
    QCOMPARE(get(g), stored);
}

// From an image built with the envelope (all flags clear but EnvelopeApplied), each event
// moves the flags to the given state: ToneChanged, EnvelopeChanged, EnvelopeApplied, Idle.
void TestToneGen::flags_data()
{
    QTest::addColumn<Action>("event");
    QTest::addColumn<QString>("flags");

    const auto row = [](const char* name, Action event, const char* flags) {
        QTest::newRow(name) << event << QString::fromLatin1(flags);
    };
    row(
        "frequency", [](TToneGen& g) { g.SetFrequency(500); }, "TFTT");
    row(
        "duration", [](TToneGen& g) { g.SetDuration(20); }, "TFTT");
    row(
        "waveform", [](TToneGen& g) { g.SetWaveform(tgSquare); }, "TFTT");
    row(
        "resolution", [](TToneGen& g) { g.SetResolution(tg8Bit); }, "TFTT");
    row(
        "quality", [](TToneGen& g) { g.SetQuality(tgLoQ); }, "TFTT");
    row(
        "stereo", [](TToneGen& g) { g.SetStereo(true); }, "TFTT");
    row(
        "AM level", [](TToneGen& g) { g.SetAMLevel(tgAMLevel2); }, "TFTT");
    row(
        "AM amplitude", [](TToneGen& g) { g.SetAMAmplitude(5); }, "TFTT");
    row(
        "AM waveform", [](TToneGen& g) { g.SetAMWaveform(tgSquare); }, "TFTT");
    row(
        "AM frequency", [](TToneGen& g) { g.SetAMFrequency(2); }, "TFTT");
    row(
        "AM multiplier", [](TToneGen& g) { g.SetAMUseMultiplier(false); }, "TFTT");
    row(
        "reset AM", [](TToneGen& g) { g.ResetAM(); }, "TFTT");
    row(
        "AM parameter", [](TToneGen& g) { g.SetAMParameter(tgAMLevel3, 1, 1, tgSine); }, "TFTT");
    row(
        "note", [](TToneGen& g) { g.SetNote(QStringLiteral("C")); }, "TFTT");
    row(
        "unusable note", [](TToneGen& g) { g.SetNote(QStringLiteral("H")); }, "FFTT");
    row(
        "AM note", [](TToneGen& g) { g.SetAMNote(tgAMLevel1, QStringLiteral("C")); }, "TFTT");
    row(
        "attack", [](TToneGen& g) { g.SetAttack(1); }, "FTTT");
    row(
        "hold", [](TToneGen& g) { g.SetHold(1); }, "FTTT");
    row(
        "decay", [](TToneGen& g) { g.SetDecay(1); }, "FTTT");
    row(
        "sustain", [](TToneGen& g) { g.SetSustain(1); }, "FTTT");
    row(
        "release", [](TToneGen& g) { g.SetRelease(1); }, "FTTT");
    row(
        "volume", [](TToneGen& g) { g.SetLeftVolume(50); }, "FFTT");
    row(
        "async", [](TToneGen& g) { g.SetAsync(false); }, "FFTT");
    row(
        "plain build", [](TToneGen& g) { g.Prepare(); }, "FTFT");
    row(
        "envelope build", [](TToneGen& g) { g.PrepareADSR(); }, "FFTT");
    row(
        "synchronous play",
        [](TToneGen& g) {
            g.SetAsync(false);
            g.PlayADSR();
        },
        "FFTT");
    row(
        "asynchronous play", [](TToneGen& g) { g.PlayADSR(); }, "FFTF");
    row(
        "looped play",
        [](TToneGen& g) {
            g.SetAsync(false);
            g.SetLoop(true);
            g.PlayADSR();
        },
        "FFTF");
    row(
        "stop after a play",
        [](TToneGen& g) {
            g.PlayADSR();
            g.Stop();
        },
        "FFTT");
}

void TestToneGen::flags()
{
    QFETCH(Action, event);
    QFETCH(QString, flags);
    TToneGen g;
    g.SetDuration(10);
    QVERIFY(g.PrepareADSR());
    event(g);
    QString actual;
    for (const bool on : {g.ToneChanged(), g.EnvelopeChanged(), g.EnvelopeApplied(), g.Idle()})
        actual += on ? u'T' : u'F';
    g.Stop();
    QCOMPARE(actual, flags);
}

// Each play asks for its kind of image and rebuilds only when the kept one is not it.
void TestToneGen::plainAndEnvelopeImages()
{
    TToneGen g;
    g.SetAsync(false);
    g.SetDuration(10);
    QVERIFY(g.PrepareADSR());
    g.Play();  // the kept image carries the envelope: rebuilt plain
    QVERIFY(!g.EnvelopeApplied());
    QVERIFY(g.EnvelopeChanged());

    QVERIFY(g.Prepare());
    const QByteArray plain = g.GetDataBuffer().toByteArray();
    g.SetSustain(0);
    g.Play();  // only the envelope changed: the plain image is kept
    QVERIFY(g.EnvelopeChanged());
    QCOMPARE(g.GetDataBuffer().toByteArray(), plain);
    g.PlayADSR();  // rebuilt with the envelope
    QVERIFY(!g.EnvelopeChanged());
    QVERIFY(g.EnvelopeApplied());
    QVERIFY(g.GetDataBuffer().toByteArray() != plain);
}

void TestToneGen::amLevelSelectsLayer()
{
    TToneGen g;
    g.SetAMLevel(tgAMLevel3);
    g.SetAMAmplitude(50);
    for (int i = 0; i < kAMLayerCount; ++i)
        QCOMPARE(g.AMAmplitudes(i), i == 2 ? 50 : 0);

    g.SetAMParameter(tgAMLevel5, 150, 7.5f, tgSquare);
    QCOMPARE(g.AMAmplitudes(4), 150);
    QCOMPARE(g.AMAmplitude(), 50);  // the view keeps the selected layer's values
    g.SetAMLevel(tgAMLevel5);
    QCOMPARE(g.AMAmplitude(), 100);
    QCOMPARE(g.AMAmplitudes(4), 100);
    QCOMPARE(g.AMWaveform(), tgSquare);
    QCOMPARE(g.AMFrequency(), 7.5f);
}

void TestToneGen::notes()
{
    TToneGen g;
    QCOMPARE(g.SetNote(QStringLiteral("O5A")), 880);
    QCOMPARE(g.Frequency(), 880);
    QCOMPARE(g.NoteOctave(), 5);
    QCOMPARE(g.SetNote(QStringLiteral("C")), 1047);  // from the octave remembered
    for (const char* unusable : {"", "A4", "O", ">>>>>G"}) {
        QCOMPARE(g.SetNote(QString::fromLatin1(unusable)), 0);
        QCOMPARE(g.Frequency(), 1047);
        QCOMPARE(g.NoteOctave(), 5);
    }
}

void TestToneGen::amNotes()
{
    TToneGen g;
    QCOMPARE(g.SetAMNote(tgAMLevel2, QStringLiteral(">A")), 2.0f);  // 880 Hz over 440 Hz
    QCOMPARE(g.AMFrequencies(1), 2.0f);
    QCOMPARE(g.AMOctaves(1), 5);
    QCOMPARE(g.AMOctaves(0), 4);
    QCOMPARE(g.AMFrequency(), 0.5f);  // the view is not changed
    g.SetAMUseMultiplier(false);
    QCOMPARE(g.SetAMNote(tgAMLevel2, QStringLiteral("A")), 880.0f);
    QCOMPARE(g.SetAMNote(tgAMLevel2, QStringLiteral("Q")), 0.0f);
    QCOMPARE(g.AMFrequencies(1), 880.0f);
}

void TestToneGen::amArrayWritten()
{
    const TToneGen g;
    QByteArray expected = QByteArray::fromHex("07000000");
    const QList<QByteArray> floats{"0000003f", "0000803f", "0000c03f", "00000040",
                                   "00002040", "00004040", "00006040", "00008040"};
    for (const QByteArray& f : floats)
        expected += QByteArray::fromHex("00000000"
                                        "00000000" +
                                        f);
    QCOMPARE(g.WriteAMArray().size(), 100);
    QCOMPARE(g.WriteAMArray().toHex(), expected.toHex());

    TToneGen h;
    h.SetAMParameter(tgAMLevel2, -2, 1.25f, tgNoise);
    QCOMPARE(h.WriteAMArray().mid(16, 12).toHex(), QByteArray("feffffff04000000"
                                                              "0000a03f"));
}

void TestToneGen::amArrayRead_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QList<int>>("amplitudes");

    const auto entry = [](int amplitude) {
        QByteArray e(12, 0);
        e[0] = char(amplitude & 0xff);
        e[1] = char((amplitude >> 8) & 0xff);
        e[2] = char(0xff);  // only the low 16 bits count
        e[4] = char(tgSquare);
        e[5] = char(1);  // only the low 8 bits count
        return e;
    };
    QByteArray all;
    for (int i = 0; i < 10; ++i)
        all += entry(10 * (i + 1));

    QTest::newRow("two entries") << QByteArray::fromHex("01000000") + all.left(24)
                                 << QList<int>{10, 20, 0, 0, 0, 0, 0, 0};
    QTest::newRow("eight entries") << QByteArray::fromHex("07000000") + all.left(96)
                                   << QList<int>{10, 20, 30, 40, 50, 60, 70, 80};
    QTest::newRow("over-large count reads eight")
        << QByteArray::fromHex("09000000") + all << QList<int>{10, 20, 30, 40, 50, 60, 70, 80};
    QTest::newRow("negative count changes nothing")
        << QByteArray::fromHex("ffffffff") + all << QList<int>{0, 0, 0, 0, 0, 0, 0, 0};
    QTest::newRow("cut short") << QByteArray::fromHex("07000000") + all.left(30)
                               << QList<int>{10, 20, 0, 0, 0, 0, 0, 0};
}

void TestToneGen::amArrayRead()
{
    QFETCH(QByteArray, data);
    QFETCH(QList<int>, amplitudes);
    TToneGen g;
    QVERIFY(g.Prepare());
    g.ReadAMArray(data);
    QVERIFY(!g.ToneChanged());
    for (int i = 0; i < kAMLayerCount; ++i) {
        QCOMPARE(g.AMAmplitudes(i), amplitudes[i]);
        QCOMPARE(g.AMWaveforms(i), amplitudes[i] ? tgSquare : tgSine);
    }
}

void TestToneGen::volume()
{
    TToneGen g;
    g.SetLeftVolume(100);
    g.SetRightVolume(0);
    QCOMPARE(SoundOutput::instance().volume(), 65535u);
    g.SetLeftVolume(50);
    g.SetRightVolume(50);
    QCOMPARE(SoundOutput::instance().volume(), 32767u | 32767u << 16);
    g.SetLeftVolume(100);
    g.SetRightVolume(100);
    QCOMPARE(SoundOutput::instance().volume(), 0xffffffffu);
    QCOMPARE(TToneGen::ReadDeviceVolume(), 0xffffffffu);
}

// The first generator saves the output's level and sets it to full; the last one gives it
// back.
void TestToneGen::savedVolume()
{
    QCOMPARE(TToneGen::GeneratorCount(), 0);
    SoundOutput::instance().setVolume(0x12345678u);
    auto first = std::make_unique<TToneGen>();
    QCOMPARE(TToneGen::GeneratorCount(), 1);
    QCOMPARE(TToneGen::SavedVolume(), 0x12345678u);
    QCOMPARE(SoundOutput::instance().volume(), 0xffffffffu);
    auto second = std::make_unique<TToneGen>();
    QCOMPARE(TToneGen::SavedVolume(), 0x12345678u);
    second.reset();
    QCOMPARE(SoundOutput::instance().volume(), 0xffffffffu);
    first.reset();
    QCOMPARE(TToneGen::GeneratorCount(), 0);
    QCOMPARE(SoundOutput::instance().volume(), 0x12345678u);
    SoundOutput::instance().setVolume(0xffffffffu);
}

void TestToneGen::exportFile()
{
    const QString path = folder_.filePath(QStringLiteral("tone.wav"));
    TToneGen g;
    QVERIFY(!g.ExportFile(path));  // no image yet
    QVERIFY(!QFile::exists(path));

    g.SetDuration(1000);
    QVERIFY(g.Prepare());
    QVERIFY(g.ExportFile(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.size(), 192076);
    QCOMPARE(file.readAll(), g.GetDataBuffer().toByteArray());

    QVERIFY(!g.ExportFile(folder_.filePath(QStringLiteral("missing/tone.wav"))));
    QVERIFY(!QFile::exists(folder_.filePath(QStringLiteral("missing"))));
}

QTEST_GUILESS_MAIN(TestToneGen)
#include "tst_tonegen.moc"
