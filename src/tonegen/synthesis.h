#pragma once

#include "tonegen/wavetypes.h"

#include <array>
#include <cstdint>

// The arithmetic of a sound image: sample format, data length, the layers of a tone and the
// envelope. The order of operations and the truncations decide every sample value.
namespace synthesis {

struct SampleFormat
{
    bool sixteenBit = true;
    int rate = 96000;
    int channels = 1;

    static SampleFormat of(TTGResolution resolution, TTGQuality quality, bool stereo);

    int bytesPerSample() const { return sixteenBit ? 2 : 1; }
    int frameSize() const { return bytesPerSample() * channels; }
    int peak() const { return sixteenBit ? 32767 : 127; }
    std::uint8_t silence() const { return sixteenBit ? 0 : 128; }
};

// Bytes of sample data for a duration; a final partial frame (16-bit at 44,100 per second
// can ask for an odd count) is left out, so the data holds whole frames only.
std::int64_t dataLength(const SampleFormat& format, std::int64_t durationMs);

// The noise sequence of one build, shared by its layers in order.
class NoiseSequence
{
public:
    // A value in 0 .. range - 1.
    std::uint32_t draw(std::uint32_t range)
    {
        state_ = state_ * 134775813u + 1u;
        return std::uint32_t((std::uint64_t(range) * state_) >> 32);
    }

private:
    std::uint32_t state_ = 1;
};

// Whole-sample cycle lengths that keep the mean frequency exact: cycle c ends at sample
// trunc(c × P).
class CycleLengths
{
public:
    explicit CycleLengths(double samplesPerCycle);
    std::int64_t first() const { return first_; }
    std::int64_t next();

private:
    double period_;
    std::int64_t first_;
    std::int64_t cycle_ = 1;
};

struct Layer
{
    std::int64_t level = 0;  // percent of the peak value
    double frequency = 0;    // hertz, whole
    TTGWave wave = tgSine;
};

// The main tone and the eight AM layers: the main tone gets the level the layers leave, and
// layers asking for more than 100 % together are scaled down to share it.
struct AMTable
{
    const std::int16_t* amplitudes;
    const TTGWave* waves;
    const float* frequencies;  // multipliers of the main frequency, or hertz
    bool useMultiplier;
};
std::array<Layer, 1 + kAMLayerCount> layerTable(int frequency, TTGWave wave, const AMTable& am);

// Adds one layer's samples into the data (frames whole frames). A layer with no level or
// frequency, or with cycles shorter than two samples, adds nothing.
void addLayer(std::uint8_t* data, std::int64_t frames, const SampleFormat& format,
              const Layer& layer, NoiseSequence& noise);

struct Envelope
{
    int attack = 0;
    int hold = 0;
    int decay = 0;
    int sustain = 0;
    int release = 0;
};

// Shapes length bytes of sample data with the attack, hold, decay, sustain and release.
void ApplyEnvelope(std::uint8_t* data, std::int64_t length, const SampleFormat& format,
                   const Envelope& envelope);

}  // namespace synthesis
