#pragma once

#include "console/tonesettings.h"

#include <QFile>
#include <QString>

// Writes a settings file whose slots 4, 1, 9 and 7 sound steady tones of clearly different
// pitches (1000, 1500, 2000 and 3000 Hz), so that a recording shows where each tone begins to
// within a millisecond. Returns false when the file cannot be written.
inline bool writeFlatSettings(const QString& path)
{
    ConsoleSettings settings = ConsoleSettings::builtInDefaults();
    settings.frequencies[4] = 1000;
    settings.frequencies[1] = 1500;
    settings.frequencies[9] = 2000;
    settings.frequencies[7] = 3000;
    settings.sliders = {100, 100, 100, 0, 100};
    QFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write(tonesettings::fileBytes(tonesettings::linesOf(settings))) >= 0 &&
           file.flush();
}
