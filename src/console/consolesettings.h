#pragma once

#include <QString>
#include <array>

// The console's whole state as a settings file holds it, in its own units: slider
// positions are raw (0 top .. 100 bottom), the duration is in seconds.
struct ConsoleSettings
{
    enum Slider { Attack, Hold, Decay, Sustain, Release, SliderCount };

    QString dataText;
    QString numerologyText;
    int method = 0;
    std::array<int, 10> frequencies{};
    double durationSeconds = 0.0;
    std::array<int, SliderCount> sliders{};
    int waveItem = -1;  // -1: no wave form chosen, the generators keep sine
    QString octave;
    bool loop = true;
    bool spaceAsZero = true;

    // What the console starts with when no default settings file exists.
    static ConsoleSettings builtInDefaults();
};
