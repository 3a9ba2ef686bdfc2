#pragma once

#include "console/consolesettings.h"
#include "tonegen/synthesis.h"
#include "tonegen/wavetypes.h"

#include <array>

class TToneGen;

// How the console's slot generators sound, shared by the window and the command line.
namespace slotsound {

// A slot's generator as the console has it: one second long, played synchronously, with
// every AM layer silent (layer 0 a sawtooth).
void configureSlotGenerator(TToneGen& generator);

// The envelope percentages the sliders stand for (a slider's value is 100 minus its
// position); attack, hold, decay and release are scaled down to share 100 when they ask
// for more.
using Shares = synthesis::Envelope;
Shares sharesOf(const std::array<int, ConsoleSettings::SliderCount>& positions);
void applyShares(TToneGen& generator, const Shares& shares);

// Seconds as whole milliseconds, rounded half away from zero.
int milliseconds(double seconds);

// The waveform of an item of the wave form choice: sine, square, triangle, sawtooth, and
// noise for any other item.
TTGWave waveOfItem(int item);

// A slot's generator as the console sets it up for these settings: its frequency, the
// duration, the chosen wave form (none chosen keeps the generator's) and the envelope.
void setUpSlot(TToneGen& generator, int slot, const ConsoleSettings& settings);

}  // namespace slotsound
