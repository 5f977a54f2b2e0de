// What the rest of the simulated platform (the desktop, the picture library)
// needs of GDI objects beyond the Win32 calls: the pixels behind a DC or a
// bitmap, DCs on surfaces the caller owns, and a region's rectangles.
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

#include "platform/gfx/sim/surface.h"

namespace orv::gfx {

// The pixels a DC draws on (the selected bitmap, or the surface it was made
// on) and its logical origin (logical (x, y) is the pixel (x - origin.x,
// y - origin.y)); nullptr for a handle that is not a live DC.
Surface* DcSurface(HDC hdc, POINT* origin = nullptr);
// The rectangle of the DC's pixels that drawing may touch (false: all of them).
bool DcClip(HDC hdc, RECT* clip);
// A DC that draws straight onto a surface the caller owns (a window's client
// pixels, the screen's frame). Release with DeleteDC; the surface is not freed.
HDC CreateSurfaceDC(Surface* target);
// A DC on a window's pixels, which resolve makes (or finds) the first time
// the DC is drawn on or read, so a window nothing draws on keeps none. The
// DC's (0, 0) is the pixel at offset; with clip, drawing stays inside it.
HDC CreateWindowSurfaceDC(std::function<Surface*()> resolve, POINT offset, const RECT* clip);
// A bitmap object that takes over a surface's pixels; NULL for an empty one.
HBITMAP CreateBitmapFromSurface(Surface pixels);
const Surface* BitmapSurface(HBITMAP bitmap);
// Number of GDI objects alive (DCs, bitmaps, regions): tests use it to find leaks.
int LiveGdiObjects();

// A region's rectangles (empty for a bad handle), and replacing them.
std::vector<RECT> RegionRects(HRGN region);
bool SetRegionRects(HRGN region, std::vector<RECT> rects);

}  // namespace orv::gfx
