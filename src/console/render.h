#pragma once

#include "console/consolesettings.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The sound of one pass of a digit string as a standard WAVE file (44-byte header and the
// samples, no padding): each digit the samples its slot's generator plays, configured from
// the settings as the console configures it; "P" or "p" silence of the pass's pause length;
// anything else nothing. None, with the reason in error, when the sound would not fit in a
// WAVE file (4 GiB) or a tone cannot be built.
std::optional<QByteArray> renderPass(const QString& digits, const ConsoleSettings& settings,
                                     QString* error);
