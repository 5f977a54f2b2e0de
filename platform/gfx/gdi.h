// The device-context calls the tray program draws with: memory DCs, compatible
// bitmaps, selection, block copies and reading bitmap bits. Each call keeps the
// signature, ownership rules and failure values of the Win32 call of the same name,
// which backs it in the Windows build. Bitmaps here are always 32 bits per pixel,
// premultiplied ARGB (see surface.h).
#pragma once
#include <cstdint>
#include <vector>

#include "platform/base/types.h"
#include "platform/gfx/surface.h"
#include <windows.h>

namespace orv::gfx {

using win::BOOL;
using win::BYTE;
using win::DWORD;
using win::LONG;
using win::POINT;
using win::RECT;
using COLORREF = DWORD;  // 0x00BBGGRR

// The records behind the handles. Callers treat the handles as opaque; the
// records are visible only so that HBITMAP and HRGN convert to HGDIOBJ.
struct DeviceContext;
struct GdiObject {
  enum class Kind { Dc, Bitmap, Region } kind;
  explicit GdiObject(Kind k) : kind(k) {}
  virtual ~GdiObject() = default;
};

struct GdiBitmap : GdiObject {
  GdiBitmap() : GdiObject(Kind::Bitmap) {}
  Surface pixels;
  DeviceContext* selectedIn = nullptr;
};

struct DeviceContext : GdiObject {
  DeviceContext() : GdiObject(Kind::Dc) {}
  bool memory = false;
  GdiBitmap* selected = nullptr;  // memory DCs
  GdiBitmap* stock = nullptr;     // the 1 x 1 bitmap a new memory DC starts with
  Surface* target = nullptr;      // surface DCs
  POINT origin{0, 0};
};

struct GdiRegion : GdiObject {
  GdiRegion() : GdiObject(Kind::Region) {}
  std::vector<RECT> rects;  // disjoint, each non-empty
};

using HGDIOBJ = GdiObject*;
using HBITMAP = GdiBitmap*;
using HDC = DeviceContext*;

using ::SIZE;

struct BITMAP {
  LONG bmType = 0;
  LONG bmWidth = 0;
  LONG bmHeight = 0;
  LONG bmWidthBytes = 0;
  std::uint16_t bmPlanes = 1;
  std::uint16_t bmBitsPixel = 32;
  void* bmBits = nullptr;
};

// Raster operation of BitBlt: only the plain copy is used.
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// Blending of a layered window's contents (wingdi.h's BLENDFUNCTION).
constexpr BYTE AC_SRC_OVER = 0x00;
constexpr BYTE AC_SRC_ALPHA = 0x01;
struct BLENDFUNCTION {
  BYTE BlendOp = AC_SRC_OVER;
  BYTE BlendFlags = 0;
  BYTE SourceConstantAlpha = 255;
  BYTE AlphaFormat = 0;
};

// A DC compatible with hdc (nullptr: with the screen), with the stock 1 x 1
// bitmap selected. Release with DeleteDC.
HDC CreateCompatibleDC(HDC hdc);
BOOL DeleteDC(HDC hdc);
// A cx x cy bitmap, all transparent black. Release with DeleteObject; nullptr for
// a size that is not positive or too large.
HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy);
// Selects a bitmap into a memory DC and returns the one selected before, or
// nullptr on failure (not a memory DC, or the bitmap is selected in another DC).
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
// FALSE while the bitmap is still selected in a DC, as on Windows; it stays alive.
BOOL DeleteObject(HGDIOBJ object);
// Fills a BITMAP record; returns the bytes written, 0 on failure.
int GetObject(HGDIOBJ object, int size, void* out);
// Copies the bitmap's pixels, rows top first, 4 bytes B, G, R, A each; returns
// the bytes copied.
LONG GetBitmapBits(HBITMAP bitmap, LONG size, void* bits);
// Copies a rectangle; only SRCCOPY is supported (FALSE otherwise).
BOOL BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int x1, int y1, DWORD rop);
// The pixel's colour (alpha dropped), CLR_INVALID outside the bitmap.
COLORREF GetPixel(HDC hdc, int x, int y);
// Moves the logical origin: logical (x, y) is then device (0, 0).
BOOL SetWindowOrgEx(HDC hdc, int x, int y, POINT* previous);

// --- For the platform layer itself (the desktop and the picture library) ---
// The pixels a DC draws on (the selected bitmap, or a window's surface), and its
// origin; nullptr for a DC without pixels.
Surface* DcSurface(HDC hdc, POINT* origin = nullptr);
// A DC that draws straight onto a surface the caller owns (a window's client
// pixels). Release with DeleteDC; the surface is not freed.
HDC CreateSurfaceDC(Surface* target);
// A bitmap object that takes over a surface's pixels.
HBITMAP CreateBitmapFromSurface(Surface pixels);
const Surface* BitmapSurface(HBITMAP bitmap);
// Number of GDI objects alive (DCs and bitmaps): tests use it to find leaks.
int LiveGdiObjects();

}  // namespace orv::gfx
