#pragma once

#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <atomic>
#include <cstdint>
#include <thread>
#include <utility>
#include <vector>

// What was heard on a null sink, 16-bit stereo at 96,000 frames per second.
struct Recording
{
    static constexpr int kRate = 96000;
    std::vector<std::int16_t> left;
    std::vector<std::int16_t> right;

    qsizetype frames() const { return qsizetype(left.size()); }
    double seconds(qsizetype frames) const { return double(frames) / kRate; }
    // The first and last frame whose left sample exceeds threshold in size; -1 for none.
    qsizetype firstSound(int threshold = 1000, qsizetype from = 0) const;
    qsizetype lastSound(int threshold = 1000) const;
    // The frequency of the left channel between two frames, by its rising zero crossings.
    double frequency(qsizetype from, qsizetype to) const;
    // The frames between two frames where the left channel's cycle length changes by more
    // than a fifth: where one tone gives way to another of a clearly different pitch.
    QList<qsizetype> frequencyChanges(qsizetype from, qsizetype to) const;
    // Where each tone of a run between two frames begins, and the run's end: first, every
    // change of pitch, last.
    QList<qsizetype> toneEdges(qsizetype first, qsizetype last) const;
    // The longest run of frames between two frames with every left sample within threshold.
    qsizetype longestQuietRun(qsizetype from, qsizetype to, int threshold = 1000) const;
    // The largest sample size of a channel.
    int peak(const std::vector<std::int16_t>& channel) const;
    // The first and last frame of each stretch of sound, the stretches parted by at least
    // minQuiet frames with every left sample within threshold.
    QList<std::pair<qsizetype, qsizetype>> soundSpans(qsizetype minQuiet,
                                                      int threshold = 1000) const;

    // When a frame was heard, in seconds on NullSinkRecorder::clock(): the latest moment that
    // the arrival of the recording allows.
    double heardAt(qsizetype frame) const { return origin + seconds(frame); }
    double origin = 0;
};

// Records the monitor of the null sink that the test command sets up for the tests (its
// name in SONARITH_TEST_SINK), with parec.
class NullSinkRecorder
{
public:
    // The sink's name; empty when the tests run without one.
    static QString sink();

    // Seconds on the steady clock, the clock that Recording::heardAt() tells.
    static double clock();

    // Starts recording and returns once sound data flows; false with the reason otherwise.
    bool start(QString* error);
    Recording stop();

    NullSinkRecorder() = default;
    NullSinkRecorder(const NullSinkRecorder&) = delete;
    NullSinkRecorder& operator=(const NullSinkRecorder&) = delete;
    ~NullSinkRecorder();

private:
    // Notes, while recording, when each part of the recording arrives.
    void watch(const QString& file);
    void endWatch();

    QTemporaryDir folder_;
    QProcess parec_;
    std::thread watcher_;
    std::atomic<bool> watching_{false};
    double origin_ = 0;  // the watcher's, read once it has ended
};
