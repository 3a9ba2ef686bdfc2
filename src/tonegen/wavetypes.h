#pragma once

#include <cstdint>

// One byte each, in this order from 0.
enum TTGWave : std::uint8_t { tgSine, tgSquare, tgTriangle, tgSawtooth, tgNoise };
enum TTGResolution : std::uint8_t { tg16Bit, tg8Bit };
enum TTGQuality : std::uint8_t { tgHiQ, tgLoQ };
enum TTGAMLevel : std::uint8_t {
    tgAMLevel1,
    tgAMLevel2,
    tgAMLevel3,
    tgAMLevel4,
    tgAMLevel5,
    tgAMLevel6,
    tgAMLevel7,
    tgAMLevel8
};

inline constexpr int kAMLayerCount = 8;
