#pragma once

#include "console/consolesettings.h"

#include <QRect>
#include <array>

class QPainter;

// The picture of the envelope the sliders set, drawn in the frame whose rectangle is given:
// full level at the top, silence at the bottom, the attack rising from the left edge, the
// release ending at the right edge. Integer arithmetic throughout, as the console draws it.
void paintEnvelope(QPainter& painter, const QRect& frame,
                   const std::array<int, ConsoleSettings::SliderCount>& positions);
