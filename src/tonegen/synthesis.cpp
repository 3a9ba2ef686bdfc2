#include "tonegen/synthesis.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace synthesis {

namespace {

int sample16(const std::uint8_t* p)
{
    return std::int16_t(std::uint16_t(p[0] | (p[1] << 8)));
}

void setSample16(std::uint8_t* p, std::int64_t value)
{
    const auto wrapped = std::uint16_t(value);
    p[0] = std::uint8_t(wrapped & 0xff);
    p[1] = std::uint8_t(wrapped >> 8);
}

// A frame of one sample format: its value is a signed number around silence, read from
// the left sample and written to every sample of the frame.
template <bool SixteenBit, int Channels> struct Frames
{
    static constexpr int kSize = (SixteenBit ? 2 : 1) * Channels;

    static std::int64_t value(const std::uint8_t* frame)
    {
        if constexpr (SixteenBit)
            return sample16(frame);
        else
            return std::int64_t(frame[0]) - 128;
    }

    static void setValue(std::uint8_t* frame, std::int64_t value)
    {
        if constexpr (SixteenBit) {
            setSample16(frame, value);
            if constexpr (Channels == 2) {
                frame[2] = frame[0];
                frame[3] = frame[1];
            }
        } else {
            frame[0] = std::uint8_t(value + 128);
            if constexpr (Channels == 2)
                frame[1] = frame[0];
        }
    }
};

// Runs body with the Frames type of the format.
template <typename Body> void withFrames(const SampleFormat& format, Body&& body)
{
    if (format.sixteenBit) {
        if (format.channels == 2)
            body(Frames<true, 2>{});
        else
            body(Frames<true, 1>{});
    } else {
        if (format.channels == 2)
            body(Frames<false, 2>{});
        else
            body(Frames<false, 1>{});
    }
}

// What adding a wave value v does to a sample: 16-bit adds trunc(v); 8-bit adds
// trunc(v + 128) - 128, which rounds a negative fraction down.
std::int64_t addend(double v, bool sixteenBit)
{
    return sixteenBit ? std::int64_t(std::trunc(v)) : std::int64_t(std::trunc(v + 128)) - 128;
}

// Adds per-frame addends into consecutive frames: one sample in 16-bit or 8-bit, copied to
// the right channel in stereo.
void addRun(std::uint8_t* data, const std::int64_t* addends, std::int64_t count,
            const SampleFormat& format)
{
    if (format.sixteenBit) {
        if (format.channels == 1) {
            for (std::int64_t i = 0; i < count; ++i, data += 2)
                setSample16(data, sample16(data) + addends[i]);
        } else {
            for (std::int64_t i = 0; i < count; ++i, data += 4) {
                setSample16(data, sample16(data) + addends[i]);
                data[2] = data[0];
                data[3] = data[1];
            }
        }
    } else {
        const int step = format.channels;
        for (std::int64_t i = 0; i < count; ++i, data += step) {
            data[0] = std::uint8_t(data[0] + addends[i]);
            data[step - 1] = data[0];
        }
    }
}

// The addends of one periodic layer by position within the cycle. Every periodic wave
// restarts at each cycle start, so a position's value is the same in every cycle; it is
// computed once, with the running value stepped exactly as sample by sample.
class CycleTable
{
public:
    CycleTable(const Layer& layer, double span, double low, std::int64_t half,
               std::int64_t firstCycle, bool sixteenBit)
        : wave_(layer.wave), span_(span), low_(low), half_(half), sixteenBit_(sixteenBit), acc_(low)
    {
        switch (wave_) {
        case tgSine:
            w_ = 2 * std::numbers::pi / double(firstCycle);
            break;
        case tgTriangle:
            step_ = span / double(half);
            break;
        case tgSawtooth:
            step_ = span / double(firstCycle);
            break;
        default:
            break;
        }
        extend(firstCycle + 1);
    }

    const std::int64_t* values(std::int64_t count)
    {
        extend(count);
        return values_.data();
    }

private:
    void extend(std::int64_t count)
    {
        while (std::int64_t(values_.size()) < count)
            values_.push_back(addend(valueAt(std::int64_t(values_.size())), sixteenBit_));
    }

    double valueAt(std::int64_t s)
    {
        switch (wave_) {
        case tgSine:
            return std::trunc(std::sin(double(s) * w_) / 2 * span_);
        case tgSquare:
            return s < half_ ? low_ : span_ / 2;
        case tgTriangle: {
            const double v = std::trunc(acc_);
            if (s < half_) {
                acc_ += step_;
            } else {
                acc_ -= step_;
                if (acc_ < low_)
                    acc_ = low_;
            }
            return v;
        }
        case tgSawtooth: {
            const double v = std::trunc(acc_);
            acc_ += step_;
            return v;
        }
        default:
            return 0;
        }
    }

    TTGWave wave_;
    double span_;
    double low_;
    std::int64_t half_;
    bool sixteenBit_;
    double acc_;
    double w_ = 0;
    double step_ = 0;
    std::vector<std::int64_t> values_;
};

}  // namespace

SampleFormat SampleFormat::of(TTGResolution resolution, TTGQuality quality, bool stereo)
{
    return {resolution == tg16Bit, quality == tgHiQ ? 96000 : 44100, stereo ? 2 : 1};
}

std::int64_t dataLength(const SampleFormat& format, std::int64_t durationMs)
{
    std::int64_t length =
        std::int64_t(format.bytesPerSample()) * durationMs * (format.rate / 100) / 10;
    if (format.channels == 2)
        length *= 2;
    return length - length % format.frameSize();
}

CycleLengths::CycleLengths(double samplesPerCycle)
    : period_(samplesPerCycle), first_(std::int64_t(std::trunc(samplesPerCycle)))
{}

std::int64_t CycleLengths::next()
{
    ++cycle_;
    const double c = double(cycle_);
    return std::int64_t(std::trunc(c * period_ - std::trunc((c - 1) * period_)));
}

std::array<Layer, 1 + kAMLayerCount> layerTable(int frequency, TTGWave wave, const AMTable& am)
{
    // A frequency of the layer table in whole hertz; a value that is not a number counts as 0.
    const auto wholeHertz = [](double value) {
        const double whole = std::trunc(value);
        return std::isnan(whole) ? 0.0 : whole;
    };
    std::int64_t amSum = 0;
    for (int i = 0; i < kAMLayerCount; ++i)
        amSum += am.amplitudes[i];

    std::array<Layer, 1 + kAMLayerCount> layers;
    layers[0] = {100 - amSum, double(frequency), wave};
    for (int i = 0; i < kAMLayerCount; ++i) {
        std::int64_t level = am.amplitudes[i];
        if (amSum > 100)
            level = level * 100 / amSum;
        const double hertz =
            am.useMultiplier ? std::clamp(wholeHertz(double(frequency) * double(am.frequencies[i])),
                                          20.0, 20000.0)
                             : wholeHertz(double(am.frequencies[i]));
        layers[std::size_t(i) + 1] = {level, hertz, am.waves[i]};
    }
    return layers;
}

void addLayer(std::uint8_t* data, std::int64_t frames, const SampleFormat& format,
              const Layer& layer, NoiseSequence& noise)
{
    if (layer.level <= 0 || !(layer.frequency > 0))
        return;
    const double period = double(format.rate) / layer.frequency;
    if (!(period >= 2.0))
        return;

    const std::int64_t peak = format.peak();
    const double span = double(2 * peak * layer.level) / 100;
    const double low = double(-peak * layer.level) / 100;
    if (layer.wave == tgNoise) {
        const auto range = std::uint32_t(std::int64_t(std::trunc(span + 1)));
        withFrames(format, [&](auto frame) {
            using F = decltype(frame);
            std::uint8_t* at = data;
            for (std::int64_t i = 0; i < frames; ++i, at += F::kSize) {
                const double v = double(noise.draw(range)) + low;
                F::setValue(at, F::value(at) + addend(v, format.sixteenBit));
            }
        });
        return;
    }

    const std::int64_t half = std::int64_t(std::trunc(period + 0.5)) / 2;
    CycleLengths cycles(period);
    CycleTable table(layer, span, low, half, cycles.first(), format.sixteenBit);
    std::int64_t cycle = cycles.first();
    for (std::int64_t frame = 0; frame < frames;) {
        const std::int64_t run = std::min(cycle, frames - frame);
        addRun(data + frame * format.frameSize(), table.values(run), run, format);
        frame += run;
        cycle = cycles.next();
    }
}

namespace {

template <typename F> void envelope(std::uint8_t* data, std::int64_t length, const Envelope& shares)
{
    std::int64_t a = shares.attack;
    std::int64_t hold = shares.hold;
    std::int64_t d = shares.decay;
    const std::int64_t s = shares.sustain;
    std::int64_t r = shares.release;
    const std::int64_t total = a + hold + d + r;
    if (total > 100) {
        a = a * 100 / total;
        hold = hold * 100 / total;
        d = d * 100 / total;
        r = 100 - a - hold - d;
    }
    const std::int64_t sustainShare = 100 - a - hold - d - r;
    const double level = double(s) / 100.0;

    const std::int64_t frames = length / F::kSize;
    const auto framesOf = [&](std::int64_t share) { return share * length / (F::kSize * 100); };

    // Each segment covers frames pos .. pos + f, so that it ends on its target level.
    std::int64_t pos = 0;
    const auto segment = [&](std::int64_t f, auto shape) {
        const std::int64_t end = std::min(pos + f + 1, frames);
        std::uint8_t* frame = data + pos * F::kSize;
        for (std::int64_t k = 0; pos + k < end; ++k, frame += F::kSize)
            F::setValue(frame, shape(k, F::value(frame)));
        pos += f + 1;
    };

    if (const std::int64_t f = framesOf(a); f != 0) {
        const double factor = 1.0 / double(f);
        segment(f, [&](std::int64_t k, std::int64_t x) {
            return std::int64_t(std::trunc(double(k * x) * factor));
        });
    }
    if (const std::int64_t f = framesOf(hold); f != 0)
        pos += f + 1;
    if (const std::int64_t f = framesOf(d); f != 0) {
        const double factor = double(100 - s) / double(f) / 100;
        segment(f, [&](std::int64_t k, std::int64_t x) {
            return x - std::int64_t(std::trunc(double(k * x) * factor));
        });
    }
    if (sustainShare != 0) {
        const std::int64_t f = r == 0 ? frames - pos : framesOf(sustainShare);
        segment(f, [&](std::int64_t, std::int64_t x) {
            return std::int64_t(std::trunc(double(x) * level));
        });
    }
    if (r != 0) {
        if (const std::int64_t f = frames - pos; f > 0) {
            const double factor = level / double(f);
            segment(f, [&](std::int64_t k, std::int64_t x) {
                return std::int64_t(std::trunc(double((f - k) * x) * factor));
            });
        }
    }
}

}  // namespace

void ApplyEnvelope(std::uint8_t* data, std::int64_t length, const SampleFormat& format,
                   const Envelope& shares)
{
    withFrames(format, [&](auto frame) { envelope<decltype(frame)>(data, length, shares); });
}

}  // namespace synthesis
