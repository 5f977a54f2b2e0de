// Premultiplied pixel arithmetic and the rectangle copy, blend and fill loops.
#include "platform/gfx/sim/surface.h"

#include <algorithm>

namespace orv::gfx {
namespace {

// a * b / 255, rounded, for 0..255 inputs.
inline std::uint32_t Mul255(std::uint32_t a, std::uint32_t b) {
  std::uint32_t t = a * b + 128;
  return (t + (t >> 8)) >> 8;
}

inline std::uint32_t Channel(Pixel p, int shift) { return (p >> shift) & 0xFF; }

// Clips a copy of size (w, h) from (sx, sy) in src to (dx, dy) in dst; false when
// nothing is left.
bool Clip(const Surface& dst, int& dx, int& dy, const Surface& src, int& sx, int& sy, int& w,
          int& h) {
  if (sx < 0) { dx -= sx; w += sx; sx = 0; }
  if (sy < 0) { dy -= sy; h += sy; sy = 0; }
  if (dx < 0) { sx -= dx; w += dx; dx = 0; }
  if (dy < 0) { sy -= dy; h += dy; dy = 0; }
  w = std::min({w, src.width - sx, dst.width - dx});
  h = std::min({h, src.height - sy, dst.height - dy});
  return w > 0 && h > 0;
}

}  // namespace

Pixel Premultiply(std::uint32_t s) {
  std::uint32_t a = s >> 24;
  if (a == 255) return s;
  if (a == 0) return 0;
  return (a << 24) | (Mul255(Channel(s, 16), a) << 16) | (Mul255(Channel(s, 8), a) << 8) |
         Mul255(Channel(s, 0), a);
}

std::uint32_t Unpremultiply(Pixel p) {
  std::uint32_t a = p >> 24;
  if (a == 255) return p;
  if (a == 0) return 0;
  auto un = [a](std::uint32_t c) { return std::min<std::uint32_t>(255, (c * 255 + a / 2) / a); };
  return (a << 24) | (un(Channel(p, 16)) << 16) | (un(Channel(p, 8)) << 8) | un(Channel(p, 0));
}

Pixel Over(Pixel dst, Pixel src, std::uint8_t constantAlpha) {
  if (constantAlpha != 255) {
    src = (Mul255(Channel(src, 24), constantAlpha) << 24) |
          (Mul255(Channel(src, 16), constantAlpha) << 16) |
          (Mul255(Channel(src, 8), constantAlpha) << 8) | Mul255(Channel(src, 0), constantAlpha);
  }
  std::uint32_t sa = src >> 24;
  if (sa == 255 || dst == 0) return src;  // nothing of a transparent destination is kept
  if (sa == 0) return dst;
  std::uint32_t keep = 255 - sa;
  Pixel out = 0;
  for (int shift = 0; shift <= 24; shift += 8) {
    std::uint32_t c = Channel(src, shift) + Mul255(Channel(dst, shift), keep);
    out |= std::min<std::uint32_t>(c, 255) << shift;
  }
  return out;
}

Surface::Surface(int w, int h, Pixel fill)
    : width(std::max(w, 0)), height(std::max(h, 0)),
      pixels(static_cast<std::size_t>(width) * height, fill) {}

void CopyRect(Surface& dst, int dx, int dy, const Surface& src, int sx, int sy, int w, int h) {
  if (!Clip(dst, dx, dy, src, sx, sy, w, h)) return;
  for (int row = 0; row < h; ++row) {
    const Pixel* from = &src.pixels[static_cast<std::size_t>(sy + row) * src.width + sx];
    std::copy(from, from + w, &dst.pixels[static_cast<std::size_t>(dy + row) * dst.width + dx]);
  }
}

void BlendRect(Surface& dst, int dx, int dy, const Surface& src, int sx, int sy, int w, int h,
               std::uint8_t constantAlpha) {
  if (constantAlpha == 0 || !Clip(dst, dx, dy, src, sx, sy, w, h)) return;
  for (int row = 0; row < h; ++row) {
    const Pixel* from = &src.pixels[static_cast<std::size_t>(sy + row) * src.width + sx];
    Pixel* to = &dst.pixels[static_cast<std::size_t>(dy + row) * dst.width + dx];
    for (int col = 0; col < w; ++col) to[col] = Over(to[col], from[col], constantAlpha);
  }
}

void BlendScaled(Surface& dst, IntRect to, const Surface& src, IntRect from,
                 std::uint8_t constantAlpha) {
  if (to.w <= 0 || to.h <= 0 || from.w <= 0 || from.h <= 0 || constantAlpha == 0) return;
  if (to.w == from.w && to.h == from.h) {
    BlendRect(dst, to.x, to.y, src, from.x, from.y, from.w, from.h, constantAlpha);
    return;
  }
  int x0 = std::max(to.x, 0), y0 = std::max(to.y, 0);
  int x1 = static_cast<int>(std::min<long long>(1LL * to.x + to.w, dst.width));
  int y1 = static_cast<int>(std::min<long long>(1LL * to.y + to.h, dst.height));
  for (int y = y0; y < y1; ++y) {
    // Centre of the destination pixel mapped into the source rectangle.
    long long sy = from.y + ((2LL * (y - to.y) + 1) * from.h) / (2LL * to.h);
    if (sy < 0 || sy >= src.height) continue;
    for (int x = x0; x < x1; ++x) {
      long long sx = from.x + ((2LL * (x - to.x) + 1) * from.w) / (2LL * to.w);
      if (sx < 0 || sx >= src.width) continue;
      Pixel& d = dst.At(x, y);
      d = Over(d, src.At(static_cast<int>(sx), static_cast<int>(sy)), constantAlpha);
    }
  }
}

void FillRect(Surface& dst, int x, int y, int w, int h, Pixel colour) {
  int x0 = std::max(x, 0), y0 = std::max(y, 0);
  int x1 = static_cast<int>(std::min<long long>(1LL * x + w, dst.width));
  int y1 = static_cast<int>(std::min<long long>(1LL * y + h, dst.height));
  for (int row = y0; row < y1; ++row)
    for (int col = x0; col < x1; ++col) dst.At(col, row) = Over(dst.At(col, row), colour);
}

}  // namespace orv::gfx
