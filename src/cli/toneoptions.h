#pragma once

#include "tonegen/wavetypes.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

// The values of the tone command's options that hold more than one number.
namespace cli {

// A wave as --wave and --am name it: sine, square, triangle, sawtooth or noise, in any case.
std::optional<TTGWave> waveNamed(const QString& name);

// Whole numbers beyond int reach the generator's setters as the nearest int, which they
// clamp like any other out-of-range value.
int asInt(qlonglong value);

struct AMLayerOption
{
    int layer = 0;
    std::int16_t amplitude = 0;
    float frequency = 0;
    TTGWave wave = tgSine;
};

// --am LAYER:AMPLITUDE:FREQUENCY:WAVE: a layer 0..7, an amplitude within 16 bits, a number
// and a wave's name; none for any other text.
std::optional<AMLayerOption> amLayer(const QString& text);

// --envelope A,H,D,S,R: five whole numbers; none for any other text.
std::optional<std::array<int, 5>> envelopeShares(const QString& text);

}  // namespace cli
