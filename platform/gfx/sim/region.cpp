// Regions as lists of disjoint rectangles.
#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/gfx/sim/gdi.h"
#include "platform/gfx/sim/gdi_object.h"

using namespace orv::gfx;
using namespace orv::gfx::detail;

namespace {

bool NonEmpty(const RECT& r) { return r.right > r.left && r.bottom > r.top; }

bool Inside(const std::vector<RECT>& rects, LONG x, LONG y) {
  for (const RECT& r : rects)
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  return false;
}

int Kind(const std::vector<RECT>& rects) {
  return rects.empty() ? NULLREGION : rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// The rectangles of the cells of the grid of both sources' edges that the mode
// keeps, merged along each band and then across bands of equal spans.
std::vector<RECT> Combine(const std::vector<RECT>& a, const std::vector<RECT>& b, int mode) {
  std::vector<LONG> xs, ys;
  for (const auto* list : {&a, &b})
    for (const RECT& r : *list) {
      xs.insert(xs.end(), {r.left, r.right});
      ys.insert(ys.end(), {r.top, r.bottom});
    }
  for (auto* v : {&xs, &ys}) {
    std::sort(v->begin(), v->end());
    v->erase(std::unique(v->begin(), v->end()), v->end());
  }
  auto keep = [&](LONG x, LONG y) {
    bool inA = Inside(a, x, y), inB = Inside(b, x, y);
    switch (mode) {
      case RGN_AND: return inA && inB;
      case RGN_OR: return inA || inB;
      case RGN_XOR: return inA != inB;
      default: return inA && !inB;  // RGN_DIFF
    }
  };
  std::vector<RECT> out;
  std::vector<RECT> previousBand;
  for (std::size_t j = 0; j + 1 < ys.size(); ++j) {
    std::vector<RECT> band;
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
      if (!keep(xs[i], ys[j])) continue;
      if (!band.empty() && band.back().right == xs[i]) band.back().right = xs[i + 1];
      else band.push_back(RECT{xs[i], ys[j], xs[i + 1], ys[j + 1]});
    }
    // A band with the same spans as the one above extends it downwards.
    bool same = !band.empty() && band.size() == previousBand.size() &&
                std::equal(band.begin(), band.end(), previousBand.begin(), [](const RECT& p, const RECT& q) {
                  return p.left == q.left && p.right == q.right;
                });
    if (same) {
      for (std::size_t k = out.size() - band.size(); k < out.size(); ++k) out[k].bottom = ys[j + 1];
    } else {
      out.insert(out.end(), band.begin(), band.end());
    }
    previousBand = std::move(band);
  }
  return out;
}

}  // namespace

namespace orv::gfx {

std::vector<RECT> RegionRects(HRGN region) {
  GdiRegion* r = AsRegion(region);
  return r ? r->rects : std::vector<RECT>{};
}

bool SetRegionRects(HRGN region, std::vector<RECT> rects) {
  GdiRegion* r = AsRegion(region);
  if (!r) return false;
  r->rects = std::move(rects);
  return true;
}

}  // namespace orv::gfx

HRGN WINAPI CreateRectRgn(int x1, int y1, int x2, int y2) {
  auto* region = new GdiRegion;
  RECT r{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
  if (NonEmpty(r)) region->rects.push_back(r);
  return Adopt<HRGN>(region);
}

HRGN WINAPI ExtCreateRegion(const XFORM* lpx, DWORD nCount, const RGNDATA* lpData) {
  if (lpx || !lpData || nCount < sizeof(RGNDATAHEADER)) return nullptr;
  RGNDATAHEADER header;
  std::memcpy(&header, lpData, sizeof header);
  if (header.dwSize != sizeof(RGNDATAHEADER) || header.iType != RDH_RECTANGLES) return nullptr;
  std::size_t room = (nCount - sizeof(RGNDATAHEADER)) / sizeof(RECT);
  if (header.nCount > room) return nullptr;
  const char* bytes = reinterpret_cast<const char*>(lpData) + sizeof(RGNDATAHEADER);
  std::vector<RECT> rects;
  for (DWORD i = 0; i < header.nCount; ++i) {
    RECT r;
    std::memcpy(&r, bytes + i * sizeof(RECT), sizeof r);
    if (NonEmpty(r)) rects.push_back(r);
  }
  // Rectangles of region data may overlap; the union keeps the list disjoint.
  auto* region = new GdiRegion;
  region->rects = Combine(rects, {}, RGN_OR);
  return Adopt<HRGN>(region);
}

int WINAPI CombineRgn(HRGN hrgnDst, HRGN hrgnSrc1, HRGN hrgnSrc2, int iMode) {
  GdiRegion* dst = AsRegion(hrgnDst);
  GdiRegion* first = AsRegion(hrgnSrc1);
  if (!dst || !first || iMode < RGN_AND || iMode > RGN_COPY) return RGN_ERROR;
  if (iMode == RGN_COPY) {
    dst->rects = first->rects;
    return Kind(dst->rects);
  }
  GdiRegion* second = AsRegion(hrgnSrc2);
  if (!second) return RGN_ERROR;
  dst->rects = Combine(first->rects, second->rects, iMode);
  return Kind(dst->rects);
}

BOOL WINAPI PtInRegion(HRGN hrgn, int x, int y) {
  GdiRegion* r = AsRegion(hrgn);
  return r && Inside(r->rects, x, y) ? TRUE : FALSE;
}

int WINAPI GetRgnBox(HRGN hrgn, LPRECT lprc) {
  GdiRegion* r = AsRegion(hrgn);
  if (!r || !lprc) return RGN_ERROR;
  if (r->rects.empty()) {
    *lprc = RECT{0, 0, 0, 0};
    return NULLREGION;
  }
  RECT b{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (const RECT& rect : r->rects) {
    b.left = std::min(b.left, rect.left);
    b.top = std::min(b.top, rect.top);
    b.right = std::max(b.right, rect.right);
    b.bottom = std::max(b.bottom, rect.bottom);
  }
  *lprc = b;
  return Kind(r->rects);
}

int WINAPI OffsetRgn(HRGN hrgn, int x, int y) {
  GdiRegion* r = AsRegion(hrgn);
  if (!r) return RGN_ERROR;
  for (RECT& rect : r->rects) {
    rect.left += x;
    rect.right += x;
    rect.top += y;
    rect.bottom += y;
  }
  return Kind(r->rects);
}
