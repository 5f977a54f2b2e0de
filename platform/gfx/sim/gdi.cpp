// Memory DCs and bitmaps, and the table of live GDI objects every call checks
// its handles against.
#include "platform/gfx/sim/gdi.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <unordered_set>

#include "platform/gfx/sim/gdi_object.h"

namespace orv::gfx {

namespace detail {
namespace {

std::mutex& Lock() {
  static std::mutex m;
  return m;
}
std::unordered_set<const void*>& Live() {
  static std::unordered_set<const void*> live;
  return live;
}

}  // namespace

void Register(GdiObject* object) {
  std::lock_guard<std::mutex> lock(Lock());
  Live().insert(object);
}

void Unregister(GdiObject* object) {
  std::lock_guard<std::mutex> lock(Lock());
  Live().erase(object);
}

GdiObject* Lookup(const void* handle) {
  std::lock_guard<std::mutex> lock(Lock());
  // Only an address found in the table is ever turned back into a record.
  return handle && Live().count(handle) ? static_cast<GdiObject*>(const_cast<void*>(handle)) : nullptr;
}

DeviceContext* AsDc(const void* handle) {
  GdiObject* o = Lookup(handle);
  return o && o->kind == GdiObject::Kind::Dc ? static_cast<DeviceContext*>(o) : nullptr;
}

GdiBitmap* AsBitmap(const void* handle) {
  GdiObject* o = Lookup(handle);
  return o && o->kind == GdiObject::Kind::Bitmap ? static_cast<GdiBitmap*>(o) : nullptr;
}

GdiRegion* AsRegion(const void* handle) {
  GdiObject* o = Lookup(handle);
  return o && o->kind == GdiObject::Kind::Region ? static_cast<GdiRegion*>(o) : nullptr;
}

}  // namespace detail

using namespace detail;

namespace {

constexpr long long kMaxBitmapPixels = 64LL * 1024 * 1024;

GdiBitmap* NewBitmap(Surface pixels) {
  auto* bitmap = new GdiBitmap;
  bitmap->pixels = std::move(pixels);
  Register(bitmap);
  return bitmap;
}

}  // namespace

Surface* DcSurface(HDC hdc, POINT* origin) {
  DeviceContext* dc = AsDc(hdc);
  if (!dc) return nullptr;
  if (origin) *origin = POINT{dc->origin.x - dc->offset.x, dc->origin.y - dc->offset.y};
  if (dc->memory) return dc->selected ? &dc->selected->pixels : nullptr;
  if (!dc->target && dc->resolve) {
    dc->target = dc->resolve();
    if (dc->target) dc->resolve = nullptr;
  }
  return dc->target;
}

bool DcClip(HDC hdc, RECT* clip) {
  DeviceContext* dc = AsDc(hdc);
  if (!dc || !dc->clipped) return false;
  *clip = dc->clip;
  return true;
}

HDC CreateSurfaceDC(Surface* target) {
  if (!target) return nullptr;
  auto* dc = new DeviceContext;
  dc->target = target;
  return Adopt<HDC>(dc);
}

HDC CreateWindowSurfaceDC(std::function<Surface*()> resolve, POINT offset, const RECT* clip) {
  if (!resolve) return nullptr;
  auto* dc = new DeviceContext;
  dc->resolve = std::move(resolve);
  dc->offset = offset;
  if (clip) {
    dc->clipped = true;
    dc->clip = *clip;
  }
  return Adopt<HDC>(dc);
}

HBITMAP CreateBitmapFromSurface(Surface pixels) {
  if (pixels.Empty()) return nullptr;
  return HandleOf<HBITMAP>(NewBitmap(std::move(pixels)));
}

const Surface* BitmapSurface(HBITMAP bitmap) {
  GdiBitmap* b = AsBitmap(bitmap);
  return b ? &b->pixels : nullptr;
}

int LiveGdiObjects() {
  std::lock_guard<std::mutex> lock(Lock());
  return static_cast<int>(Live().size());
}

}  // namespace orv::gfx

using namespace orv::gfx;
using namespace orv::gfx::detail;

HDC WINAPI CreateCompatibleDC(HDC hdc) {
  if (hdc && !AsDc(hdc)) return nullptr;
  auto* dc = new DeviceContext;
  dc->memory = true;
  dc->stock = NewBitmap(Surface(1, 1));
  dc->stock->selectedIn = dc;
  dc->selected = dc->stock;
  return Adopt<HDC>(dc);
}

BOOL WINAPI DeleteDC(HDC hdc) {
  DeviceContext* dc = AsDc(hdc);
  if (!dc) return FALSE;
  Unregister(dc);
  if (dc->selected) dc->selected->selectedIn = nullptr;
  if (dc->stock) {
    Unregister(dc->stock);
    delete dc->stock;
  }
  delete dc;
  return TRUE;
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
  if (hdc && !AsDc(hdc)) return nullptr;
  if (cx <= 0 || cy <= 0 || static_cast<long long>(cx) * cy > kMaxBitmapPixels) return nullptr;
  return HandleOf<HBITMAP>(NewBitmap(Surface(cx, cy)));
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
  DeviceContext* dc = AsDc(hdc);
  GdiBitmap* bitmap = AsBitmap(h);
  if (!dc || !dc->memory || !bitmap) return nullptr;
  if (bitmap->selectedIn && bitmap->selectedIn != dc) return nullptr;
  GdiBitmap* previous = dc->selected;
  if (previous) previous->selectedIn = nullptr;
  bitmap->selectedIn = dc;
  dc->selected = bitmap;
  return HandleOf<HGDIOBJ>(previous);
}

BOOL WINAPI DeleteObject(HGDIOBJ ho) {
  if (GdiRegion* region = AsRegion(ho)) {
    Unregister(region);
    delete region;
    return TRUE;
  }
  GdiBitmap* bitmap = AsBitmap(ho);
  if (!bitmap || bitmap->selectedIn) return FALSE;
  Unregister(bitmap);
  delete bitmap;
  return TRUE;
}

int WINAPI GetObjectA(HANDLE h, int c, LPVOID pv) {
  GdiBitmap* bitmap = AsBitmap(h);
  if (!bitmap) return 0;
  if (!pv) return sizeof(BITMAP);
  if (c < static_cast<int>(sizeof(BITMAP))) return 0;
  BITMAP record{};
  record.bmWidth = bitmap->pixels.width;
  record.bmHeight = bitmap->pixels.height;
  record.bmWidthBytes = bitmap->pixels.width * 4;
  record.bmPlanes = 1;
  record.bmBitsPixel = 32;
  std::memcpy(pv, &record, sizeof record);
  return sizeof record;
}

LONG WINAPI GetBitmapBits(HBITMAP hbit, LONG cb, LPVOID lpvBits) {
  GdiBitmap* b = AsBitmap(hbit);
  if (!b || !lpvBits || cb <= 0) return 0;
  std::size_t bytes = std::min<std::size_t>(static_cast<std::size_t>(cb), b->pixels.pixels.size() * 4);
  std::memcpy(lpvBits, b->pixels.pixels.data(), bytes);  // little-endian ARGB is B, G, R, A
  return static_cast<LONG>(bytes);
}

BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
  if (rop != SRCCOPY) return FALSE;
  POINT dOrigin{0, 0}, sOrigin{0, 0};
  Surface* to = DcSurface(hdc, &dOrigin);
  Surface* from = DcSurface(hdcSrc, &sOrigin);
  if (!to || !from || cx < 0 || cy < 0) return FALSE;
  RECT clip;
  if (DcClip(hdc, &clip)) {
    // Only the part inside the clip is copied: the source moves with the cut.
    int dx = x - dOrigin.x, dy = y - dOrigin.y;
    const int left = std::max<int>(dx, clip.left), top = std::max<int>(dy, clip.top);
    const int right = std::min<int>(dx + cx, clip.right), bottom = std::min<int>(dy + cy, clip.bottom);
    if (right <= left || bottom <= top) return TRUE;
    x1 += left - dx;
    y1 += top - dy;
    x += left - dx;
    y += top - dy;
    cx = right - left;
    cy = bottom - top;
  }
  if (to == from) {
    Surface copy = *from;  // overlapping copies within one surface read the old pixels
    CopyRect(*to, x - dOrigin.x, y - dOrigin.y, copy, x1 - sOrigin.x, y1 - sOrigin.y, cx, cy);
  } else {
    CopyRect(*to, x - dOrigin.x, y - dOrigin.y, *from, x1 - sOrigin.x, y1 - sOrigin.y, cx, cy);
  }
  return TRUE;
}

COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
  POINT origin{0, 0};
  Surface* s = DcSurface(hdc, &origin);
  if (!s) return CLR_INVALID;
  x -= origin.x;
  y -= origin.y;
  if (!s->Contains(x, y)) return CLR_INVALID;
  Pixel p = s->At(x, y);
  return ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16);
}

int WINAPI GetClipBox(HDC hdc, LPRECT lprect) {
  POINT origin{0, 0};
  Surface* s = DcSurface(hdc, &origin);
  if (!s || !lprect) return ERROR;
  RECT box{0, 0, s->width, s->height};
  RECT clip;
  if (DcClip(hdc, &clip)) box = clip;
  *lprect = RECT{box.left + origin.x, box.top + origin.y, box.right + origin.x, box.bottom + origin.y};
  return box.right > box.left && box.bottom > box.top ? SIMPLEREGION : NULLREGION;
}

BOOL WINAPI SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
  DeviceContext* dc = AsDc(hdc);
  if (!dc) return FALSE;
  if (lppt) *lppt = dc->origin;
  dc->origin.x = x;
  dc->origin.y = y;
  return TRUE;
}
