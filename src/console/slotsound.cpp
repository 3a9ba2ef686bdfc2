#include "console/slotsound.h"

#include "tonegen/tonegen.h"

#include <cmath>
#include <limits>

namespace slotsound {

void configureSlotGenerator(TToneGen& generator)
{
    generator.SetDuration(1000);
    generator.SetAsync(false);
    generator.SetAMParameter(tgAMLevel1, 0, 0.5f, tgSawtooth);
}

Shares sharesOf(const std::array<int, ConsoleSettings::SliderCount>& positions)
{
    Shares s{100 - positions[ConsoleSettings::Attack], 100 - positions[ConsoleSettings::Hold],
             100 - positions[ConsoleSettings::Decay], 100 - positions[ConsoleSettings::Sustain],
             100 - positions[ConsoleSettings::Release]};
    const int total = s.attack + s.decay + s.release + s.hold;
    if (total > 100) {
        s.attack = s.attack * 100 / total;
        s.decay = s.decay * 100 / total;
        s.release = s.release * 100 / total;
        s.hold = s.hold * 100 / total;
    }
    return s;
}

void applyShares(TToneGen& generator, const Shares& shares)
{
    generator.SetAttack(shares.attack);
    generator.SetHold(shares.hold);
    generator.SetDecay(shares.decay);
    generator.SetSustain(shares.sustain);
    generator.SetRelease(shares.release);
}

int milliseconds(double seconds)
{
    const double ms = std::round(seconds * 1000);
    if (!(ms > std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (!(ms < std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return int(ms);
}

TTGWave waveOfItem(int item)
{
    const std::array<TTGWave, 4> waves{tgSine, tgSquare, tgTriangle, tgSawtooth};
    return item >= 0 && item < 4 ? waves[std::size_t(item)] : tgNoise;
}

void setUpSlot(TToneGen& generator, int slot, const ConsoleSettings& settings)
{
    configureSlotGenerator(generator);
    generator.SetFrequency(settings.frequencies[std::size_t(slot)]);
    generator.SetDuration(milliseconds(settings.durationSeconds));
    if (settings.waveItem >= 0)
        generator.SetWaveform(waveOfItem(settings.waveItem));
    applyShares(generator, sharesOf(settings.sliders));
}

}  // namespace slotsound
