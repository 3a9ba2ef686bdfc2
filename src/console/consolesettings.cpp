#include "console/consolesettings.h"

ConsoleSettings ConsoleSettings::builtInDefaults()
{
    ConsoleSettings s;
    s.dataText = QStringLiteral("Enter Date Here");
    s.method = 0;
    s.frequencies = {0, 174, 285, 396, 417, 528, 639, 741, 852, 963};
    s.octave = QStringLiteral("4");
    s.durationSeconds = 0.5;
    s.sliders = {90, 70, 80, 50, 90};
    return s;
}
