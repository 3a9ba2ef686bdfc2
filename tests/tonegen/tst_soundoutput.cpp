#include "support/nullsinkrecorder.h"
#include "tonegen/soundoutput.h"
#include "tonegen/tonegen.h"

#include <QElapsedTimer>
#include <QTest>
#include <thread>

// Plays through the real sound output into the null sink and checks what was heard.
class TestSoundOutput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void synchronousToneSoundsItsLength();
    void loopedImageRepeats();
    void stopSilencesAtOnce();
    void synchronousPlaysFollowWithoutGap();
    void playAfterAPauseIsHeardAtOnce_data();
    void playAfterAPauseIsHeardAtOnce();
    void levelsApplyPerChannel();
    void stopWithNothingSoundingIsHarmless();
    void imageAtAnOddRateIsNotPlayed();

private:
    QByteArray tone(int hz, int ms);
    Recording record(const std::function<void()>& play, int tailMs = 150);

    NullSinkRecorder recorder_;
};

void TestSoundOutput::initTestCase()
{
    if (NullSinkRecorder::sink().isEmpty())
        QSKIP("no null sink set up for the tests (the test command sets one up)");
    QVERIFY2(SoundOutput::instance().hasDevice(), "the test sink's sound server did not answer");
}

void TestSoundOutput::init()
{
    SoundOutput::instance().setVolume(0xffffffffu);
}

void TestSoundOutput::cleanup()
{
    SoundOutput::instance().stop();
}

QByteArray TestSoundOutput::tone(int hz, int ms)
{
    TToneGen generator;
    generator.SetFrequency(hz);
    generator.SetDuration(ms);
    generator.SetStereo(true);
    if (!generator.Prepare())
        qFatal("no image");
    return generator.GetDataBuffer().toByteArray();
}

Recording TestSoundOutput::record(const std::function<void()>& play, int tailMs)
{
    QString error;
    if (!recorder_.start(&error))
        qFatal("%s", qPrintable(error));
    play();
    std::this_thread::sleep_for(std::chrono::milliseconds(tailMs));
    return recorder_.stop();
}

void TestSoundOutput::synchronousToneSoundsItsLength()
{
    const QByteArray image = tone(440, 1000);
    qint64 blockedMs = 0;
    const Recording heard = record([&] {
        QElapsedTimer blocked;
        blocked.start();
        SoundOutput::instance().play(image, SoundOutput::Mode::Synchronous);
        blockedMs = blocked.elapsed();
    });
    const qsizetype first = heard.firstSound();
    const qsizetype last = heard.lastSound();
    QVERIFY2(first >= 0, "nothing was heard");
    const double seconds = heard.seconds(last - first);
    QVERIFY2(seconds > 0.95 && seconds < 1.05, qPrintable(QString::number(seconds)));
    const double hz = heard.frequency(first, last);
    QVERIFY2(hz > 438 && hz < 442, qPrintable(QString::number(hz)));
    // The caller is held while the tone sounds.
    QVERIFY2(blockedMs > 900, qPrintable(QString::number(blockedMs)));
}

void TestSoundOutput::loopedImageRepeats()
{
    const QByteArray image = tone(880, 100);
    const Recording heard = record([&] {
        SoundOutput::instance().play(image, SoundOutput::Mode::Looped);
        std::this_thread::sleep_for(std::chrono::milliseconds(450));
        SoundOutput::instance().stop();
    });
    const qsizetype first = heard.firstSound();
    const qsizetype last = heard.lastSound();
    QVERIFY2(first >= 0, "nothing was heard");
    const double seconds = heard.seconds(last - first);
    QVERIFY2(seconds > 0.35 && seconds < 0.55, qPrintable(QString::number(seconds)));
    QCOMPARE(heard.longestQuietRun(first, last) < 192, true);
}

void TestSoundOutput::stopSilencesAtOnce()
{
    const QByteArray image = tone(440, 3000);
    QElapsedTimer sounding;
    qint64 stoppedAfter = 0;
    const Recording heard = record(
        [&] {
            sounding.start();
            SoundOutput::instance().play(image, SoundOutput::Mode::Asynchronous);
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
            stoppedAfter = sounding.elapsed();
            SoundOutput::instance().stop();
        },
        400);
    const qsizetype first = heard.firstSound();
    const qsizetype last = heard.lastSound();
    QVERIFY2(first >= 0, "nothing was heard");
    const double heardMs = heard.seconds(last - first) * 1000;
    QVERIFY2(
        heardMs <= double(stoppedAfter) + 50,
        qPrintable(
            QStringLiteral("heard %1 ms, stopped after %2 ms").arg(heardMs).arg(stoppedAfter)));
    QVERIFY2(heardMs > 300, qPrintable(QString::number(heardMs)));
}

void TestSoundOutput::synchronousPlaysFollowWithoutGap()
{
    const QByteArray low = tone(440, 250);
    const QByteArray high = tone(660, 250);
    const Recording heard = record([&] {
        TToneGen stopper;  // each play begins with a stop, as a generator's play does
        SoundOutput::instance().play(low, SoundOutput::Mode::Synchronous);
        stopper.Stop();
        SoundOutput::instance().play(high, SoundOutput::Mode::Synchronous);
    });
    const qsizetype first = heard.firstSound();
    const qsizetype last = heard.lastSound();
    QVERIFY2(first >= 0, "nothing was heard");
    const double seconds = heard.seconds(last - first);
    QVERIFY2(seconds > 0.48 && seconds < 0.52, qPrintable(QString::number(seconds)));
    const qsizetype gap = heard.longestQuietRun(first, last);
    QVERIFY2(gap < 192, qPrintable(QStringLiteral("silent for %1 frames").arg(gap)));
    const qsizetype middle = first + 24000;
    const double lowHz = heard.frequency(first, middle - 960);
    const double highHz = heard.frequency(middle + 960, last);
    QVERIFY2(std::abs(lowHz - 440) < 3 && std::abs(highHz - 660) < 3,
             qPrintable(QStringLiteral("%1 Hz then %2 Hz").arg(lowHz).arg(highHz)));
}

void TestSoundOutput::playAfterAPauseIsHeardAtOnce_data()
{
    QTest::addColumn<int>("pauseMs");
    QTest::addColumn<bool>("synchronous");
    QTest::newRow("asynchronous after a short pause") << 1000 << false;
    QTest::newRow("synchronous after a long pause") << 4000 << true;
}

// A slot's button is heard as soon as it is pressed, however long the output was silent
// before, and its tone is heard whole.
void TestSoundOutput::playAfterAPauseIsHeardAtOnce()
{
    QFETCH(int, pauseMs);
    QFETCH(bool, synchronous);
    const auto mode =
        synchronous ? SoundOutput::Mode::Synchronous : SoundOutput::Mode::Asynchronous;
    const QByteArray image = tone(1000, 200);
    double requestedAt = 0;
    const Recording heard = record(
        [&] {
            SoundOutput::instance().drain();
            std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
            requestedAt = NullSinkRecorder::clock();
            SoundOutput::instance().play(image, mode);
        },
        350);
    const qsizetype first = heard.firstSound();
    QVERIFY2(first >= 0, "nothing was heard");
    const double delayMs = (heard.heardAt(first) - requestedAt) * 1000;
    QVERIFY2(delayMs <= 100, qPrintable(QStringLiteral("heard after %1 ms").arg(delayMs)));
    const qsizetype length = heard.lastSound() - first;
    QVERIFY2(std::abs(length - 19200) <= 192,
             qPrintable(QStringLiteral("heard %1 frames").arg(length)));
}

void TestSoundOutput::levelsApplyPerChannel()
{
    const QByteArray image = tone(440, 300);
    SoundOutput::instance().setVolume(0x0000ffffu);  // left full, right silent
    const Recording heard =
        record([&] { SoundOutput::instance().play(image, SoundOutput::Mode::Synchronous); });
    QVERIFY(heard.peak(heard.left) > 30000);
    // The sound server's resampling may leave a trace of earlier sound, far below hearing.
    QVERIFY2(heard.peak(heard.right) < 64, qPrintable(QString::number(heard.peak(heard.right))));

    SoundOutput::instance().setVolume(0x7fff7fffu);
    QCOMPARE(SoundOutput::instance().volume(), 0x7fff7fffu);
    const Recording half =
        record([&] { SoundOutput::instance().play(image, SoundOutput::Mode::Synchronous); });
    QVERIFY(std::abs(half.peak(half.left) - 16383) < 100);
    QVERIFY(std::abs(half.peak(half.right) - 16383) < 100);
}

void TestSoundOutput::stopWithNothingSoundingIsHarmless()
{
    SoundOutput::instance().stop();
    SoundOutput::instance().stop();
    const QByteArray image = tone(440, 100);
    SoundOutput::instance().play(image, SoundOutput::Mode::Synchronous);
    SoundOutput::instance().drain();
    SoundOutput::instance().stop();
}

void TestSoundOutput::imageAtAnOddRateIsNotPlayed()
{
    QByteArray image = tone(440, 100);
    image[24] = char(100);  // 100 frames per second
    image[25] = image[26] = image[27] = 0;
    QElapsedTimer played;
    played.start();
    SoundOutput::instance().play(image, SoundOutput::Mode::Synchronous);
    QVERIFY(played.elapsed() < 50);
}

QTEST_GUILESS_MAIN(TestSoundOutput)
#include "tst_soundoutput.moc"
