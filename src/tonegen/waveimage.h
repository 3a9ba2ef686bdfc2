#pragma once

#include "tonegen/synthesis.h"

#include <cstdint>

// The in-memory image of a tone: the canonical 44-byte WAVE header, the sample data and 32
// bytes of padding after it.
namespace waveimage {

inline constexpr int kHeaderSize = 44;
inline constexpr int kPaddingSize = 32;

// Writes the header for dataLength bytes of sample data into the first 44 bytes of image.
void writeHeader(std::uint8_t* image, const synthesis::SampleFormat& format,
                 std::uint32_t dataLength);

// What a header says; valid is false when the bytes are not a header of this kind.
struct HeaderInfo
{
    bool valid = false;
    int channels = 0;
    int rate = 0;
    int bits = 0;
    std::uint32_t dataLength = 0;
};
HeaderInfo readHeader(const std::uint8_t* image, std::int64_t size);

}  // namespace waveimage
