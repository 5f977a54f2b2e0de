// The OSD's pictures, each drawn on a fresh canvas.
#pragma once
#include <string>

#include "platform/gfx/sim/surface.h"
#include "tools/artwork/glyphs.h"

namespace orv::artwork {

// 120 x 120 device icon, enabled (colour) or disabled (grey with a strike).
gfx::Surface DeviceIcon(Symbol symbol, bool enabled);
// 120 x 120 volume picture for the level name number 0..50 (percent = 2 x n).
gfx::Surface VolumePicture(int n, bool muted);
// 120 x 120 brightness picture for step 0..8.
gfx::Surface BrightnessPicture(int step);
// 320 x 200 centre picture with the mode's name.
gfx::Surface CenterPicture(Symbol symbol, bool enabled, const std::string& name);

// The bar's pictures (see tray/osd/osd_bar_geometry.h for the geometry).
gfx::Surface BarBackground();
gfx::Surface BarFilled();
gfx::Surface BarCap();
gfx::Surface BarIcon(Symbol symbol);

}  // namespace orv::artwork
