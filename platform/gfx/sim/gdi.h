// What the rest of the simulated platform (the desktop, the picture library)
// needs of GDI objects beyond the Win32 calls: the pixels behind a DC or a
// bitmap, DCs on surfaces the caller owns, and a region's rectangles.
#pragma once
#include <windows.h>

#include <vector>

#include "platform/gfx/sim/surface.h"

namespace orv::gfx {

// The pixels a DC draws on (the selected bitmap, or the surface it was made
// on) and its logical origin; nullptr for a handle that is not a live DC.
Surface* DcSurface(HDC hdc, POINT* origin = nullptr);
// A DC that draws straight onto a surface the caller owns (a window's client
// pixels, the screen's frame). Release with DeleteDC; the surface is not freed.
HDC CreateSurfaceDC(Surface* target);
// A bitmap object that takes over a surface's pixels; NULL for an empty one.
HBITMAP CreateBitmapFromSurface(Surface pixels);
const Surface* BitmapSurface(HBITMAP bitmap);
// Number of GDI objects alive (DCs, bitmaps, regions): tests use it to find leaks.
int LiveGdiObjects();

// A region's rectangles (empty for a bad handle), and replacing them.
std::vector<RECT> RegionRects(HRGN region);
bool SetRegionRects(HRGN region, std::vector<RECT> rects);

}  // namespace orv::gfx
