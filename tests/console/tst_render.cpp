#include "console/render.h"
#include "console/slotsound.h"
#include "tonegen/tonegen.h"

#include <QTest>

// A rendered pass is the samples the console's generators play, digit by digit.
class TestRender : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void passIsTheSlotsImages();
};

void TestRender::passIsTheSlotsImages()
{
    ConsoleSettings settings = ConsoleSettings::builtInDefaults();
    settings.durationSeconds = 0.0204;  // 20 ms tones and pauses
    settings.waveItem = 1;

    QByteArray expected;
    const auto samplesOf = [&](int slot) {
        TToneGen generator;
        slotsound::setUpSlot(generator, slot, settings);
        generator.PrepareADSR();
        const QByteArrayView image = generator.GetDataBuffer();
        return image.sliced(44, image.size() - 76).toByteArray();
    };
    expected += samplesOf(4);
    expected += samplesOf(1);
    expected += QByteArray(20 * 96 * 2, '\0');  // "P"
    expected += samplesOf(1);                   // the blank and "x" take no time
    expected += samplesOf(0);

    QString error;
    const QByteArray wave =
        renderPass(QStringLiteral("41P x10"), settings, &error).value_or(QByteArray());
    QCOMPARE(wave.size(), 44 + expected.size());
    QCOMPARE(wave.first(4), QByteArray("RIFF"));
    QCOMPARE(wave.mid(22, 2), QByteArray::fromHex("0100"));  // mono
    QVERIFY(wave.mid(44) == expected);
}

QTEST_GUILESS_MAIN(TestRender)
#include "tst_render.moc"
