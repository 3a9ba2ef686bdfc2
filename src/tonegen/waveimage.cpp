#include "tonegen/waveimage.h"

#include <cstring>

namespace waveimage {

namespace {

void put16(std::uint8_t* p, std::uint32_t v)
{
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}

void put32(std::uint8_t* p, std::uint32_t v)
{
    put16(p, v & 0xffff);
    put16(p + 2, v >> 16);
}

std::uint32_t get16(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8;
}

std::uint32_t get32(const std::uint8_t* p)
{
    return get16(p) | get16(p + 2) << 16;
}

}  // namespace

void writeHeader(std::uint8_t* image, const synthesis::SampleFormat& format,
                 std::uint32_t dataLength)
{
    const auto channels = std::uint32_t(format.channels);
    const auto bits = std::uint32_t(format.bytesPerSample() * 8);
    std::memcpy(image, "RIFF", 4);
    put32(image + 4, dataLength + 36);
    std::memcpy(image + 8, "WAVEfmt ", 8);
    put32(image + 16, 16);
    put16(image + 20, 1);
    put16(image + 22, channels);
    put32(image + 24, std::uint32_t(format.rate));
    put32(image + 28, channels * std::uint32_t(format.rate) * (bits / 8));
    put16(image + 32, (bits / 8) * channels);
    put16(image + 34, bits);
    std::memcpy(image + 36, "data", 4);
    put32(image + 40, dataLength);
}

HeaderInfo readHeader(const std::uint8_t* image, std::int64_t size)
{
    HeaderInfo info;
    if (!image || size < kHeaderSize || std::memcmp(image, "RIFF", 4) != 0 ||
        std::memcmp(image + 8, "WAVEfmt ", 8) != 0 || std::memcmp(image + 36, "data", 4) != 0 ||
        get16(image + 20) != 1)
        return info;
    info.channels = int(get16(image + 22));
    info.rate = int(get32(image + 24));
    info.bits = int(get16(image + 34));
    info.dataLength = get32(image + 40);
    info.valid = (info.channels == 1 || info.channels == 2) &&
                 (info.bits == 8 || info.bits == 16) && info.rate > 0;
    return info;
}

}  // namespace waveimage
