#pragma once

#include <QString>

// A note name ("A", "C#", "O5A", "<G", "N48", ...) as a frequency in whole hertz. octave
// brings the octave to use when the text names none (one outside 0..9 counts as the nearest)
// and receives the octave the text arrived at (for a usable text). The result is 0 for an
// unusable text and for a note outside 20..20000 Hz.
int NoteToFrequency(const QString& text, int& octave);
