// The end of a soak run of `sonarith-cli play --loop`: records a null sink's monitor with parec
// for a while, interrupts the player (SIGINT) while a tone sounds, and tells from the
// recording how far apart the tone boundaries lie, the longest silence inside the sound, and
// how long the player took to exit and its sound to stop.
//   soak_probe SINK PID SECONDS FILE.raw
// Prints one "name value" line a figure: rss_end_kib (just before the interrupt), spacings,
// spacing_min_ms, spacing_max_ms, quiet_max_ms, exit_ms (-1 when the player did not exit
// within 5 s) and sound_stop_ms (when the last sound reached the recording).
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <limits>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRate = 96000;
constexpr int kThreshold = 1000;             // a sample within this is quiet
constexpr std::int64_t kGap = kRate / 10;    // quiet this long parts two runs of tones
constexpr std::int64_t kMerge = kRate / 50;  // pitch changes this close are one boundary
constexpr std::int64_t kTail = kRate / 100;  // the stretch that tells whether a tone sounds
constexpr std::int64_t kSettle = kRate / 2;  // the start of the recording, left out

double now()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

[[noreturn]] void die(const std::string& what)
{
    std::fprintf(stderr, "soak_probe: %s\n", what.c_str());
    std::exit(1);
}

// parec writing the monitor into a file, and when each part of the file arrived: a frame was
// mixed no later than it arrived. Counting frames from the start tells less, since the
// server's rewind as parec connects sometimes hands the monitor a stretch of sound twice.
class Recorder
{
public:
    Recorder(const std::string& sink, const std::string& file) : file_(file)
    {
        pid_ = fork();
        if (pid_ < 0)
            die("cannot start parec");
        if (pid_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGTERM);  // it ends with the probe, whatever ends that
            const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd < 0 || dup2(fd, STDOUT_FILENO) < 0)
                _exit(127);
            const std::string device = sink + ".monitor";
            execlp("parec", "parec", "--raw", "--format=s16le", "--rate=96000", "--channels=2",
                   "--latency-msec=10", "-d", device.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }

    ~Recorder() { stop(); }

    // Notes how much has arrived; called about every millisecond while recording.
    void follow()
    {
        struct stat status;
        if (stat(file_.c_str(), &status) == 0 && status.st_size / 4 > frames_) {
            frames_ = status.st_size / 4;
            arrivals_.push_back({frames_, now()});
        }
    }

    // Follows for the given seconds, or until done() holds.
    template <typename Done> void followFor(double seconds, Done done)
    {
        const double end = now() + seconds;
        while (now() < end && !done()) {
            follow();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
    void followFor(double seconds)
    {
        followFor(seconds, [] { return false; });
    }

    std::int64_t frames() const { return frames_; }
    // When the frame had arrived, as first seen.
    double arrival(std::int64_t frame) const
    {
        const auto seen = std::upper_bound(
            arrivals_.begin(), arrivals_.end(), frame,
            [](std::int64_t f, const Arrival& arrival) { return f < arrival.frames; });
        return seen == arrivals_.end() ? now() : seen->time;
    }

    // The left channel of the last frames that have arrived.
    std::vector<std::int16_t> tail(std::int64_t count) const { return left(frames_ - count); }

    std::vector<std::int16_t> left(std::int64_t from = 0) const
    {
        std::ifstream in(file_, std::ios::binary);
        in.seekg(std::max<std::int64_t>(from, 0) * 4);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
        std::vector<std::int16_t> samples(bytes.size() / 4);
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = std::int16_t(
                std::uint16_t(std::uint8_t(bytes[4 * i]) | std::uint8_t(bytes[4 * i + 1]) << 8));
        return samples;
    }

    void stop()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
    }

private:
    std::string file_;
    pid_t pid_ = -1;
    std::int64_t frames_ = 0;
    struct Arrival
    {
        std::int64_t frames;  // the file's length then
        double time;
    };
    std::vector<Arrival> arrivals_;
};

bool loud(std::int16_t sample)
{
    return std::abs(int(sample)) > kThreshold;
}

long residentKib(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return -1;
}

struct Span
{
    std::int64_t first;
    std::int64_t last;
};

// The stretches of sound, parted by at least kGap quiet frames.
std::vector<Span> spans(const std::vector<std::int16_t>& left)
{
    std::vector<Span> found;
    std::int64_t quiet = 0;
    for (std::int64_t i = 0; i < std::int64_t(left.size()); ++i) {
        if (!loud(left[std::size_t(i)])) {
            ++quiet;
            continue;
        }
        if (found.empty() || quiet >= kGap)
            found.push_back({i, i});
        else
            found.back().last = i;
        quiet = 0;
    }
    return found;
}

// Where the pitch changes between two frames: a rising zero crossing after which the cycle
// length differs from the one before by more than a fifth.
std::vector<std::int64_t> pitchChanges(const std::vector<std::int16_t>& left, Span span)
{
    std::vector<std::int64_t> changes;
    std::int64_t previous = -1;
    std::int64_t period = 0;
    for (std::int64_t i = std::max<std::int64_t>(span.first, 1); i <= span.last; ++i) {
        if (!(left[std::size_t(i - 1)] < 0 && left[std::size_t(i)] >= 0))
            continue;
        if (previous >= 0) {
            const std::int64_t length = i - previous;
            if (period > 0 && std::abs(length - period) * 5 > period) {
                changes.push_back(previous);
                period = 0;
            } else {
                period = length;
            }
        }
        previous = i;
    }
    return changes;
}

std::int64_t longestQuiet(const std::vector<std::int16_t>& left, Span span)
{
    std::int64_t longest = 0;
    std::int64_t run = 0;
    for (std::int64_t i = span.first; i <= span.last; ++i) {
        run = loud(left[std::size_t(i)]) ? 0 : run + 1;
        longest = std::max(longest, run);
    }
    return longest;
}

double ms(std::int64_t frames)
{
    return double(frames) * 1000 / kRate;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 5)
        die("usage: soak_probe SINK PID SECONDS FILE.raw");
    const pid_t player = pid_t(std::atol(argv[2]));
    const double seconds = std::atof(argv[3]);
    const int pidfd = int(syscall(SYS_pidfd_open, player, 0));
    if (pidfd < 0)
        die("no process " + std::to_string(player));

    Recorder recorder(argv[1], argv[4]);
    recorder.followFor(5, [&] { return recorder.frames() >= kRate / 20; });
    if (recorder.frames() < kRate / 20)
        die("parec delivered nothing");
    recorder.followFor(seconds);
    // Interrupted between two passes, the player would have nothing to stop.
    recorder.followFor(3, [&] {
        const std::vector<std::int16_t> tail = recorder.tail(kTail);
        return std::all_of(tail.begin(), tail.end(), loud);
    });

    std::printf("rss_end_kib %ld\n", residentKib(player));
    const double interrupted = now();
    if (kill(player, SIGINT) != 0)
        die("cannot interrupt the player");
    pollfd exited{pidfd, POLLIN, 0};
    recorder.followFor(5, [&] { return poll(&exited, 1, 0) > 0; });
    const double exitedAt = poll(&exited, 1, 0) > 0 ? now() : -1;
    recorder.followFor(0.5);
    recorder.stop();
    recorder.follow();

    const std::vector<std::int16_t> left = recorder.left();
    const std::vector<Span> sound = spans(left);
    if (sound.empty())
        die("the recording is silent");
    // Every tone and every pause between passes begins at a boundary. The first stretch may
    // have begun before the recording and the last is cut off by the interrupt, whose cut
    // shortens the last cycle as a change of pitch would.
    std::vector<std::int64_t> boundaries;
    const auto add = [&](std::int64_t frame) {
        if (frame >= kSettle && (boundaries.empty() || frame - boundaries.back() > kMerge))
            boundaries.push_back(frame);
    };
    std::int64_t quiet = 0;
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const Span span = sound[i];
        add(span.first);
        const bool cut = i + 1 == sound.size();
        for (const std::int64_t change : pitchChanges(left, span)) {
            if (!cut || change < span.last - kMerge)
                add(change);
        }
        if (!cut)
            add(span.last + 1);
        quiet = std::max(quiet, longestQuiet(left, {std::max(span.first, kSettle), span.last}));
    }
    std::int64_t shortest = std::numeric_limits<std::int64_t>::max();
    std::int64_t longest = 0;
    for (std::size_t i = 1; i < boundaries.size(); ++i) {
        shortest = std::min(shortest, boundaries[i] - boundaries[i - 1]);
        longest = std::max(longest, boundaries[i] - boundaries[i - 1]);
    }
    const double silentAt = recorder.arrival(sound.back().last);

    std::printf("spacings %zu\n", boundaries.empty() ? 0 : boundaries.size() - 1);
    std::printf("spacing_min_ms %.2f\n", boundaries.size() > 1 ? ms(shortest) : -1.0);
    std::printf("spacing_max_ms %.2f\n", boundaries.size() > 1 ? ms(longest) : -1.0);
    std::printf("quiet_max_ms %.2f\n", ms(quiet));
    std::printf("exit_ms %.1f\n", exitedAt < 0 ? -1.0 : (exitedAt - interrupted) * 1000);
    std::printf("sound_stop_ms %.1f\n", (silentAt - interrupted) * 1000);
    return 0;
}
