// Regions: sets of rectangles that give a window its shape (SetWindowRgn). Made
// from one rectangle or from region data, released with DeleteObject unless a
// window has taken them over.
#pragma once
#include <vector>

#include "platform/gfx/gdi.h"

namespace orv::gfx {

struct GdiRegion;
using HRGN = GdiRegion*;

constexpr int RGN_ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int COMPLEXREGION = 3;
constexpr DWORD RDH_RECTANGLES = 1;

struct RGNDATAHEADER {
  DWORD dwSize;   // sizeof(RGNDATAHEADER)
  DWORD iType;    // RDH_RECTANGLES
  DWORD nCount;   // rectangles that follow
  DWORD nRgnSize; // bytes of the rectangles (may be 0)
  RECT rcBound;
};
struct RGNDATA {
  RGNDATAHEADER rdh;
  char Buffer[1];  // nCount RECTs
};

HRGN CreateRectRgn(int left, int top, int right, int bottom);
// The region of the rectangles in data; count is the size of data in bytes. The
// transform must be nullptr. nullptr for malformed data.
HRGN ExtCreateRegion(const void* xform, DWORD count, const RGNDATA* data);
BOOL PtInRegion(HRGN region, int x, int y);
// The bounding box; NULLREGION, SIMPLEREGION or COMPLEXREGION, RGN_ERROR for a
// bad handle.
int GetRgnBox(HRGN region, RECT* box);
// Shifts the region.
int OffsetRgn(HRGN region, int dx, int dy);

// For the platform layer: the region's rectangles (empty for a bad handle).
std::vector<RECT> RegionRects(HRGN region);

}  // namespace orv::gfx
