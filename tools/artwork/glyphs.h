// The device and mode symbols. Each adds its shape, centred on (cx, cy) and about
// 90 units across, to the painter's mask; the caller fills it in its colour.
#pragma once
#include "tools/artwork/painter.h"

namespace orv::artwork {

enum class Symbol { Wireless, Bluetooth, TouchPad, WebCam, Turbo, Eco, ThreeG, Hdd, Speaker,
                    SpeakerMuted, Sun, Theater };

void DrawSymbol(Painter& painter, Symbol symbol, float cx, float cy, float unit);

// The "switched off" strike across a symbol: a dark under-stroke and a red line.
void DrawStrike(Painter& painter, float cx, float cy, float unit);

}  // namespace orv::artwork
