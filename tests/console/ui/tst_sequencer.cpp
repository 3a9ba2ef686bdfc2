#include "console/ui/toneform.h"
#include "controls/numericedit.h"
#include "support/controls.h"
#include "support/nullsinkrecorder.h"
#include "support/recordinguiservices.h"
#include "tonegen/soundoutput.h"

#include <QCheckBox>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <memory>

// Notes when the numerology field is painted with another character selected.
class SelectionPaints : public QObject
{
public:
    explicit SelectionPaints(QLineEdit* field) : field_(field) { field_->installEventFilter(this); }

    // Each selected character painted, with the time it was painted on NullSinkRecorder::clock().
    QList<std::pair<double, int>> shown;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == field_ && event->type() == QEvent::Paint) {
            const int selected = field_->selectionStart();
            if (selected >= 0 && (shown.isEmpty() || shown.back().second != selected))
                shown.append({NullSinkRecorder::clock(), selected});
        }
        return false;
    }

private:
    QLineEdit* field_;
};

// The console's passes, heard through the real sound output in the test sink.
class TestSequencer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void passPlaysTheDigitsBackToBack();
    void selectionFollowsTheSoundPassAfterPass();
    void pauseLastsOneDuration();
    void stopEndsThePassAfterTheToneInProgress();
    void loopRearmsAfterAPass();
    void keyCancelsAnArmedPass();
    void closingEndsThePass();
    void playAllLeavesSlotNineCurrent();

private:
    template <typename T = QWidget> T* control(const char* name) const
    {
        return findControl<T>(*form, name);
    }
    void prepare(const char* digits, const char* seconds, bool loop);
    void setDistinctPitches();
    Recording record(int ms, const std::function<void()>& start);

    RecordingUiServices services;
    NullSinkRecorder recorder;
    std::unique_ptr<TToneFrm> form;
};

void TestSequencer::initTestCase()
{
    if (NullSinkRecorder::sink().isEmpty())
        QSKIP("no null sink set up for the tests (the test command sets one up)");
}

void TestSequencer::init()
{
    form = std::make_unique<TToneFrm>();
    form->show();
    form->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
}

void TestSequencer::cleanup()
{
    form->StopBtnClick();
    form.reset();
    // The end of the last tone, still in the stream, is not heard by the next test.
    SoundOutput::instance().drain();
}

// Tones at a constant level (no attack, decay or release) make their edges easy to find.
void TestSequencer::prepare(const char* digits, const char* seconds, bool loop)
{
    control<QCheckBox>("LoopBx")->setChecked(loop);
    const std::pair<const char*, int> flat[] = {{"TrackBar1", 100},
                                                {"TrackBar7", 100},
                                                {"TrackBar2", 100},
                                                {"TrackBar3", 0},
                                                {"TrackBar4", 100}};
    for (const auto& [name, position] : flat)
        control<QSlider>(name)->setValue(position);
    control<QLineEdit>("NTime")->setText(
        QLocale().toString(QString::fromLatin1(seconds).toDouble(), 'f', 3));
    form->NTimeAfterExit();
    control<QLineEdit>("NumbBx")->setText(QString::fromLatin1(digits));
}

// Slot frequencies whose short cycles mark each change of tone to within a millisecond:
// slots 4, 1, 9 and 7 sound at 1000, 1500, 2000 and 3000 Hz.
void TestSequencer::setDistinctPitches()
{
    const std::pair<int, int> slotHz[] = {{4, 1000}, {1, 1500}, {9, 2000}, {7, 3000}};
    for (const auto& [slot, hz] : slotHz)
        form->findChild<NumericEdit*>(QStringLiteral("Tbx%1").arg(slot))->setNumber(hz);
}

Recording TestSequencer::record(int ms, const std::function<void()>& start)
{
    QString error;
    if (!recorder.start(&error))
        qFatal("%s", qPrintable(error));
    start();
    QTest::qWait(ms);
    return recorder.stop();
}

void TestSequencer::passPlaysTheDigitsBackToBack()
{
    prepare("4197", "0.5", false);
    setDistinctPitches();
    const Recording heard = record(3000, [&] { control<QPushButton>("PlayBtn")->click(); });
    const qsizetype first = heard.firstSound();
    const qsizetype last = heard.lastSound();
    QVERIFY2(first >= 0, "nothing was heard");
    const qsizetype gap = heard.longestQuietRun(first, last);
    QVERIFY2(gap < 192, qPrintable(QStringLiteral("silent for %1 frames").arg(gap)));

    // Slots 4, 1, 9 and 7 in turn, each lasting 500 ms within 5 ms.
    const QList<qsizetype> starts = heard.toneEdges(first, last);
    QCOMPARE(starts.size(), 5);
    for (int k = 0; k < 4; ++k) {
        const qsizetype length = starts[k + 1] - starts[k];
        QVERIFY2(std::abs(length - 48000) <= 480,
                 qPrintable(QStringLiteral("tone %1 lasted %2 frames").arg(k).arg(length)));
        const double hz = heard.frequency(starts[k] + 960, starts[k + 1] - 960);
        const int slotHz[] = {1000, 1500, 2000, 3000};
        QVERIFY2(std::abs(hz - slotHz[k]) < 3,
                 qPrintable(QStringLiteral("tone %1: %2 Hz").arg(k).arg(hz)));
    }
    const auto& numbers = *control<QLineEdit>("NumbBx");
    QCOMPARE(numbers.selectionStart(), 3);
    QCOMPARE(numbers.selectedText(), QStringLiteral("7"));
    QVERIFY(!control<QTimer>("Timer1")->isActive());
}

// Each character is shown selected as its tone starts to sound, pass after pass, with the
// output left idle between the passes; each pass plays its tones back to back.
void TestSequencer::selectionFollowsTheSoundPassAfterPass()
{
    prepare("4197", "0.5", false);
    setDistinctPitches();
    const SelectionPaints painted(control<QLineEdit>("NumbBx"));
    // Each pass starts 500 ms after its click and lasts 2 s; 2 s of silence follow.
    const Recording heard = record(500 + 2000 + 300, [&] {
        for (int pass = 0; pass < 3; ++pass) {
            if (pass > 0)
                QTest::qWait(500 + 2000 + 2000);
            control<QPushButton>("PlayBtn")->click();
        }
    });
    const auto passes = heard.soundSpans(Recording::kRate / 5);
    QCOMPARE(passes.size(), 3);
    QCOMPARE(painted.shown.size(), 3 * 4);
    for (int pass = 0; pass < 3; ++pass) {
        const auto [first, last] = passes[pass];
        const qsizetype gap = heard.longestQuietRun(first, last);
        QVERIFY2(gap < 192,
                 qPrintable(QStringLiteral("pass %1 silent for %2 frames").arg(pass).arg(gap)));
        const QList<qsizetype> starts = heard.toneEdges(first, last);
        QCOMPARE(starts.size(), 5);
        for (int k = 0; k < 4; ++k) {
            const QString tone = QStringLiteral("pass %1 tone %2").arg(pass).arg(k);
            const qsizetype length = starts[k + 1] - starts[k];
            QVERIFY2(std::abs(length - 48000) <= 480,
                     qPrintable(QStringLiteral("%1 lasted %2 frames").arg(tone).arg(length)));
            const auto [shownAt, selected] = painted.shown[pass * 4 + k];
            QCOMPARE(selected, k);
            // The first tone of a pass also tells how soon a play after a pause is heard.
            const double shownMs = (shownAt - heard.heardAt(starts[k])) * 1000;
            QVERIFY2(
                std::abs(shownMs) <= 30,
                qPrintable(QStringLiteral("%1 shown %2 ms from its start").arg(tone).arg(shownMs)));
        }
    }
}

void TestSequencer::pauseLastsOneDuration()
{
    prepare("4P 4", "0.2", false);
    const Recording heard = record(1600, [&] { control<QPushButton>("PlayBtn")->click(); });
    const qsizetype first = heard.firstSound();
    const qsizetype last = heard.lastSound();
    QVERIFY2(first >= 0, "nothing was heard");
    const qsizetype pause = heard.longestQuietRun(first, last);
    QVERIFY2(std::abs(pause - 19200) <= 480,
             qPrintable(QStringLiteral("paused %1 frames").arg(pause)));
    QVERIFY2(std::abs(last - first - 3 * 19200) <= 960, qPrintable(QString::number(last - first)));
}

void TestSequencer::stopEndsThePassAfterTheToneInProgress()
{
    prepare("4197", "0.3", false);
    const Recording heard = record(2500, [&] {
        control<QPushButton>("PlayBtn")->click();
        // During the third tone; it is handled when that tone has ended.
        QTimer::singleShot(500 + 750, control<QPushButton>("StopBtn"), &QPushButton::click);
    });
    const qsizetype first = heard.firstSound();
    const qsizetype last = heard.lastSound();
    QVERIFY2(first >= 0, "nothing was heard");
    const double seconds = heard.seconds(last - first);
    QVERIFY2(std::abs(seconds - 0.9) < 0.02, qPrintable(QString::number(seconds)));
    QVERIFY(!control<QTimer>("Timer1")->isActive());
    QVERIFY(!control<QTimer>("Timer2")->isActive());
    QVERIFY(form->StopRequest());
}

void TestSequencer::loopRearmsAfterAPass()
{
    prepare("4", "0.05", true);
    const Recording heard = record(1500, [&] {
        control<QPushButton>("PlayBtn")->click();
        QTest::qWait(700);
        QVERIFY(control<QTimer>("Timer1")->isActive());  // armed again after the first pass
    });
    form->StopBtnClick();
    const qsizetype first = heard.firstSound();
    const qsizetype second = heard.firstSound(1000, first + 4800 + 960);
    QVERIFY2(first >= 0 && second > first, "the pass did not repeat");
    // About 500 ms pass between the 50 ms tone and the next pass: the pass ends as its tone
    // ends as heard, give or take 20 ms, and the coarse timer that arms the next pass may
    // fire up to 25 ms early or late.
    const double apart = heard.seconds(second - first);
    QVERIFY2(std::abs(apart - 0.55) < 0.08, qPrintable(QString::number(apart)));
}

void TestSequencer::keyCancelsAnArmedPass()
{
    prepare("4", "0.05", false);
    const Recording heard = record(900, [&] {
        control<QPushButton>("PlayBtn")->click();
        QTest::keyClick(control("DataBx"), Qt::Key_Shift);
    });
    QVERIFY(!control<QTimer>("Timer1")->isActive());
    QVERIFY2(
        heard.firstSound() == -1,
        qPrintable(
            QStringLiteral("sound at frame %1 of %2").arg(heard.firstSound()).arg(heard.frames())));
}

void TestSequencer::closingEndsThePass()
{
    prepare("4197", "0.3", true);
    const Recording heard = record(2000, [&] {
        control<QPushButton>("PlayBtn")->click();
        QTimer::singleShot(500 + 100, form.get(), &QWidget::close);
    });
    const qsizetype first = heard.firstSound();
    QVERIFY2(first >= 0, "nothing was heard");
    const double seconds = heard.seconds(heard.lastSound() - first);
    QVERIFY2(std::abs(seconds - 0.3) < 0.02, qPrintable(QString::number(seconds)));
    QVERIFY(!control<QTimer>("Timer1")->isActive());
}

void TestSequencer::playAllLeavesSlotNineCurrent()
{
    prepare("", "0.02", false);
    const Recording heard = record(1500, [&] { control<QPushButton>("PlayAllBtn")->click(); });
    QCOMPARE(form->CurrentSlot(), 9);
    QVERIFY(!control<QTimer>("Timer2")->isActive());
    const qsizetype first = heard.firstSound();
    const qsizetype last = heard.lastSound();
    QVERIFY2(first >= 0, "nothing was heard");
    // Slot 0 sounds at 20 Hz, slot 9 at 963 Hz: the last tone is the highest.
    QVERIFY(heard.frequency(last - 1700, last) > 900);
}

QTEST_MAIN(TestSequencer)
#include "tst_sequencer.moc"
