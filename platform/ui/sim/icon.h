// The pixels behind an icon handle, for the parts of the simulation that draw
// icons (the notification area) or make them from other pictures.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orv::ui {

// Premultiplied ARGB (0xAARRGGBB), rows top first.
struct IconPixels {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;
};

// The icon's image nearest size x size, scaled to that size (nearest pixel);
// false for a handle that is no icon.
bool IconImage(HICON icon, int size, IconPixels* out);

// One image of an icon resource or file (a 24- or 32-bit DIB with its mask),
// scaled to size x size; false when it is not such an image.
bool DecodeIconImage(const unsigned char* data, std::size_t size, int scaleTo, IconPixels* out);

// A new icon of one image; the caller destroys it with DestroyIcon.
HICON CreateIconFromPixels(IconPixels pixels);

}  // namespace orv::ui
