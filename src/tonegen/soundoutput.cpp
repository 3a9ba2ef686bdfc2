#include "tonegen/soundoutput.h"

#include "tonegen/waveimage.h"

#include <dlfcn.h>
#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The writer hands the stream 5 ms at a time and keeps about 120 ms queued, so that a writer
// or a caller held up for a while by a busy machine does not let it run dry. A stop flushes
// what is queued, so this costs nothing in response.
constexpr int kChunksPerSecond = 200;
constexpr int kLatencyMs = 120;
// A stream that has played out all it held starts again once this much has arrived, more
// than the server takes at a time: starting on less, it would run dry at once, and the
// server's rewinds to fit in what comes next lose a few milliseconds of sound. Sound after a
// pause is led in by this much silence, so that a short image starts too; the lead-in goes
// with this much of the image, in one write.
constexpr int kStartMs = 15;
constexpr int kFirstWriteMs = 60;
// A synchronous play returns this long before its end is heard, so that the caller's next
// image joins on before the stream runs dry even when the caller is slow to get the processor;
// what the caller shows of the next image waits for its heard start (the heard action).
constexpr auto kReleaseEarly = std::chrono::milliseconds(80);
// Waiting for everything to be heard adds this much, since closing the stream right after
// its end would cut off whatever the server still holds of it.
constexpr auto kDrainMargin = std::chrono::milliseconds(15);
// A stream left silent this long is closed; the next play opens it again, which takes a few
// milliseconds.
constexpr auto kIdleClose = std::chrono::seconds(3);
// Without a sound server, an image tries to open a stream again at most this often, and an
// image that starts after silence at most this often, so that sound comes back with the next
// tones once the server is there again.
constexpr auto kRetryOpen = std::chrono::seconds(5);
constexpr auto kRetryOpenAtStart = std::chrono::seconds(1);

struct Image
{
    std::vector<std::int16_t> samples;  // stereo, interleaved
    int rate = 0;
    std::size_t silentFrames = 0;  // silence without samples
    int silentMs = 0;              // silence yet to be sized at the stream's rate
    std::size_t frames() const { return samples.empty() ? silentFrames : samples.size() / 2; }
};

// The image's samples as 16-bit stereo at its own rate.
std::shared_ptr<Image> convert(QByteArrayView wave)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(wave.data());
    const waveimage::HeaderInfo header = waveimage::readHeader(bytes, wave.size());
    // The stream takes the rates of ordinary sound; an image at another is not played.
    if (!header.valid || header.rate < 8000 || header.rate > 192000)
        return nullptr;
    const std::int64_t available = wave.size() - waveimage::kHeaderSize;
    const std::int64_t length = std::min<std::int64_t>(header.dataLength, available);
    const int frameSize = header.bits / 8 * header.channels;
    const std::int64_t frames = length / frameSize;

    auto image = std::make_shared<Image>();
    image->rate = header.rate;
    image->samples.resize(std::size_t(frames) * 2);
    const std::uint8_t* in = bytes + waveimage::kHeaderSize;
    for (std::int64_t i = 0; i < frames; ++i, in += frameSize) {
        for (int channel = 0; channel < 2; ++channel) {
            const std::uint8_t* sample =
                in + (header.channels == 2 ? channel * header.bits / 8 : 0);
            const int value = header.bits == 16
                                  ? std::int16_t(std::uint16_t(sample[0] | sample[1] << 8))
                                  : (int(sample[0]) - 128) * 256;
            image->samples[std::size_t(i) * 2 + std::size_t(channel)] = std::int16_t(value);
        }
    }
    return image;
}

// The sound server's client library, loaded when sound is first needed: programs that only
// build images never pay for loading it.
struct PulseLibrary
{
    decltype(&pa_simple_new) open = nullptr;
    decltype(&pa_simple_free) free = nullptr;
    decltype(&pa_simple_write) write = nullptr;
    decltype(&pa_simple_flush) flush = nullptr;
    decltype(&pa_simple_get_latency) latency = nullptr;

    static const PulseLibrary* get()
    {
        static const PulseLibrary library = [] {
            PulseLibrary l;
            void* handle = dlopen("libpulse-simple.so.0", RTLD_NOW | RTLD_LOCAL);
            if (!handle)
                return l;
            l.open = reinterpret_cast<decltype(&pa_simple_new)>(dlsym(handle, "pa_simple_new"));
            l.free = reinterpret_cast<decltype(&pa_simple_free)>(dlsym(handle, "pa_simple_free"));
            l.write =
                reinterpret_cast<decltype(&pa_simple_write)>(dlsym(handle, "pa_simple_write"));
            l.flush =
                reinterpret_cast<decltype(&pa_simple_flush)>(dlsym(handle, "pa_simple_flush"));
            l.latency = reinterpret_cast<decltype(&pa_simple_get_latency)>(
                dlsym(handle, "pa_simple_get_latency"));
            if (!l.open || !l.free || !l.write || !l.flush || !l.latency)
                l = PulseLibrary{};
            return l;
        }();
        return library.open ? &library : nullptr;
    }
};

void sayNoDevice()
{
    static std::once_flag said;
    std::call_once(said,
                   [] { std::fputs("No sound device found: sound output is silent.\n", stderr); });
}

void sayLost()
{
    std::fputs("Sound output was lost: the sound server stopped answering. Playing on silently.\n",
               stderr);
}

void sayBack()
{
    std::fputs("Sound output is back.\n", stderr);
}

}  // namespace

class SoundOutput::Stream
{
public:
    ~Stream()
    {
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
        }
        wake_.notify_all();
        done_.notify_all();
        if (writer_.joinable())
            writer_.join();
        closeDevice();
    }

    // heard runs on the calling thread once: as the image's first sound is heard in a
    // synchronous play, otherwise (or when cut off first) as soon as the image is handed over.
    void play(std::shared_ptr<Image> image, Mode mode, std::function<void()> heard)
    {
        std::unique_lock lock(mutex_);
        const auto runHeard = [&] {
            if (heard) {
                lock.unlock();
                std::exchange(heard, {})();
                lock.lock();
            }
        };
        startWriter(lock);
        cutOff();
        const std::uint64_t generation = ++generation_;
        done_.notify_all();  // a synchronous play still waiting has been cut off
        if (!image || (image->frames() == 0 && image->silentMs == 0)) {
            runHeard();
            return;
        }
        image_ = std::move(image);
        position_ = 0;
        looped_ = mode == Mode::Looped;
        leadIn_ = true;
        wake_.notify_all();
        if (mode != Mode::Synchronous) {
            runHeard();
            return;
        }
        const auto cutOffOrQuit = [&] { return generation_ != generation || quit_; };
        if (heard) {
            done_.wait(lock, [&] { return started_ >= generation || cutOffOrQuit(); });
            done_.wait_until(lock, heardStart_, cutOffOrQuit);
            runHeard();
        }
        done_.wait(lock, [&] { return finished_ >= generation || cutOffOrQuit(); });
        // All of it is in the stream now; the caller goes on shortly before its end is heard.
        done_.wait_until(lock, heardEnd_ - kReleaseEarly, cutOffOrQuit);
    }

    void stop()
    {
        std::lock_guard lock(mutex_);
        cutOff();
        ++generation_;
        wake_.notify_all();
        done_.notify_all();
    }

    void drain()
    {
        std::unique_lock lock(mutex_);
        if (!writerStarted_)
            return;
        done_.wait(lock, [&] { return !image_ || looped_ || quit_; });
        if (image_)
            return;  // a looped image never ends
        const std::uint64_t generation = generation_;
        done_.wait_until(lock, heardEnd_ + kDrainMargin,
                         [&] { return generation_ != generation || quit_; });
    }

    bool hasDevice()
    {
        std::unique_lock lock(mutex_);
        startWriter(lock);
        return !silent_;
    }

    std::atomic<std::uint32_t> volume{0xffffffffu};

    void setLossHandler(std::function<void()> handler)
    {
        std::lock_guard lock(mutex_);
        lossHandler_ = std::move(handler);
    }

private:
    // Drops the sounding image, and what of it the stream still holds.
    void cutOff()
    {
        if (image_) {
            image_.reset();
            flush_ = true;
            heardEnd_ = Clock::now();
        }
    }

    void startWriter(std::unique_lock<std::mutex>& lock)
    {
        if (writerStarted_)
            return;
        writerStarted_ = true;
        writer_ = std::thread([this] { run(); });
        // The writer's first act is to open the stream; its outcome decides hasDevice().
        done_.wait(lock, [&] { return deviceKnown_; });
    }

    bool openDevice(int rate)
    {
        closeDevice();
        pulse_ = PulseLibrary::get();
        if (!pulse_)
            return false;
        const pa_sample_spec sampleFormat{PA_SAMPLE_S16LE, std::uint32_t(rate), 2};
        pa_buffer_attr attributes;
        attributes.maxlength = std::uint32_t(-1);
        attributes.tlength = std::uint32_t(rate * kLatencyMs / 1000 * 4);
        attributes.prebuf = std::uint32_t(rate * kStartMs / 1000 * 4);
        attributes.minreq = std::uint32_t(-1);
        attributes.fragsize = std::uint32_t(-1);
        int error = 0;
        device_ = pulse_->open(nullptr, "Sonarith", PA_STREAM_PLAYBACK, nullptr, "Tones",
                               &sampleFormat, nullptr, &attributes, &error);
        deviceRate_ = device_ ? rate : 0;
        return device_ != nullptr;
    }

    void closeDevice()
    {
        if (device_) {
            pulse_->free(device_);
            device_ = nullptr;
            deviceRate_ = 0;
        }
    }

    void goSilent()
    {
        closeDevice();
        silent_ = true;
    }

    // The sound server went away in the middle of a write: what the stream still held is not
    // heard, but its time passes as if it were, and the images go on silently in their time.
    void loseDevice(Clock::time_point& deadline)
    {
        std::unique_lock lock(mutex_);
        goSilent();
        lost_ = true;
        sayLost();
        deadline = Clock::now() + lastLatency_;
        const std::function<void()> handler = lossHandler_;
        lock.unlock();
        if (handler)
            handler();
    }

    // Hands frames to the stream, or without a device waits as long as they would sound.
    void write(const std::vector<std::int16_t>& chunk, std::size_t frames, int rate,
               Clock::time_point& deadline)
    {
        if (frames == 0)
            return;
        if (device_) {
            int error = 0;
            if (pulse_->write(device_, chunk.data(), frames * 4, &error) == 0)
                return;
            loseDevice(deadline);
        }
        // Silent, the writer keeps as far ahead of the time the frames stand for as a stream
        // would hold, so that a caller's next image joins on in time.
        deadline += std::chrono::microseconds(std::int64_t(frames) * 1000000 / rate);
        std::this_thread::sleep_until(deadline - std::chrono::milliseconds(kLatencyMs));
    }

    // When the last frame handed to the stream will be heard: the stream's own measure of
    // what it holds and of the server's delay after it.
    Clock::time_point heardEndOfWritten(Clock::time_point deadline)
    {
        if (!device_)
            return deadline;
        int error = 0;
        const pa_usec_t latency = pulse_->latency(device_, &error);
        const Clock::time_point now = Clock::now();
        // Without a measure yet, the stream holds about its target.
        if (latency != pa_usec_t(-1))
            lastLatency_ = std::chrono::microseconds(latency);
        return now + lastLatency_;
    }

    // Puts offset frames of silence into chunk, then up to wanted frames of the sounding image
    // with the levels applied; a looped image wraps around, any other stops at its end.
    // Returns the image's frames taken.
    std::size_t takeChunk(std::vector<std::int16_t>& chunk, std::size_t offset, std::size_t wanted)
    {
        chunk.resize((offset + wanted) * 2);
        std::fill_n(chunk.begin(), 2 * offset, std::int16_t(0));
        const std::uint32_t levels = volume.load();
        const int left = int(levels & 0xffff);
        const int right = int(levels >> 16);
        std::size_t frames = 0;
        while (frames < wanted && position_ < image_->frames()) {
            const std::size_t count = std::min(wanted - frames, image_->frames() - position_);
            std::int16_t* out = chunk.data() + 2 * (offset + frames);
            if (image_->samples.empty()) {
                std::fill_n(out, 2 * count, std::int16_t(0));
            } else {
                const std::int16_t* in = image_->samples.data() + position_ * 2;
                for (std::size_t i = 0; i < count; ++i) {
                    out[2 * i] = std::int16_t(in[2 * i] * left / 65535);
                    out[2 * i + 1] = std::int16_t(in[2 * i + 1] * right / 65535);
                }
            }
            frames += count;
            position_ += count;
            if (position_ == image_->frames() && looped_)
                position_ = 0;
        }
        return frames;
    }

    void run()
    {
        const bool opened = openDevice(96000);
        std::unique_lock lock(mutex_);
        if (!opened)
            goSilent();
        heardEnd_ = Clock::now();  // idle from here
        deviceKnown_ = true;
        done_.notify_all();

        std::vector<std::int16_t> chunk;
        Clock::time_point deadline = Clock::now();
        Clock::time_point lastOpenAttempt = Clock::now();
        const auto hasWork = [&] { return quit_ || image_ || flush_; };
        while (!quit_) {
            if (flush_) {
                flush_ = false;
                if (device_) {
                    lock.unlock();
                    int error = 0;
                    pulse_->flush(device_, &error);
                    lock.lock();
                }
                deadline = Clock::now();  // silent time written ahead is dropped too
                continue;
            }

            if (!image_) {
                // Nothing more to write: the stream plays out what it holds and then waits,
                // which costs nothing; a stream silent for long is closed.
                if (!device_) {
                    wake_.wait(lock, hasWork);
                } else if (!wake_.wait_until(lock, heardEnd_ + kIdleClose, hasWork)) {
                    lock.unlock();
                    closeDevice();
                    lock.lock();
                }
                continue;
            }

            if (image_->silentMs > 0) {
                image_->rate = deviceRate_ ? deviceRate_ : 96000;
                image_->silentFrames =
                    std::size_t(std::int64_t(image_->silentMs) * image_->rate / 1000);
                image_->silentMs = 0;
            }
            const int rate = image_->rate;
            // A sound server that was not there, or went away, may have started since.
            const auto sinceAttempt = Clock::now() - lastOpenAttempt;
            if (silent_ &&
                (sinceAttempt >= kRetryOpen || (leadIn_ && sinceAttempt >= kRetryOpenAtStart))) {
                lastOpenAttempt = Clock::now();
                lock.unlock();
                const bool opened = openDevice(rate);
                lock.lock();
                silent_ = !opened;
                if (opened && std::exchange(lost_, false))
                    sayBack();
                // The new stream starts when the silent images before it would have ended.
                if (opened)
                    wake_.wait_until(lock, heardEnd_, [&] { return quit_ || flush_; });
                continue;
            }
            if (!silent_ && deviceRate_ != rate) {
                // What a stream at another rate still holds is heard out before it closes.
                if (device_ && Clock::now() < heardEnd_ + kDrainMargin) {
                    wake_.wait_until(lock, heardEnd_ + kDrainMargin,
                                     [&] { return quit_ || flush_; });
                    continue;
                }
                lock.unlock();
                const bool opened = openDevice(rate);
                lock.lock();
                if (!opened)
                    goSilent();
                continue;
            }
            if (silent_) {
                if (!lost_)
                    sayNoDevice();
                deadline = std::max(deadline, Clock::now());
            }

            // A stream that has played out all it held starts again on a lead-in of silence
            // and a good part of the image, handed over in one write: the server starts on
            // the first few milliseconds, and what follows them is there already.
            std::size_t silentFrames = 0;
            std::size_t wanted = std::size_t(rate / kChunksPerSecond);
            if (std::exchange(leadIn_, false) && device_ && Clock::now() >= heardEnd_) {
                silentFrames = std::size_t(rate * kStartMs / 1000);
                wanted = std::size_t(rate * kFirstWriteMs / 1000);
            }
            const std::shared_ptr<Image> image = image_;
            const std::uint64_t generation = generation_;
            const bool first = started_ != generation;
            const std::size_t frames = takeChunk(chunk, silentFrames, wanted);
            const bool ended = !looped_ && position_ == image->frames();
            lock.unlock();
            write(chunk, silentFrames + frames, rate, deadline);
            const Clock::time_point heard = ended || first ? heardEndOfWritten(deadline) : deadline;
            lock.lock();
            if (first && generation_ == generation) {
                started_ = generation;
                heardStart_ =
                    heard - std::chrono::microseconds(std::int64_t(frames) * 1000000 / rate);
                done_.notify_all();
            }
            if (ended && image_ == image) {
                image_.reset();
                heardEnd_ = heard;
                finished_ = generation;
                done_.notify_all();
            }
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;  // the writer waits here
    std::condition_variable done_;  // callers wait here
    std::thread writer_;
    bool writerStarted_ = false;
    bool deviceKnown_ = false;
    bool silent_ = false;
    bool lost_ = false;  // silent since the sound server went away
    std::function<void()> lossHandler_;
    bool quit_ = false;
    bool flush_ = false;
    std::shared_ptr<Image> image_;
    std::size_t position_ = 0;
    bool looped_ = false;
    bool leadIn_ = false;  // the image has yet to be checked for a lead-in
    std::uint64_t generation_ = 0;
    std::uint64_t finished_ = 0;
    std::uint64_t started_ = 0;     // the last generation whose first sound was handed over
    Clock::time_point heardStart_;  // when that first sound will be heard
    // When the last sound handed to the stream will have been heard.
    Clock::time_point heardEnd_ = Clock::now();

    // The writer's own.
    const PulseLibrary* pulse_ = nullptr;
    pa_simple* device_ = nullptr;
    int deviceRate_ = 0;
    // The stream's last measure of how long written sound takes to be heard.
    std::chrono::microseconds lastLatency_{std::chrono::milliseconds(kLatencyMs)};
};

SoundOutput::SoundOutput() : stream_(std::make_unique<Stream>()) {}

SoundOutput::~SoundOutput() = default;

SoundOutput& SoundOutput::instance()
{
    static SoundOutput output;
    return output;
}

void SoundOutput::play(QByteArrayView waveImage, Mode mode)
{
    stream_->play(convert(waveImage), mode, std::exchange(heardAction_, {}));
}

void SoundOutput::playSilence(int ms)
{
    if (ms <= 0)
        return;
    auto silence = std::make_shared<Image>();
    silence->silentMs = ms;  // the writer sizes it at the stream's own rate
    stream_->play(std::move(silence), Mode::Synchronous, std::exchange(heardAction_, {}));
}

void SoundOutput::setHeardAction(std::function<void()> action)
{
    heardAction_ = std::move(action);
}

std::function<void()> SoundOutput::takeHeardAction()
{
    return std::exchange(heardAction_, {});
}

void SoundOutput::stop()
{
    stream_->stop();
}

void SoundOutput::drain()
{
    stream_->drain();
}

std::uint32_t SoundOutput::volume() const
{
    return stream_->volume.load();
}

void SoundOutput::setVolume(std::uint32_t word)
{
    stream_->volume.store(word);
}

bool SoundOutput::hasDevice()
{
    return stream_->hasDevice();
}

void SoundOutput::setLossHandler(std::function<void()> handler)
{
    stream_->setLossHandler(std::move(handler));
}
