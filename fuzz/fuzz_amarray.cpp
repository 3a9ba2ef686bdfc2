// The AM layer table in its stored form ("AMArrayData", 100 bytes as written) as a
// generator reads it from any bytes, and the tone built with the table read.
#include "fuzzcheck.h"
#include "tonegen/tonegen.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static TToneGen generator;
    generator.ResetAM();
    // The shortest tone at the lower rate keeps one build short; the table is what varies.
    generator.SetDuration(10);
    generator.SetQuality(tgLoQ);
    generator.SetStereo(size % 2 == 1);
    generator.SetResolution(size % 4 >= 2 ? tg8Bit : tg16Bit);
    generator.SetAMUseMultiplier(size % 8 < 4);

    const QByteArray bytes = fuzz::bytesOf(data, size);
    generator.ReadAMArray(bytes);

    // What was read is written back in the same form, layer for layer.
    const QByteArray written = generator.WriteAMArray();
    fuzz::require(written.size() == 100, "the written table is not 100 bytes");
    generator.ReadAMArray(written);
    fuzz::require(generator.WriteAMArray() == written, "the written table reads differently");

    fuzz::require(generator.PrepareADSR(), "no image for the table read");
    const QByteArrayView image = generator.GetDataBuffer();
    fuzz::require(image.size() == generator.ImageSize() && image.startsWith("RIFF"),
                  "the image is no WAVE image");
    return 0;
}
