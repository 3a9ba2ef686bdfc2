#pragma once

#include "console/consolesettings.h"

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <optional>

// The tone-settings file ("*.tns"): 24 lines of text, each ended by CR LF, one value a line.
namespace tonesettings {

inline constexpr int kLineCount = 24;
enum Line {
    Constant = 1,
    DataText,
    NumerologyText,
    Method,
    FirstFrequency,  // slots 0..9 on lines 5..14
    Duration = 15,
    FirstSlider,  // Attack, Hold, Decay, Sustain, Release on lines 16..20
    WaveItem = 21,
    Octave,
    Loop,
    SpaceAsZero
};

// The lines of a file as the reader sees them: a line ends at a carriage return (a line feed
// right after it is skipped; one alone ends nothing) and Ctrl-Z ends the text. Text that is
// not valid UTF-8 is read as Latin-1. Lines past the 24th are dropped; missing ones are
// empty.
QStringList readLines(const QByteArray& bytes);
// The file's bytes: UTF-8, every line ended by CR LF.
QByteArray fileBytes(const QStringList& lines);

// A line read as a whole number; 0 when it is not one.
int wholeNumber(const QString& line);
// The duration line in seconds: blanks around it are ignored, and both "." and "," are
// taken as the decimal separator, so a file written under one locale reads under another.
std::optional<double> seconds(const QString& line);
// The message for a duration line that is not a number.
QString notAFloat(const QString& line);
// The duration as the duration field shows it: three decimals, the locale's separator.
QString durationText(double seconds, const QLocale& locale = QLocale());

// The 24 lines that hold the settings.
QStringList linesOf(const ConsoleSettings& settings, const QLocale& locale = QLocale());
// The settings the lines hold, read as loading a file reads them (missing whole-number lines
// count as 0); none, with the message in error, when the duration line is not a number.
std::optional<ConsoleSettings> settingsOf(const QStringList& lines, QString* error);

}  // namespace tonesettings
