// CreateIconIndirect: an icon from GDI bitmaps, the one icon call that reads the
// graphics area's pictures (so it lives with the static libraries that own them).
#include <windows.h>

#include "platform/gfx/sim/gdi.h"
#include "platform/ui/sim/icon.h"

extern "C" {

HICON WINAPI CreateIconIndirect(PICONINFO piconinfo) {
  if (!piconinfo || !piconinfo->fIcon || !piconinfo->hbmColor) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  // The colour bitmap carries premultiplied alpha; a mask adds nothing to it.
  const orv::gfx::Surface* colour = orv::gfx::BitmapSurface(piconinfo->hbmColor);
  if (!colour || colour->Empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  orv::ui::IconPixels pixels;
  pixels.width = colour->width;
  pixels.height = colour->height;
  pixels.argb.assign(colour->pixels.begin(), colour->pixels.end());
  return orv::ui::CreateIconFromPixels(std::move(pixels));
}

}  // extern "C"
