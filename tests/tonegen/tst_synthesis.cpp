#include "support/samples.h"
#include "tonegen/synthesis.h"
#include "tonegen/tonegen.h"

#include <QTest>
#include <cmath>
#include <limits>
#include <vector>

using samples::firstDifference;
using namespace synthesis;

Q_DECLARE_METATYPE(TTGWave)
Q_DECLARE_METATYPE(TTGResolution)
Q_DECLARE_METATYPE(TTGQuality)

namespace {

// A generator whose main tone plays at level percent: the rest goes to a silent layer
// (absolute frequency 0).
void setMainLevel(TToneGen& generator, int percent)
{
    generator.SetAMUseMultiplier(false);
    generator.SetAMParameter(tgAMLevel1, std::int16_t(100 - percent), 0.0f, tgSine);
}

QList<int> firstSamples(const TToneGen& generator, qsizetype from, qsizetype count)
{
    const QByteArrayView image = generator.GetDataBuffer();
    QList<int> values;
    const bool sixteen = generator.Resolution() == tg16Bit;
    const int channels = generator.Stereo() ? 2 : 1;
    for (qsizetype i = from; i < from + count; ++i)
        values << (sixteen ? samples::sample16(image, i, channels)
                           : samples::sample8(image, i, channels));
    return values;
}

// One second of 16-bit mono samples, all at value, shaped by the envelope.
std::vector<std::uint8_t> envelopedConstant(int value, const Envelope& envelope)
{
    const SampleFormat format = SampleFormat::of(tg16Bit, tgHiQ, false);
    const std::int64_t length = synthesis::dataLength(format, 1000);
    std::vector<std::uint8_t> data(static_cast<std::size_t>(length));
    for (std::size_t i = 0; i < data.size(); i += 2) {
        data[i] = std::uint8_t(value & 0xff);
        data[i + 1] = std::uint8_t(value >> 8);
    }
    ApplyEnvelope(data.data(), length, format, envelope);
    return data;
}

int frameAt(const std::vector<std::uint8_t>& data, qsizetype frame)
{
    const auto at = static_cast<std::size_t>(2 * frame);
    return std::int16_t(std::uint16_t(data[at] | data[at + 1] << 8));
}

}  // namespace

class TestSynthesis : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dataLength_data();
    void dataLength();
    void cycleEnds();
    void samplesOfWaves_data();
    void samplesOfWaves();
    void stereoCopiesLeft();
    void noiseIsRepeatable();
    void layerLevels_data();
    void layerLevels();
    void layersAddUp();
    void envelopeSegments();
    void envelopeShares_data();
    void envelopeShares();
    void header_data();
    void header();
    void anyStoredParametersBuild_data();
    void anyStoredParametersBuild();
};

void TestSynthesis::dataLength_data()
{
    QTest::addColumn<TTGResolution>("resolution");
    QTest::addColumn<TTGQuality>("quality");
    QTest::addColumn<bool>("stereo");
    QTest::addColumn<int>("ms");
    QTest::addColumn<qlonglong>("length");

    QTest::newRow("1 s 16-bit mono 96k") << tg16Bit << tgHiQ << false << 1000 << 192000LL;
    QTest::newRow("largest") << tg16Bit << tgHiQ << true << 32767 << 12582528LL;
    QTest::newRow("8-bit stereo 44.1k") << tg8Bit << tgLoQ << true << 1000 << 88200LL;
    // 1,323 bytes would end inside a frame: whole frames only.
    QTest::newRow("odd length, 16-bit mono") << tg16Bit << tgLoQ << false << 15 << 1322LL;
    QTest::newRow("odd length, 16-bit stereo") << tg16Bit << tgLoQ << true << 15 << 2644LL;
    QTest::newRow("8-bit mono 44.1k") << tg8Bit << tgLoQ << false << 15 << 661LL;
}

void TestSynthesis::dataLength()
{
    QFETCH(TTGResolution, resolution);
    QFETCH(TTGQuality, quality);
    QFETCH(bool, stereo);
    QFETCH(int, ms);
    QFETCH(qlonglong, length);
    const SampleFormat format = SampleFormat::of(resolution, quality, stereo);
    QCOMPARE(synthesis::dataLength(format, ms), length);

    TToneGen generator;
    generator.SetResolution(resolution);
    generator.SetQuality(quality);
    generator.SetStereo(stereo);
    generator.SetDuration(ms);
    QVERIFY(generator.Prepare());
    QCOMPARE(generator.ImageSize(), length + 76);
}

void TestSynthesis::cycleEnds()
{
    CycleLengths cycles(96000.0 / 440);
    QList<qint64> ends{cycles.first()};
    for (int c = 2; c <= 6; ++c)
        ends << ends.back() + cycles.next();
    QCOMPARE(ends, (QList<qint64>{218, 436, 654, 872, 1090, 1309}));
}

void TestSynthesis::samplesOfWaves_data()
{
    QTest::addColumn<TTGWave>("wave");
    QTest::addColumn<TTGResolution>("resolution");
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("from");
    QTest::addColumn<QList<int>>("expected");

    QTest::newRow("sine") << tgSine << tg16Bit << 100 << 0
                          << QList<int>{0, 944, 1887, 2829, 3769, 4705};
    QTest::newRow("triangle start")
        << tgTriangle << tg16Bit << 100 << 0 << QList<int>{-32767, -32165, -31564};
    QTest::newRow("triangle top") << tgTriangle << tg16Bit << 100 << 109 << QList<int>{32767};
    QTest::newRow("triangle cycle end")
        << tgTriangle << tg16Bit << 100 << 217 << QList<int>{-32165, -32767};
    QTest::newRow("square 16-bit")
        << tgSquare << tg16Bit << 50 << 107 << QList<int>{-16383, -16383, 16383, 16383};
    QTest::newRow("square 8-bit") << tgSquare << tg8Bit << 50 << 107
                                  << QList<int>{64, 64, 191, 191};
    QTest::newRow("sawtooth") << tgSawtooth << tg16Bit << 100 << 0
                              << QList<int>{-32767, -32466, -32165};
    QTest::newRow("sawtooth restarts") << tgSawtooth << tg16Bit << 100 << 218 << QList<int>{-32767};
    QTest::newRow("noise") << tgNoise << tg16Bit << 100 << 0 << QList<int>{-30711, 23661, -19491};
    QTest::newRow("sine 8-bit") << tgSine << tg8Bit << 100 << 0 << QList<int>{128, 131, 135};
}

void TestSynthesis::samplesOfWaves()
{
    QFETCH(TTGWave, wave);
    QFETCH(TTGResolution, resolution);
    QFETCH(int, level);
    QFETCH(int, from);
    QFETCH(QList<int>, expected);

    TToneGen generator;
    generator.SetWaveform(wave);
    generator.SetResolution(resolution);
    setMainLevel(generator, level);
    QVERIFY(generator.Prepare());
    const QString difference =
        firstDifference(firstSamples(generator, from, expected.size()), expected, from);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestSynthesis::stereoCopiesLeft()
{
    TToneGen generator;
    generator.SetStereo(true);
    generator.SetWaveform(tgTriangle);
    QVERIFY(generator.Prepare());
    const QByteArrayView image = generator.GetDataBuffer();
    for (qsizetype frame = 0; frame < 9600; ++frame) {
        const qsizetype at = 44 + frame * 4;
        QVERIFY2(image.sliced(at, 2) == image.sliced(at + 2, 2),
                 qPrintable(QString::number(frame)));
    }
    QCOMPARE(samples::sample16(image, 109, 2), 32767);
}

void TestSynthesis::noiseIsRepeatable()
{
    TToneGen generator;
    generator.SetWaveform(tgNoise);
    QVERIFY(generator.Prepare());
    const QByteArray first = generator.GetDataBuffer().toByteArray();
    generator.SetWaveform(tgNoise);  // marks the image out of date
    QVERIFY(generator.Prepare());
    QCOMPARE(generator.GetDataBuffer().toByteArray(), first);
}

void TestSynthesis::layerLevels_data()
{
    QTest::addColumn<QList<int>>("amplitudes");
    QTest::addColumn<int>("frequency");
    QTest::addColumn<float>("multiplier");
    QTest::addColumn<QList<qlonglong>>("levels");  // main tone, layer 0, layer 1
    QTest::addColumn<double>("layerFrequency");

    QTest::newRow("layers leave 50")
        << QList<int>{30, 20} << 440 << 1.5f << QList<qlonglong>{50, 30, 20} << 660.0;
    QTest::newRow("over 100 scaled")
        << QList<int>{80, 70} << 440 << 1.5f << QList<qlonglong>{-50, 53, 46} << 660.0;
    QTest::newRow("multiplied beyond 20000")
        << QList<int>{10, 0} << 20000 << 4.0f << QList<qlonglong>{90, 10, 0} << 20000.0;
    QTest::newRow("multiplied below 20")
        << QList<int>{10, 0} << 20 << 0.1f << QList<qlonglong>{90, 10, 0} << 20.0;
}

void TestSynthesis::layerLevels()
{
    QFETCH(QList<int>, amplitudes);
    QFETCH(int, frequency);
    QFETCH(float, multiplier);
    QFETCH(QList<qlonglong>, levels);
    QFETCH(double, layerFrequency);

    std::array<std::int16_t, kAMLayerCount> amps{};
    std::array<TTGWave, kAMLayerCount> waves{};
    std::array<float, kAMLayerCount> freqs{};
    freqs.fill(multiplier);
    for (qsizetype i = 0; i < amplitudes.size(); ++i)
        amps[std::size_t(i)] = std::int16_t(amplitudes[i]);
    const auto layers =
        layerTable(frequency, tgSine, {amps.data(), waves.data(), freqs.data(), true});
    QCOMPARE((QList<qlonglong>{layers[0].level, layers[1].level, layers[2].level}), levels);
    QCOMPARE(layers[0].frequency, double(frequency));
    QCOMPARE(layers[1].frequency, layerFrequency);
}

// The image is the sum of its layers, each built alone at its own level.
void TestSynthesis::layersAddUp()
{
    TToneGen generator;
    generator.SetAMParameter(tgAMLevel1, 30, 2.0f, tgSquare);
    generator.SetAMParameter(tgAMLevel2, 20, 3.0f, tgTriangle);
    QVERIFY(generator.Prepare());

    const SampleFormat format = SampleFormat::of(tg16Bit, tgHiQ, false);
    const std::int64_t frames = 9600;
    std::vector<std::uint8_t> expected(static_cast<std::size_t>(frames * 2), 0);
    NoiseSequence noise;
    addLayer(expected.data(), frames, format, {50, 440, tgSine}, noise);
    addLayer(expected.data(), frames, format, {30, 880, tgSquare}, noise);
    addLayer(expected.data(), frames, format, {20, 1320, tgTriangle}, noise);

    const QByteArrayView image = generator.GetDataBuffer();
    QList<int> actual;
    QList<int> wanted;
    for (qsizetype i = 0; i < frames; ++i) {
        actual << samples::sample16(image, i);
        wanted << frameAt(expected, i);
    }
    const QString difference = firstDifference(actual, wanted);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

// A constant signal shows the envelope's own shape.
void TestSynthesis::envelopeSegments()
{
    const std::vector<std::uint8_t> data = envelopedConstant(1000, {10, 30, 20, 50, 10});
    const auto at = [&](qsizetype frame) { return frameAt(data, frame); };
    const QList<std::pair<qsizetype, int>> expected{
        {0, 0},        {4800, 500},   {9600, 1000},  // attack
        {9601, 1000},  {38401, 1000},                // hold
        {38402, 1000}, {48002, 751},  {57602, 501},  // decay; its factor is inexact
        {57603, 500},  {86403, 500},                 // sustain
        {86404, 500},  {95999, 0}};                  // release
    for (const auto& [frame, value] : expected)
        QVERIFY2(at(frame) == value, qPrintable(QStringLiteral("frame %1: got %2, expected %3")
                                                    .arg(frame)
                                                    .arg(at(frame))
                                                    .arg(value)));
}

void TestSynthesis::envelopeShares_data()
{
    QTest::addColumn<QList<int>>("envelope");  // A, Hd, D, S, R
    QTest::addColumn<QList<int>>("frames");    // frames to look at
    QTest::addColumn<QList<int>>("values");

    // Scaled to 25 each with a release of 25: no sustain, the release starts after 3 × 24,001.
    QTest::newRow("shares over 100")
        << QList<int>{50, 50, 50, 50, 50} << QList<int>{24000, 48001, 72002, 72003, 95999}
        << QList<int>{1000, 1000, 500, 500, 0};
    QTest::newRow("all shares 0") << QList<int>{0, 0, 0, 40, 0} << QList<int>{0, 50000, 95999}
                                  << QList<int>{400, 400, 400};
    QTest::newRow("no release: sustain to the end")
        << QList<int>{10, 5, 20, 50, 0} << QList<int>{33603, 33604, 95999}
        << QList<int>{500, 500, 500};
}

void TestSynthesis::envelopeShares()
{
    QFETCH(QList<int>, envelope);
    QFETCH(QList<int>, frames);
    QFETCH(QList<int>, values);
    const std::vector<std::uint8_t> data =
        envelopedConstant(1000, {envelope[0], envelope[1], envelope[2], envelope[3], envelope[4]});
    QList<int> actual;
    for (const int frame : frames)
        actual << frameAt(data, frame);
    QCOMPARE(actual, values);
}

void TestSynthesis::header_data()
{
    QTest::addColumn<TTGResolution>("resolution");
    QTest::addColumn<TTGQuality>("quality");
    QTest::addColumn<bool>("stereo");
    QTest::addColumn<int>("ms");
    // RIFF size, channels, rate, bytes per second, frame size, bits, data size
    QTest::addColumn<QList<qlonglong>>("fields");

    QTest::newRow("console tone") << tg16Bit << tgHiQ << false << 1000
                                  << QList<qlonglong>{192036, 1, 96000, 192000, 2, 16, 192000};
    QTest::newRow("8-bit stereo 44.1k")
        << tg8Bit << tgLoQ << true << 100 << QList<qlonglong>{8856, 2, 44100, 88200, 2, 8, 8820};
}

void TestSynthesis::header()
{
    QFETCH(TTGResolution, resolution);
    QFETCH(TTGQuality, quality);
    QFETCH(bool, stereo);
    QFETCH(int, ms);
    QFETCH(QList<qlonglong>, fields);

    TToneGen generator;
    generator.SetResolution(resolution);
    generator.SetQuality(quality);
    generator.SetStereo(stereo);
    generator.SetDuration(ms);
    QVERIFY(generator.Prepare());
    const QByteArrayView image = generator.GetDataBuffer();
    const auto u16 = [&](qsizetype at) {
        return qlonglong(std::uint8_t(image[at]) | std::uint8_t(image[at + 1]) << 8);
    };
    const auto u32 = [&](qsizetype at) { return u16(at) | u16(at + 2) << 16; };
    QCOMPARE(image.first(4), QByteArrayView("RIFF"));
    QCOMPARE(image.sliced(8, 8), QByteArrayView("WAVEfmt "));
    QCOMPARE(u32(16), 16);
    QCOMPARE(u16(20), 1);
    QCOMPARE(image.sliced(36, 4), QByteArrayView("data"));
    QCOMPARE((QList<qlonglong>{u32(4), u16(22), u32(24), u32(28), u16(32), u16(34), u32(40)}),
             fields);
    // The padding after the data is silence.
    const char silence = resolution == tg16Bit ? 0 : char(128);
    QCOMPARE(image.last(32).toByteArray(), QByteArray(32, silence));
    QCOMPARE(generator.ImageSize(), fields.back() + 76);
}

// Whatever the setters and the layer operation can store builds without fault; the
// sanitizer build checks that no undefined arithmetic happens on the way.
void TestSynthesis::anyStoredParametersBuild_data()
{
    QTest::addColumn<int>("amplitude");
    QTest::addColumn<float>("frequency");
    QTest::addColumn<bool>("multiplier");
    QTest::addColumn<int>("wave");

    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    QTest::newRow("most negative amplitudes") << -32768 << 1.0f << true << int(tgNoise);
    QTest::newRow("largest amplitude") << 32767 << 2.0f << true << int(tgTriangle);
    QTest::newRow("absolute above the rate") << 50 << 1e30f << false << int(tgSine);
    QTest::newRow("absolute at two thirds of the rate")
        << 50 << 70000.0f << false << int(tgTriangle);
    QTest::newRow("absolute just playable") << 50 << 48000.0f << false << int(tgSquare);
    QTest::newRow("absolute below one hertz") << 50 << 0.5f << false << int(tgSawtooth);
    QTest::newRow("absolute negative") << 50 << -440.0f << false << int(tgSine);
    QTest::newRow("infinite multiplier") << 50 << inf << true << int(tgSine);
    QTest::newRow("not a number") << 50 << nan << true << int(tgNoise);
    QTest::newRow("not a number, absolute") << 50 << nan << false << int(tgNoise);
    QTest::newRow("unknown wave") << 50 << 1.0f << true << 200;
}

void TestSynthesis::anyStoredParametersBuild()
{
    QFETCH(int, amplitude);
    QFETCH(float, frequency);
    QFETCH(bool, multiplier);
    QFETCH(int, wave);

    for (const TTGResolution resolution : {tg16Bit, tg8Bit}) {
        for (const bool stereo : {false, true}) {
            TToneGen generator;
            generator.SetDuration(15);
            generator.SetQuality(tgLoQ);
            generator.SetResolution(resolution);
            generator.SetStereo(stereo);
            generator.SetAMUseMultiplier(multiplier);
            for (int layer = 0; layer < kAMLayerCount; ++layer)
                generator.SetAMParameter(TTGAMLevel(layer), std::int16_t(amplitude), frequency,
                                         TTGWave(wave));
            generator.SetWaveform(TTGWave(wave));
            QVERIFY(generator.PrepareADSR());
        }
    }
}

QTEST_GUILESS_MAIN(TestSynthesis)
#include "tst_synthesis.moc"
