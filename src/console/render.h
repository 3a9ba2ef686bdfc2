#pragma once

#include "console/consolesettings.h"

#include <QByteArray>
#include <QString>

// The sound of one pass of a digit string as a standard WAVE file (44-byte header and the
// samples, no padding): each digit the samples its slot's generator plays, configured from
// the settings as the console configures it; "P" or "p" silence of the pass's pause length;
// anything else nothing.
QByteArray renderPass(const QString& digits, const ConsoleSettings& settings);
