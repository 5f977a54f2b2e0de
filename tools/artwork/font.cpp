// Glyphs as polylines on a 4 x 6 grid, y down.
#include "tools/artwork/font.h"

#include <map>
#include <vector>

namespace orv::artwork {
namespace {

using Strokes = std::vector<std::vector<Pt>>;
constexpr float kGlyphWidth = 4, kGlyphHeight = 6, kAdvance = 5.6f, kSpace = 3.5f;

const std::vector<Pt> kO = {{1, 0}, {3, 0}, {4, 1}, {4, 5}, {3, 6}, {1, 6}, {0, 5}, {0, 1}, {1, 0}};
const std::vector<Pt> kP = {{0, 6}, {0, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}, {0, 3}};

const std::map<char, Strokes>& Glyphs() {
  static const std::map<char, Strokes> glyphs = {
      {'A', {{{0, 6}, {0, 2}, {2, 0}, {4, 2}, {4, 6}}, {{0, 3.5f}, {4, 3.5f}}}},
      {'B', {{{0, 0}, {0, 6}, {3, 6}, {4, 5}, {4, 4}, {3, 3}, {0, 3}}, {{0, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}}}},
      {'C', {{{4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 5}, {1, 6}, {3, 6}, {4, 5}}}},
      {'D', {{{0, 0}, {0, 6}, {2.5f, 6}, {4, 4.5f}, {4, 1.5f}, {2.5f, 0}, {0, 0}}}},
      {'E', {{{4, 0}, {0, 0}, {0, 6}, {4, 6}}, {{0, 3}, {3, 3}}}},
      {'F', {{{4, 0}, {0, 0}, {0, 6}}, {{0, 3}, {3, 3}}}},
      {'G', {{{4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 3.5f}, {2.5f, 3.5f}}}},
      {'H', {{{0, 0}, {0, 6}}, {{4, 0}, {4, 6}}, {{0, 3}, {4, 3}}}},
      {'I', {{{1, 0}, {3, 0}}, {{2, 0}, {2, 6}}, {{1, 6}, {3, 6}}}},
      {'J', {{{4, 0}, {4, 5}, {3, 6}, {1, 6}, {0, 5}}}},
      {'K', {{{0, 0}, {0, 6}}, {{4, 0}, {0, 3.5f}}, {{1.3f, 2.7f}, {4, 6}}}},
      {'L', {{{0, 0}, {0, 6}, {4, 6}}}},
      {'M', {{{0, 6}, {0, 0}, {2, 3}, {4, 0}, {4, 6}}}},
      {'N', {{{0, 6}, {0, 0}, {4, 6}, {4, 0}}}},
      {'O', {kO}},
      {'P', {kP}},
      {'Q', {kO, {{2.5f, 4.5f}, {4, 6}}}},
      {'R', {kP, {{2, 3}, {4, 6}}}},
      {'S', {{{4, 1}, {3, 0}, {1, 0}, {0, 1}, {0, 2}, {1, 3}, {3, 3}, {4, 4}, {4, 5}, {3, 6}, {1, 6}, {0, 5}}}},
      {'T', {{{0, 0}, {4, 0}}, {{2, 0}, {2, 6}}}},
      {'U', {{{0, 0}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 0}}}},
      {'V', {{{0, 0}, {2, 6}, {4, 0}}}},
      {'W', {{{0, 0}, {1, 6}, {2, 3}, {3, 6}, {4, 0}}}},
      {'X', {{{0, 0}, {4, 6}}, {{4, 0}, {0, 6}}}},
      {'Y', {{{0, 0}, {2, 3}, {4, 0}}, {{2, 3}, {2, 6}}}},
      {'Z', {{{0, 0}, {4, 0}, {0, 6}, {4, 6}}}},
      {'0', {kO, {{0.6f, 5}, {3.4f, 1}}}},
      {'1', {{{1, 1}, {2, 0}, {2, 6}}, {{1, 6}, {3, 6}}}},
      {'2', {{{0, 1}, {1, 0}, {3, 0}, {4, 1}, {4, 2}, {0, 6}, {4, 6}}}},
      {'3', {{{0, 1}, {1, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}, {4, 4}, {4, 5}, {3, 6}, {1, 6}, {0, 5}}, {{1.5f, 3}, {3, 3}}}},
      {'4', {{{3, 6}, {3, 0}, {0, 4}, {4, 4}}}},
      {'5', {{{4, 0}, {0, 0}, {0, 3}, {3, 3}, {4, 4}, {4, 5}, {3, 6}, {0, 6}}}},
      {'6', {{{3.5f, 0}, {1, 0}, {0, 1}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 4}, {3, 3}, {0, 3}}}},
      {'7', {{{0, 0}, {4, 0}, {1.5f, 6}}}},
      {'8', {{{1, 0}, {3, 0}, {4, 1}, {4, 2}, {3, 3}, {1, 3}, {0, 2}, {0, 1}, {1, 0}},
             {{1, 3}, {0, 4}, {0, 5}, {1, 6}, {3, 6}, {4, 5}, {4, 4}, {3, 3}}}},
      {'9', {{{4, 3}, {1, 3}, {0, 2}, {0, 1}, {1, 0}, {3, 0}, {4, 1}, {4, 5}, {3, 6}, {0.5f, 6}}}},
      {'%', {{{4, 0}, {0, 6}}, {{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}}, {{3, 5}, {4, 5}, {4, 6}, {3, 6}, {3, 5}}}},
      {'-', {{{1, 3}, {3, 3}}}},
  };
  return glyphs;
}

}  // namespace

float TextWidth(const std::string& text, float height) {
  float unit = height / kGlyphHeight, width = 0;
  for (char c : text) width += (Glyphs().count(c) ? kAdvance : kSpace) * unit;
  if (!text.empty() && Glyphs().count(text.back())) width -= (kAdvance - kGlyphWidth) * unit;
  return width;
}

void Text(Painter& painter, const std::string& text, float x, float y, float height, float stroke) {
  float unit = height / kGlyphHeight;
  for (char c : text) {
    auto glyph = Glyphs().find(c);
    if (glyph == Glyphs().end()) {
      x += kSpace * unit;
      continue;
    }
    for (const auto& line : glyph->second) {
      std::vector<Pt> points;
      for (const Pt& p : line) points.push_back({x + p.x * unit, y + p.y * unit});
      painter.Polyline(points, stroke);
    }
    x += kAdvance * unit;
  }
}

void TextCentred(Painter& painter, const std::string& text, float cx, float y, float height,
                 float stroke) {
  Text(painter, text, cx - TextWidth(text, height) / 2, y, height, stroke);
}

}  // namespace orv::artwork
