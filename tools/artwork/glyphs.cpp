// Geometry of each symbol, in units around its centre.
#include "tools/artwork/glyphs.h"

#include <vector>

#include "tools/artwork/font.h"

namespace orv::artwork {
namespace {

struct Frame {
  float cx, cy, u;
  Pt P(float x, float y) const { return {cx + x * u, cy + y * u}; }
};

void Speaker(Painter& p, const Frame& f) {
  p.Polygon({f.P(-38, -12), f.P(-20, -12), f.P(-2, -30), f.P(-2, 30), f.P(-20, 12), f.P(-38, 12)});
}

}  // namespace

void DrawSymbol(Painter& p, Symbol symbol, float cx, float cy, float u) {
  Frame f{cx, cy, u};
  switch (symbol) {
    case Symbol::Wireless:
      p.Circle(cx, cy + 28 * u, 8 * u);
      for (float r : {22.0f, 39.0f, 56.0f}) p.Arc(cx, cy + 28 * u, r * u, 225, 315, 9 * u);
      break;
    case Symbol::Bluetooth:
      p.Polyline({f.P(-20, -20), f.P(20, 20), f.P(0, 40), f.P(0, -40), f.P(20, -20), f.P(-20, 20)},
                 8 * u);
      break;
    case Symbol::TouchPad:
      p.RoundFrame(cx - 42 * u, cy - 36 * u, 84 * u, 72 * u, 12 * u, 7 * u);
      p.Line(f.P(-40, 14), f.P(40, 14), 6 * u);
      p.Line(f.P(0, 14), f.P(0, 34), 6 * u);
      break;
    case Symbol::WebCam:
      p.Ring(cx, cy - 10 * u, 28 * u, 8 * u);
      p.Circle(cx, cy - 10 * u, 11 * u);
      p.Line(f.P(0, 22), f.P(0, 36), 8 * u);
      p.Line(f.P(-22, 38), f.P(22, 38), 8 * u);
      break;
    case Symbol::Turbo:
      p.Polygon({f.P(10, -44), f.P(-26, 8), f.P(-2, 8), f.P(-12, 44), f.P(26, -8), f.P(2, -8)});
      break;
    case Symbol::Eco:
      // A leaf along the diagonal, with its vein cut out and a stem.
      p.Lens(f.P(-19, -19), f.P(19, 19), 52 * u);
      p.Cutting(true);
      p.Line(f.P(-26, 26), f.P(22, -22), 4 * u);
      p.Cutting(false);
      p.Line(f.P(-30, 30), f.P(-42, 42), 6 * u);
      break;
    case Symbol::ThreeG:
      TextCentred(p, "3G", cx, cy - 27 * u, 54 * u, 10 * u);
      break;
    case Symbol::Hdd:
      p.RoundFrame(cx - 40 * u, cy - 34 * u, 80 * u, 68 * u, 10 * u, 7 * u);
      p.Ring(cx - 6 * u, cy - 4 * u, 17 * u, 6 * u);
      p.Circle(cx - 6 * u, cy - 4 * u, 4 * u);
      p.Line(f.P(26, 22), f.P(4, 2), 6 * u);
      break;
    case Symbol::Speaker:
      Speaker(p, f);
      p.Arc(cx + 2 * u, cy, 16 * u, -50, 50, 6 * u);
      p.Arc(cx + 2 * u, cy, 30 * u, -50, 50, 6 * u);
      break;
    case Symbol::SpeakerMuted:
      Speaker(p, f);
      p.Line(f.P(12, -14), f.P(38, 12), 7 * u);
      p.Line(f.P(38, -14), f.P(12, 12), 7 * u);
      break;
    case Symbol::Sun:
      p.Circle(cx, cy, 17 * u);
      for (int i = 0; i < 8; ++i) {
        static const float kDirs[8][2] = {{1, 0}, {0.7071f, 0.7071f}, {0, 1}, {-0.7071f, 0.7071f},
                                          {-1, 0}, {-0.7071f, -0.7071f}, {0, -1}, {0.7071f, -0.7071f}};
        p.Line(f.P(kDirs[i][0] * 27, kDirs[i][1] * 27), f.P(kDirs[i][0] * 40, kDirs[i][1] * 40), 7 * u);
      }
      break;
    case Symbol::Theater:
      p.RoundFrame(cx - 44 * u, cy - 34 * u, 88 * u, 56 * u, 6 * u, 6 * u);
      p.Polygon({f.P(-10, -20), f.P(14, -6), f.P(-10, 8)});
      p.Line(f.P(-20, 36), f.P(20, 36), 6 * u);
      p.Line(f.P(0, 22), f.P(0, 36), 6 * u);
      break;
  }
}

void DrawStrike(Painter& p, float cx, float cy, float u) {
  Pt a{cx - 40 * u, cy - 40 * u}, b{cx + 40 * u, cy + 40 * u};
  p.Line(a, b, 15 * u);
  p.Fill(0xE0181A1E);
  p.Line(a, b, 8 * u);
  p.Fill(0xFFE53935);
}

}  // namespace orv::artwork
