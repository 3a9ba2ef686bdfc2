#include "tonegen/soundoutput.h"

#include "tonegen/waveimage.h"

#include <dlfcn.h>
#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// The writer hands the stream 5 ms at a time and keeps about 60 ms queued: a stop flushes
// what is queued, and an image played right after another has most of that time to arrive
// before the stream would need silence.
constexpr int kChunksPerSecond = 200;
constexpr int kLatencyMs = 60;
// When an image has gone into the stream, the writer waits this long for the next one
// before it writes silence, which it then writes in pieces of kSilenceMs.
constexpr int kFollowMs = 45;
constexpr int kSilenceMs = 10;
// A stream just opened gets this much silence first: while it settles in, the first
// milliseconds it carries may not all be heard.
constexpr int kSettleMs = 100;
// A stream left silent this long is closed; the next play opens it again.
constexpr auto kIdleClose = std::chrono::seconds(3);
// Without a sound server, an image tries to open a stream again at most this often.
constexpr auto kRetryOpen = std::chrono::seconds(5);

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
    decltype(&pa_simple_drain) drain = nullptr;
    decltype(&pa_simple_flush) flush = nullptr;

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
            l.drain =
                reinterpret_cast<decltype(&pa_simple_drain)>(dlsym(handle, "pa_simple_drain"));
            l.flush =
                reinterpret_cast<decltype(&pa_simple_flush)>(dlsym(handle, "pa_simple_flush"));
            if (!l.open || !l.free || !l.write || !l.drain || !l.flush)
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

    void play(std::shared_ptr<Image> image, Mode mode)
    {
        std::unique_lock lock(mutex_);
        startWriter(lock);
        cutOff();
        const std::uint64_t generation = ++generation_;
        done_.notify_all();  // a synchronous play still waiting has been cut off
        if (!image || (image->frames() == 0 && image->silentMs == 0))
            return;
        image_ = std::move(image);
        position_ = 0;
        looped_ = mode == Mode::Looped;
        wake_.notify_all();
        if (mode == Mode::Synchronous)
            done_.wait(lock, [&] {
                return finished_ >= generation || generation_ != generation || quit_;
            });
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
        const std::uint64_t request = ++drainRequests_;
        wake_.notify_all();
        done_.wait(lock, [&] { return drainsDone_ >= request || quit_; });
    }

    bool hasDevice()
    {
        std::unique_lock lock(mutex_);
        startWriter(lock);
        return !silent_;
    }

    std::atomic<std::uint32_t> volume{0xffffffffu};

private:
    // Drops the sounding image, and what of it the stream still holds.
    void cutOff()
    {
        if (image_) {
            image_.reset();
            flush_ = true;
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
        if (device_) {
            int error = 0;
            pulse_->drain(device_, &error);
        }
        closeDevice();
        pulse_ = PulseLibrary::get();
        if (!pulse_)
            return false;
        const pa_sample_spec sampleFormat{PA_SAMPLE_S16LE, std::uint32_t(rate), 2};
        pa_buffer_attr attributes;
        attributes.maxlength = std::uint32_t(-1);
        attributes.tlength = std::uint32_t(rate * kLatencyMs / 1000 * 4);
        attributes.prebuf = std::uint32_t(-1);
        attributes.minreq = std::uint32_t(-1);
        attributes.fragsize = std::uint32_t(-1);
        int error = 0;
        device_ = pulse_->open(nullptr, "Sonarith", PA_STREAM_PLAYBACK, nullptr, "Tones",
                               &sampleFormat, nullptr, &attributes, &error);
        deviceRate_ = device_ ? rate : 0;
        settleFrames_ = device_ ? std::size_t(rate * kSettleMs / 1000) : 0;
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

    // Hands frames to the stream, or without a device waits as long as they would sound.
    void write(const std::vector<std::int16_t>& chunk, std::size_t frames, int rate,
               Clock::time_point& deadline)
    {
        if (device_) {
            int error = 0;
            if (pulse_->write(device_, chunk.data(), frames * 4, &error) == 0)
                return;
            std::lock_guard lock(mutex_);
            goSilent();
            deadline = Clock::now();
        }
        deadline += std::chrono::microseconds(std::int64_t(frames) * 1000000 / rate);
        std::this_thread::sleep_until(deadline);
    }

    // Takes up to one chunk of the sounding image, with the levels applied; a looped image
    // wraps around. Marks a non-looped image finished once its last frame is taken.
    std::size_t takeChunk(std::vector<std::int16_t>& chunk)
    {
        const std::size_t wanted = std::size_t(image_->rate / kChunksPerSecond);
        chunk.resize(wanted * 2);
        const std::uint32_t levels = volume.load();
        const int left = int(levels & 0xffff);
        const int right = int(levels >> 16);
        std::size_t frames = 0;
        while (image_ && frames < wanted) {
            const std::size_t count = std::min(wanted - frames, image_->frames() - position_);
            if (image_->samples.empty()) {
                std::fill_n(chunk.begin() + std::ptrdiff_t(2 * frames), 2 * count, std::int16_t(0));
                frames += count;
            } else {
                const std::int16_t* in = image_->samples.data() + position_ * 2;
                for (std::size_t i = 0; i < count; ++i, ++frames) {
                    chunk[2 * frames] = std::int16_t(in[2 * i] * left / 65535);
                    chunk[2 * frames + 1] = std::int16_t(in[2 * i + 1] * right / 65535);
                }
            }
            position_ += count;
            if (position_ == image_->frames()) {
                position_ = 0;
                if (!looped_) {
                    image_.reset();
                    finished_ = generation_;
                    done_.notify_all();
                }
            }
        }
        return frames;
    }

    void run()
    {
        const bool opened = openDevice(96000);
        std::unique_lock lock(mutex_);
        if (!opened)
            goSilent();
        deviceKnown_ = true;
        done_.notify_all();

        std::vector<std::int16_t> chunk;
        Clock::time_point deadline = Clock::now();
        Clock::time_point idleSince = Clock::now();
        Clock::time_point lastOpenAttempt = Clock::now();
        bool idle = true;
        bool silenceWritten = false;
        const auto hasWork = [&] {
            return quit_ || image_ || flush_ || drainsDone_ < drainRequests_;
        };
        while (!quit_) {
            if (flush_) {
                flush_ = false;
                if (device_) {
                    lock.unlock();
                    int error = 0;
                    pulse_->flush(device_, &error);
                    lock.lock();
                }
                continue;
            }
            if (drainsDone_ < drainRequests_) {
                const std::uint64_t request = drainRequests_;
                if (device_) {
                    lock.unlock();
                    int error = 0;
                    pulse_->drain(device_, &error);
                    lock.lock();
                }
                drainsDone_ = request;
                done_.notify_all();
                continue;
            }

            if (!image_) {
                if (!idle) {
                    idle = true;
                    idleSince = Clock::now();
                }
                if (!device_ || Clock::now() - idleSince >= kIdleClose) {
                    if (device_) {
                        lock.unlock();
                        closeDevice();
                        lock.lock();
                    }
                    wake_.wait(lock, hasWork);
                    continue;
                }
                // The stream still holds most of kLatencyMs of sound: an image following
                // within kFollowMs joins on without silence between.
                const auto wait = silenceWritten ? kSilenceMs : kFollowMs;
                if (wake_.wait_for(lock, std::chrono::milliseconds(wait), hasWork))
                    continue;
                silenceWritten = true;
                const int rate = deviceRate_;
                const auto frames = std::size_t(rate * kSilenceMs / 1000);
                chunk.assign(frames * 2, 0);
                lock.unlock();
                write(chunk, frames, rate, deadline);
                lock.lock();
                continue;
            }

            if (image_->silentMs > 0) {
                image_->rate = deviceRate_ ? deviceRate_ : 96000;
                image_->silentFrames =
                    std::size_t(std::int64_t(image_->silentMs) * image_->rate / 1000);
                image_->silentMs = 0;
            }
            const int rate = image_->rate;
            // A sound server that was not there may have started since.
            if (silent_ && Clock::now() - lastOpenAttempt >= kRetryOpen) {
                lastOpenAttempt = Clock::now();
                lock.unlock();
                const bool opened = openDevice(rate);
                lock.lock();
                silent_ = !opened;
                continue;
            }
            if (!silent_ && deviceRate_ != rate) {
                lock.unlock();
                const bool opened = openDevice(rate);
                lock.lock();
                if (!opened)
                    goSilent();
                continue;
            }
            if (settleFrames_ > 0) {
                const auto frames =
                    std::min<std::size_t>(settleFrames_, std::size_t(rate * kSilenceMs / 1000));
                settleFrames_ -= frames;
                chunk.assign(frames * 2, 0);
                lock.unlock();
                write(chunk, frames, rate, deadline);
                lock.lock();
                continue;
            }
            if (idle) {
                idle = false;
                deadline = Clock::now();
            }
            if (silent_)
                sayNoDevice();
            silenceWritten = false;
            const std::size_t frames = takeChunk(chunk);
            lock.unlock();
            write(chunk, frames, rate, deadline);
            lock.lock();
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;  // the writer waits here
    std::condition_variable done_;  // callers wait here
    std::thread writer_;
    bool writerStarted_ = false;
    bool deviceKnown_ = false;
    bool silent_ = false;
    bool quit_ = false;
    bool flush_ = false;
    std::shared_ptr<Image> image_;
    std::size_t position_ = 0;
    bool looped_ = false;
    std::uint64_t generation_ = 0;
    std::uint64_t finished_ = 0;
    std::uint64_t drainRequests_ = 0;
    std::uint64_t drainsDone_ = 0;

    // The writer's own.
    const PulseLibrary* pulse_ = nullptr;
    pa_simple* device_ = nullptr;
    int deviceRate_ = 0;
    std::size_t settleFrames_ = 0;
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
    stream_->play(convert(waveImage), mode);
}

void SoundOutput::playSilence(int ms)
{
    if (ms <= 0)
        return;
    auto silence = std::make_shared<Image>();
    silence->silentMs = ms;  // the writer sizes it at the stream's own rate
    stream_->play(std::move(silence), Mode::Synchronous);
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
