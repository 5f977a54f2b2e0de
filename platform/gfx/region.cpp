// Regions as lists of rectangles.
#include "platform/gfx/region.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/gfx/gdi_object.h"

namespace orv::gfx {
namespace {

GdiRegion* AsRegion(HRGN region) {
  return detail::IsLive(region) && region->kind == GdiObject::Kind::Region ? region : nullptr;
}

bool NonEmpty(const RECT& r) { return r.right > r.left && r.bottom > r.top; }

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  auto* region = new GdiRegion;
  RECT r{std::min(left, right), std::min(top, bottom), std::max(left, right),
         std::max(top, bottom)};
  if (NonEmpty(r)) region->rects.push_back(r);
  return detail::Register(region);
}

HRGN ExtCreateRegion(const void* xform, DWORD count, const RGNDATA* data) {
  if (xform || !data || count < sizeof(RGNDATAHEADER)) return nullptr;
  RGNDATAHEADER header;
  std::memcpy(&header, data, sizeof header);
  if (header.dwSize != sizeof(RGNDATAHEADER) || header.iType != RDH_RECTANGLES) return nullptr;
  std::size_t room = (count - sizeof(RGNDATAHEADER)) / sizeof(RECT);
  if (header.nCount > room) return nullptr;
  auto* region = new GdiRegion;
  const char* bytes = reinterpret_cast<const char*>(data) + sizeof(RGNDATAHEADER);
  for (DWORD i = 0; i < header.nCount; ++i) {
    RECT r;
    std::memcpy(&r, bytes + i * sizeof(RECT), sizeof r);
    if (NonEmpty(r)) region->rects.push_back(r);
  }
  return detail::Register(region);
}

BOOL PtInRegion(HRGN region, int x, int y) {
  GdiRegion* r = AsRegion(region);
  if (!r) return FALSE;
  for (const RECT& rect : r->rects)
    if (x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom) return TRUE;
  return FALSE;
}

int GetRgnBox(HRGN region, RECT* box) {
  GdiRegion* r = AsRegion(region);
  if (!r || !box) return RGN_ERROR;
  if (r->rects.empty()) {
    *box = RECT{0, 0, 0, 0};
    return NULLREGION;
  }
  RECT b{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (const RECT& rect : r->rects) {
    b.left = std::min(b.left, rect.left);
    b.top = std::min(b.top, rect.top);
    b.right = std::max(b.right, rect.right);
    b.bottom = std::max(b.bottom, rect.bottom);
  }
  *box = b;
  return r->rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

int OffsetRgn(HRGN region, int dx, int dy) {
  GdiRegion* r = AsRegion(region);
  if (!r) return RGN_ERROR;
  for (RECT& rect : r->rects) {
    rect.left += dx; rect.right += dx;
    rect.top += dy; rect.bottom += dy;
  }
  RECT box;
  return GetRgnBox(region, &box);
}

std::vector<RECT> RegionRects(HRGN region) {
  GdiRegion* r = AsRegion(region);
  return r ? r->rects : std::vector<RECT>{};
}

}  // namespace orv::gfx
