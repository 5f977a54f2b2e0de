// Pixel buffers and the blending every drawing call ends in. Pixels are 32-bit
// 0xAARRGGBB with the colour channels PREMULTIPLIED by alpha: that is what a
// layered window's per-pixel-alpha contents are on Windows, so compositing is one
// multiply-add per channel. PNG files hold straight alpha; the loader and the
// writer convert.
#pragma once
#include <cstdint>
#include <vector>

namespace orv::gfx {

using Pixel = std::uint32_t;

// Straight 0xAARRGGBB to premultiplied, and back (rounded).
Pixel Premultiply(std::uint32_t straight);
std::uint32_t Unpremultiply(Pixel premultiplied);

// Source-over of one premultiplied pixel onto another, the source first scaled
// by a constant alpha (255 = as it is).
Pixel Over(Pixel dst, Pixel src, std::uint8_t constantAlpha = 255);

struct Surface {
  int width = 0;
  int height = 0;
  std::vector<Pixel> pixels;  // row-major, top row first

  Surface() = default;
  Surface(int w, int h, Pixel fill = 0);
  bool Empty() const { return width <= 0 || height <= 0; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  Pixel At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  Pixel& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

struct IntRect {
  int x = 0, y = 0, w = 0, h = 0;
};

// Copies (no blending) src's rectangle (sx, sy, w, h) to dst at (dx, dy); clipped
// to both surfaces.
void CopyRect(Surface& dst, int dx, int dy, const Surface& src, int sx, int sy, int w, int h);

// Source-over of src's rectangle onto dst at (dx, dy), clipped to both surfaces.
void BlendRect(Surface& dst, int dx, int dy, const Surface& src, int sx, int sy, int w, int h,
               std::uint8_t constantAlpha = 255);

// Source-over of src's rectangle scaled into dst's rectangle (nearest sample at
// pixel centres). Source pixels outside src count as transparent, so a source
// rectangle that runs past the picture draws only the part that exists.
void BlendScaled(Surface& dst, IntRect to, const Surface& src, IntRect from,
                 std::uint8_t constantAlpha = 255);

// Source-over of a solid premultiplied colour over a rectangle, clipped.
void FillRect(Surface& dst, int x, int y, int w, int h, Pixel colour);

}  // namespace orv::gfx
