// Signed distance functions of the generator's shapes and the mask compositing.
#include "tools/artwork/painter.h"

#include <algorithm>
#include <cmath>

namespace orv::artwork {
namespace {

constexpr float kPi = 3.14159265358979f;

float Length(float x, float y) { return std::sqrt(x * x + y * y); }

float SegmentDistance(Pt p, Pt a, Pt b) {
  float ex = b.x - a.x, ey = b.y - a.y, wx = p.x - a.x, wy = p.y - a.y;
  float ee = ex * ex + ey * ey;
  float t = ee > 0 ? std::clamp((wx * ex + wy * ey) / ee, 0.0f, 1.0f) : 0.0f;
  return Length(wx - ex * t, wy - ey * t);
}

float RoundBox(Pt p, float x, float y, float w, float h, float r) {
  float hx = w / 2, hy = h / 2;
  r = std::min({r, hx, hy});
  float qx = std::fabs(p.x - (x + hx)) - hx + r, qy = std::fabs(p.y - (y + hy)) - hy + r;
  return Length(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - r;
}

std::uint32_t Lerp(std::uint32_t a, std::uint32_t b, float t) {
  std::uint32_t out = 0;
  for (int shift = 0; shift <= 24; shift += 8) {
    float ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
    out |= static_cast<std::uint32_t>(std::lround(ca + (cb - ca) * t)) << shift;
  }
  return out;
}

}  // namespace

Painter::Painter(gfx::Surface& target)
    : target_(target), mask_(static_cast<std::size_t>(target.width) * target.height, 0.0f) {}

template <class Sdf>
void Painter::Shape(float x0, float y0, float x1, float y1, Sdf sdf) {
  int ix0 = std::max(0, static_cast<int>(std::floor(x0 - 1)));
  int iy0 = std::max(0, static_cast<int>(std::floor(y0 - 1)));
  int ix1 = std::min(target_.width, static_cast<int>(std::ceil(x1 + 1)));
  int iy1 = std::min(target_.height, static_cast<int>(std::ceil(y1 + 1)));
  for (int y = iy0; y < iy1; ++y)
    for (int x = ix0; x < ix1; ++x) {
      float c = std::clamp(0.5f - sdf(Pt{x + 0.5f, y + 0.5f}), 0.0f, 1.0f);
      float& m = mask_[static_cast<std::size_t>(y) * target_.width + x];
      m = cutting_ ? m * (1.0f - c) : std::max(m, c);
    }
}

void Painter::Circle(float cx, float cy, float r) {
  Shape(cx - r, cy - r, cx + r, cy + r, [=](Pt p) { return Length(p.x - cx, p.y - cy) - r; });
}

void Painter::Ring(float cx, float cy, float r, float width) {
  float o = r + width / 2;
  Shape(cx - o, cy - o, cx + o, cy + o,
        [=](Pt p) { return std::fabs(Length(p.x - cx, p.y - cy) - r) - width / 2; });
}

void Painter::RoundRect(float x, float y, float w, float h, float radius) {
  Shape(x, y, x + w, y + h, [=](Pt p) { return RoundBox(p, x, y, w, h, radius); });
}

void Painter::RoundFrame(float x, float y, float w, float h, float radius, float width) {
  Shape(x, y, x + w, y + h, [=](Pt p) {
    float outer = RoundBox(p, x, y, w, h, radius);
    float inner = RoundBox(p, x + width, y + width, w - 2 * width, h - 2 * width,
                           std::max(radius - width, 0.0f));
    return std::max(outer, -inner);
  });
}

void Painter::Line(Pt a, Pt b, float width) {
  float h = width / 2;
  Shape(std::min(a.x, b.x) - h, std::min(a.y, b.y) - h, std::max(a.x, b.x) + h,
        std::max(a.y, b.y) + h, [=](Pt p) { return SegmentDistance(p, a, b) - h; });
}

void Painter::Polyline(const std::vector<Pt>& points, float width) {
  for (std::size_t i = 1; i < points.size(); ++i) Line(points[i - 1], points[i], width);
  if (points.size() == 1) Circle(points[0].x, points[0].y, width / 2);
}

void Painter::Arc(float cx, float cy, float r, float fromDeg, float toDeg, float width) {
  float a0 = fromDeg * kPi / 180, a1 = toDeg * kPi / 180;
  Pt e0{cx + r * std::cos(a0), cy + r * std::sin(a0)};
  Pt e1{cx + r * std::cos(a1), cy + r * std::sin(a1)};
  float o = r + width / 2;
  Shape(cx - o, cy - o, cx + o, cy + o, [=](Pt p) {
    float angle = std::atan2(p.y - cy, p.x - cx);
    while (angle < a0) angle += 2 * kPi;
    while (angle > a0 + 2 * kPi) angle -= 2 * kPi;
    if (angle <= a1) return std::fabs(Length(p.x - cx, p.y - cy) - r) - width / 2;
    return std::min(Length(p.x - e0.x, p.y - e0.y), Length(p.x - e1.x, p.y - e1.y)) - width / 2;
  });
}

void Painter::Polygon(const std::vector<Pt>& v) {
  if (v.size() < 3) return;
  float x0 = v[0].x, x1 = v[0].x, y0 = v[0].y, y1 = v[0].y;
  for (const Pt& q : v) {
    x0 = std::min(x0, q.x); x1 = std::max(x1, q.x);
    y0 = std::min(y0, q.y); y1 = std::max(y1, q.y);
  }
  Shape(x0, y0, x1, y1, [&v](Pt p) {
    float d = 1e30f, sign = 1;
    for (std::size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
      d = std::min(d, SegmentDistance(p, v[i], v[j]));
      bool c1 = p.y >= v[i].y, c2 = p.y < v[j].y;
      float ex = v[j].x - v[i].x, ey = v[j].y - v[i].y, wx = p.x - v[i].x, wy = p.y - v[i].y;
      bool c3 = ex * wy > ey * wx;
      if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) sign = -sign;
    }
    return sign * d;
  });
}

void Painter::Lens(Pt c1, Pt c2, float r) {
  float x0 = std::max(c1.x, c2.x) - r, x1 = std::min(c1.x, c2.x) + r;
  float y0 = std::max(c1.y, c2.y) - r, y1 = std::min(c1.y, c2.y) + r;
  Shape(x0, y0, x1, y1, [=](Pt p) {
    return std::max(Length(p.x - c1.x, p.y - c1.y), Length(p.x - c2.x, p.y - c2.y)) - r;
  });
}

void Painter::Fill(std::uint32_t colour) { FillGradient(colour, colour, 0, 1); }

void Painter::FillGradient(std::uint32_t top, std::uint32_t bottom, float y0, float y1) {
  for (int y = 0; y < target_.height; ++y) {
    float t = y1 > y0 ? std::clamp((y + 0.5f - y0) / (y1 - y0), 0.0f, 1.0f) : 0.0f;
    std::uint32_t colour = Lerp(top, bottom, t);
    for (int x = 0; x < target_.width; ++x) {
      float& m = mask_[static_cast<std::size_t>(y) * target_.width + x];
      if (m <= 0) continue;
      std::uint32_t a = static_cast<std::uint32_t>(std::lround((colour >> 24) * m));
      gfx::Pixel src = gfx::Premultiply((a << 24) | (colour & 0xFFFFFF));
      target_.At(x, y) = gfx::Over(target_.At(x, y), src);
      m = 0;
    }
  }
  cutting_ = false;
}

}  // namespace orv::artwork
