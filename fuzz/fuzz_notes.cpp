// A note name as the console's frequency fields, the AM layer fields and "sonarith-cli note"
// take it, from any octave the caller may hold.
#include "fuzzcheck.h"
#include "tonegen/notes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    // The first byte is the octave the caller brings: 0..9 as the program keeps it, or any
    // other value.
    const int start = data[0] < 200 ? data[0] % 10 : int(std::int8_t(data[0])) * 16000000;
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    int octave = start;
    const int frequency = NoteToFrequency(text, octave);
    fuzz::require(frequency == 0 || (frequency >= 20 && frequency <= 20000),
                  "frequency outside 20..20000 Hz", text);
    fuzz::require(octave == start || (octave >= 0 && octave <= 9), "octave outside 0..9", text);
    return 0;
}
