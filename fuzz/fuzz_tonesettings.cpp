// A tone-settings file as the console opens it: its lines, the settings they hold, the slot
// generators set up from them, and the file the console would save from those settings.
#include "console/slotsound.h"
#include "console/tonesettings.h"
#include "fuzzcheck.h"
#include "tonegen/tonegen.h"

#include <array>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QStringList lines = tonesettings::readLines(fuzz::bytesOf(data, size));
    fuzz::require(lines.size() == tonesettings::kLineCount, "not 24 lines");
    for (const QString& line : lines)
        fuzz::require(!line.contains(u'\r') && !line.contains(QChar(0x1a)),
                      "a line holds a line end or Ctrl-Z", line);

    QString error;
    const std::optional<ConsoleSettings> settings = tonesettings::settingsOf(lines, &error);
    if (!settings) {
        fuzz::require(error == tonesettings::notAFloat(lines[tonesettings::Duration - 1]),
                      "refused without the duration's message", error);
        return 0;
    }

    // Applied to the console's slot generators as opening the file applies it.
    // They live as long as the process: the sound output they stop when destroyed goes first.
    static auto* const generators = new std::array<TToneGen, 10>;
    for (std::size_t i = 0; i < generators->size(); ++i) {
        TToneGen& slot = (*generators)[i];
        slotsound::setUpSlot(slot, int(i), *settings);
        fuzz::require(slot.Frequency() >= 20 && slot.Frequency() <= 20000, "frequency range");
        fuzz::require(slot.Duration() >= 10 && slot.Duration() <= 32767, "duration range");
        fuzz::require(slot.Waveform() <= tgNoise, "wave form");
        for (const int share :
             {slot.Attack(), slot.Hold(), slot.Decay(), slot.Sustain(), slot.Release()})
            fuzz::require(share >= 0 && share <= 100, "envelope share range");
    }

    // Saved and opened again, the settings stay what they are.
    const QStringList saved = tonesettings::linesOf(*settings);
    const QStringList reread = tonesettings::readLines(tonesettings::fileBytes(saved));
    const std::optional<ConsoleSettings> again = tonesettings::settingsOf(reread, &error);
    fuzz::require(again.has_value(), "saved settings do not open", error);
    fuzz::require(tonesettings::linesOf(*again) == saved, "saved settings open differently",
                  saved.join(u'|') + QStringLiteral(" -> ") +
                      tonesettings::linesOf(*again).join(u'|'));
    return 0;
}
