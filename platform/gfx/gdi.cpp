// Memory DCs and bitmaps. Every handle is checked against the table of live
// objects, so a stale or foreign handle fails the call as on Windows instead of
// touching freed memory.
#include "platform/gfx/gdi.h"
#include "platform/gfx/gdi_object.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <unordered_set>

namespace orv::gfx {

namespace detail {
std::mutex& Lock() {
  static std::mutex m;
  return m;
}
std::unordered_set<GdiObject*>& Live() {
  static std::unordered_set<GdiObject*> live;
  return live;
}

void RegisterObject(GdiObject* object) {
  std::lock_guard<std::mutex> lock(Lock());
  Live().insert(object);
}

bool IsLive(GdiObject* object) {
  std::lock_guard<std::mutex> lock(Lock());
  return object && Live().count(object) != 0;
}

void Unregister(GdiObject* object) {
  std::lock_guard<std::mutex> lock(Lock());
  Live().erase(object);
}

}  // namespace detail

using namespace detail;

namespace {

constexpr long long kMaxBitmapPixels = 64LL * 1024 * 1024;

DeviceContext* AsDc(HDC hdc) {
  return IsLive(hdc) && hdc->kind == GdiObject::Kind::Dc ? hdc : nullptr;
}
GdiBitmap* AsBitmap(GdiObject* object) {
  return IsLive(object) && object->kind == GdiObject::Kind::Bitmap
             ? static_cast<GdiBitmap*>(object)
             : nullptr;
}

GdiBitmap* NewBitmap(Surface pixels) {
  auto* bitmap = new GdiBitmap;
  bitmap->pixels = std::move(pixels);
  return Register(bitmap);
}

}  // namespace

HDC CreateCompatibleDC(HDC hdc) {
  if (hdc && !AsDc(hdc)) return nullptr;
  auto* dc = new DeviceContext;
  dc->memory = true;
  dc->stock = NewBitmap(Surface(1, 1));
  dc->stock->selectedIn = dc;
  dc->selected = dc->stock;
  return Register(dc);
}

BOOL DeleteDC(HDC hdc) {
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

HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
  if (hdc && !AsDc(hdc)) return nullptr;
  if (cx <= 0 || cy <= 0 || static_cast<long long>(cx) * cy > kMaxBitmapPixels) return nullptr;
  return NewBitmap(Surface(cx, cy));
}

HBITMAP CreateBitmapFromSurface(Surface pixels) {
  if (pixels.Empty()) return nullptr;
  return NewBitmap(std::move(pixels));
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
  DeviceContext* dc = AsDc(hdc);
  GdiBitmap* bitmap = AsBitmap(object);
  if (!dc || !dc->memory || !bitmap) return nullptr;
  if (bitmap->selectedIn && bitmap->selectedIn != dc) return nullptr;
  GdiBitmap* previous = dc->selected;
  if (previous) previous->selectedIn = nullptr;
  bitmap->selectedIn = dc;
  dc->selected = bitmap;
  return previous;
}

BOOL DeleteObject(HGDIOBJ object) {
  if (IsLive(object) && object->kind == GdiObject::Kind::Region) {
    Unregister(object);
    delete object;
    return TRUE;
  }
  GdiBitmap* bitmap = AsBitmap(object);
  if (!bitmap || bitmap->selectedIn) return FALSE;
  Unregister(bitmap);
  delete bitmap;
  return TRUE;
}

int GetObject(HGDIOBJ object, int size, void* out) {
  GdiBitmap* bitmap = AsBitmap(object);
  if (!bitmap || !out || size < static_cast<int>(sizeof(BITMAP))) return 0;
  BITMAP record;
  record.bmWidth = bitmap->pixels.width;
  record.bmHeight = bitmap->pixels.height;
  record.bmWidthBytes = bitmap->pixels.width * 4;
  std::memcpy(out, &record, sizeof record);
  return sizeof record;
}

LONG GetBitmapBits(HBITMAP bitmap, LONG size, void* bits) {
  GdiBitmap* b = AsBitmap(bitmap);
  if (!b || !bits || size <= 0) return 0;
  std::size_t bytes = std::min<std::size_t>(static_cast<std::size_t>(size),
                                            b->pixels.pixels.size() * 4);
  std::memcpy(bits, b->pixels.pixels.data(), bytes);  // little-endian ARGB is B, G, R, A
  return static_cast<LONG>(bytes);
}

Surface* DcSurface(HDC hdc, POINT* origin) {
  DeviceContext* dc = AsDc(hdc);
  if (!dc) return nullptr;
  if (origin) *origin = dc->origin;
  if (dc->memory) return dc->selected ? &dc->selected->pixels : nullptr;
  return dc->target;
}

HDC CreateSurfaceDC(Surface* target) {
  if (!target) return nullptr;
  auto* dc = new DeviceContext;
  dc->target = target;
  return Register(dc);
}

const Surface* BitmapSurface(HBITMAP bitmap) {
  GdiBitmap* b = AsBitmap(bitmap);
  return b ? &b->pixels : nullptr;
}

BOOL BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int x1, int y1, DWORD rop) {
  if (rop != SRCCOPY) return FALSE;
  POINT dOrigin{0, 0}, sOrigin{0, 0};
  Surface* to = DcSurface(dst, &dOrigin);
  Surface* from = DcSurface(src, &sOrigin);
  if (!to || !from || cx < 0 || cy < 0) return FALSE;
  if (to == from) {
    Surface copy = *from;  // overlapping copies within one surface read the old pixels
    CopyRect(*to, x - dOrigin.x, y - dOrigin.y, copy, x1 - sOrigin.x, y1 - sOrigin.y, cx, cy);
  } else {
    CopyRect(*to, x - dOrigin.x, y - dOrigin.y, *from, x1 - sOrigin.x, y1 - sOrigin.y, cx, cy);
  }
  return TRUE;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
  POINT origin{0, 0};
  Surface* s = DcSurface(hdc, &origin);
  if (!s) return CLR_INVALID;
  x -= origin.x;
  y -= origin.y;
  if (!s->Contains(x, y)) return CLR_INVALID;
  Pixel p = s->At(x, y);
  return ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16);
}

BOOL SetWindowOrgEx(HDC hdc, int x, int y, POINT* previous) {
  DeviceContext* dc = AsDc(hdc);
  if (!dc) return FALSE;
  if (previous) *previous = dc->origin;
  dc->origin.x = x;
  dc->origin.y = y;
  return TRUE;
}

int LiveGdiObjects() {
  std::lock_guard<std::mutex> lock(Lock());
  return static_cast<int>(Live().size());
}

}  // namespace orv::gfx
