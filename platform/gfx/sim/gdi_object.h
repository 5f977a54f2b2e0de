// The records behind the GDI handles and the table of live ones, shared by the
// drawing layer's files. A handle is the address of its record; every call looks
// it up in the table first, so a stale or foreign handle fails the call as on
// Windows instead of touching freed memory. Not for use outside platform/gfx/sim.
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

#include "platform/gfx/sim/surface.h"

namespace orv::gfx {

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
  Surface* target = nullptr;      // DCs on a surface the caller owns (a window, the screen)
  std::function<Surface*()> resolve;  // a window's pixels, made when first drawn on or read
  POINT offset{0, 0};             // where the DC's (0, 0) is on the target (a child window's place)
  bool clipped = false;           // drawing stays inside clip (target pixels)
  RECT clip{0, 0, 0, 0};
  POINT origin{0, 0};             // SetWindowOrgEx
  COLORREF textColour = 0x00000000;  // SetTextColor
  COLORREF backColour = 0x00FFFFFF;  // SetBkColor
  int backMode = 2;                  // SetBkMode: OPAQUE
};

struct GdiRegion : GdiObject {
  GdiRegion() : GdiObject(Kind::Region) {}
  std::vector<RECT> rects;  // disjoint, each non-empty
};

namespace detail {

// Adds an object to the table of live handles.
void Register(GdiObject* object);
void Unregister(GdiObject* object);
// The live object a handle names, if it is of that kind; nullptr otherwise.
GdiObject* Lookup(const void* handle);
DeviceContext* AsDc(const void* handle);
GdiBitmap* AsBitmap(const void* handle);
GdiRegion* AsRegion(const void* handle);

// The handle of a record.
template <class Handle>
Handle HandleOf(GdiObject* object) {
  return reinterpret_cast<Handle>(object);
}
// Registers a new record and gives its handle.
template <class Handle>
Handle Adopt(GdiObject* object) {
  Register(object);
  return HandleOf<Handle>(object);
}

}  // namespace detail
}  // namespace orv::gfx
