// Antialiased shape painting for the picture generator. Shapes are signed distance
// functions; each shape adds its coverage to a mask (or cuts it out), and Fill
// composites the mask in one colour, so overlapping strokes of one glyph blend once.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/gfx/sim/surface.h"

namespace orv::artwork {

struct Pt {
  float x, y;
};

class Painter {
 public:
  explicit Painter(gfx::Surface& target);

  // Shapes, in pixel coordinates (pixel centres at +0.5).
  void Circle(float cx, float cy, float r);
  void Ring(float cx, float cy, float r, float width);
  void RoundRect(float x, float y, float w, float h, float radius);
  // The outline of a rounded rectangle, width inside its edge.
  void RoundFrame(float x, float y, float w, float h, float radius, float width);
  void Line(Pt a, Pt b, float width);
  void Polyline(const std::vector<Pt>& points, float width);
  // Angles in degrees, clockwise from the +x axis (y runs down).
  void Arc(float cx, float cy, float r, float fromDeg, float toDeg, float width);
  void Polygon(const std::vector<Pt>& points);
  // The lens where two circles overlap.
  void Lens(Pt c1, Pt c2, float r);

  // Following shapes cut the mask instead of adding to it (until Fill).
  void Cutting(bool on) { cutting_ = on; }
  // Composites the mask in a straight 0xAARRGGBB colour and clears it.
  void Fill(std::uint32_t colour);
  // The same with a vertical gradient between two rows.
  void FillGradient(std::uint32_t top, std::uint32_t bottom, float y0, float y1);

 private:
  template <class Sdf>
  void Shape(float x0, float y0, float x1, float y1, Sdf sdf);
  gfx::Surface& target_;
  std::vector<float> mask_;
  bool cutting_ = false;
};

}  // namespace orv::artwork
