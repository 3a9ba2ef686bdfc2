#include "support/nullsinkrecorder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <limits>
#include <sys/stat.h>

qsizetype Recording::firstSound(int threshold, qsizetype from) const
{
    for (qsizetype i = from; i < frames(); ++i) {
        if (std::abs(int(left[std::size_t(i)])) > threshold)
            return i;
    }
    return -1;
}

qsizetype Recording::lastSound(int threshold) const
{
    for (qsizetype i = frames() - 1; i >= 0; --i) {
        if (std::abs(int(left[std::size_t(i)])) > threshold)
            return i;
    }
    return -1;
}

double Recording::frequency(qsizetype from, qsizetype to) const
{
    qsizetype first = -1;
    qsizetype last = -1;
    qsizetype crossings = 0;
    for (qsizetype i = std::max<qsizetype>(from, 1); i <= to && i < frames(); ++i) {
        if (left[std::size_t(i - 1)] < 0 && left[std::size_t(i)] >= 0) {
            if (first < 0)
                first = i;
            else
                ++crossings;
            last = i;
        }
    }
    if (crossings == 0)
        return 0;
    return double(crossings) * kRate / double(last - first);
}

QList<qsizetype> Recording::frequencyChanges(qsizetype from, qsizetype to) const
{
    QList<qsizetype> changes;
    qsizetype previous = -1;
    qsizetype period = 0;
    for (qsizetype i = std::max<qsizetype>(from, 1); i <= to && i < frames(); ++i) {
        if (!(left[std::size_t(i - 1)] < 0 && left[std::size_t(i)] >= 0))
            continue;
        if (previous >= 0) {
            const qsizetype length = i - previous;
            // The change lies within the cycle that ended at the previous crossing.
            if (period > 0 && std::abs(length - period) * 5 > period) {
                changes << previous;
                period = 0;
            } else {
                period = length;
            }
        }
        previous = i;
    }
    return changes;
}

QList<qsizetype> Recording::toneEdges(qsizetype first, qsizetype last) const
{
    QList<qsizetype> edges{first};
    edges << frequencyChanges(first, last) << last;
    return edges;
}

qsizetype Recording::longestQuietRun(qsizetype from, qsizetype to, int threshold) const
{
    qsizetype longest = 0;
    qsizetype run = 0;
    for (qsizetype i = from; i <= to && i < frames(); ++i) {
        run = std::abs(int(left[std::size_t(i)])) <= threshold ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

int Recording::peak(const std::vector<std::int16_t>& channel) const
{
    int largest = 0;
    for (const std::int16_t v : channel)
        largest = std::max(largest, std::abs(int(v)));
    return largest;
}

QList<std::pair<qsizetype, qsizetype>> Recording::soundSpans(qsizetype minQuiet,
                                                             int threshold) const
{
    QList<std::pair<qsizetype, qsizetype>> spans;
    qsizetype quiet = 0;
    for (qsizetype i = 0; i < frames(); ++i) {
        if (std::abs(int(left[std::size_t(i)])) <= threshold) {
            ++quiet;
            continue;
        }
        if (spans.isEmpty() || quiet >= minQuiet)
            spans.append({i, i});
        else
            spans.back().second = i;
        quiet = 0;
    }
    return spans;
}

double NullSinkRecorder::clock()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

NullSinkRecorder::~NullSinkRecorder()
{
    endWatch();
}

void NullSinkRecorder::watch(const QString& file)
{
    // Frame f cannot have been heard later than the moment the recording reached f frames:
    // the earliest of those bounds maps frames to the clock.
    const QByteArray path = QFile::encodeName(file);
    double origin = std::numeric_limits<double>::infinity();
    off_t seen = 0;  // frames
    while (watching_.load()) {
        struct stat status;
        if (::stat(path.constData(), &status) == 0 && status.st_size / 4 > seen) {
            seen = status.st_size / 4;
            origin = std::min(origin, clock() - double(seen) / Recording::kRate);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    origin_ = origin;
}

void NullSinkRecorder::endWatch()
{
    watching_.store(false);
    if (watcher_.joinable())
        watcher_.join();
}

QString NullSinkRecorder::sink()
{
    return qEnvironmentVariable("SONARITH_TEST_SINK");
}

bool NullSinkRecorder::start(QString* error)
{
    // parec writes to a file, so that it never waits on a reader while a test plays.
    const QString file = folder_.filePath(QStringLiteral("recording.raw"));
    endWatch();
    QFile::remove(file);
    parec_.setStandardOutputFile(file);
    watching_.store(true);
    watcher_ = std::thread([this, file] { watch(file); });
    parec_.start(QStringLiteral("parec"),
                 {QStringLiteral("--raw"), QStringLiteral("--format=s16le"),
                  QStringLiteral("--rate=96000"), QStringLiteral("--channels=2"),
                  QStringLiteral("--latency-msec=10"), QStringLiteral("-d"),
                  sink() + QStringLiteral(".monitor")});
    if (!parec_.waitForStarted(5000)) {
        *error = QStringLiteral("parec did not start: ") + parec_.errorString();
        return false;
    }
    // Wait until the monitor delivers, so that nothing played afterwards is missed.
    QElapsedTimer waited;
    waited.start();
    while (QFileInfo(file).size() < 4 * 4800 && waited.elapsed() < 5000)
        QThread::msleep(10);
    if (QFileInfo(file).size() < 4 * 4800) {
        *error = QStringLiteral("parec delivered nothing: ") +
                 QString::fromLocal8Bit(parec_.readAllStandardError());
        return false;
    }
    return true;
}

Recording NullSinkRecorder::stop()
{
    parec_.terminate();
    parec_.waitForFinished(5000);
    endWatch();
    QFile file(folder_.filePath(QStringLiteral("recording.raw")));
    QByteArray data;
    if (file.open(QIODevice::ReadOnly))
        data = file.readAll();

    Recording recording;
    recording.origin = origin_;
    const qsizetype frames = data.size() / 4;
    recording.left.resize(std::size_t(frames));
    recording.right.resize(std::size_t(frames));
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.constData());
    for (qsizetype i = 0; i < frames; ++i) {
        const std::uint8_t* frame = bytes + 4 * i;
        recording.left[std::size_t(i)] = std::int16_t(std::uint16_t(frame[0] | frame[1] << 8));
        recording.right[std::size_t(i)] = std::int16_t(std::uint16_t(frame[2] | frame[3] << 8));
    }
    return recording;
}
