// Text for the simulated screen: the dialog font ("MS Shell Dlg" in the role of
// a Latin sans face, with a CJK face for the characters it lacks) rendered with
// FreeType from the font files installed on this machine.
#pragma once
#include <string>
#include <vector>

#include "platform/gfx/sim/surface.h"

namespace orv::gfx {

struct FontSpec {
  int pixelHeight = 11;  // em size in pixels: 8 points at 96 dots per inch
  bool bold = false;
};

// Pixels of points at the screen's 96 dots per inch (MulDiv(points, 96, 72)).
int PointsToPixels(int points);

struct FontMetrics {
  int ascent = 0;        // above the baseline
  int descent = 0;       // below it
  int height = 0;        // ascent + descent: one line
  int averageWidth = 0;  // of the 52 Latin letters, rounded, as dialog units use it
};

FontMetrics MeasureFont(const FontSpec& font);
// The advance of a text (UTF-8, the machine's ANSI code page) on one line.
int TextWidth(const FontSpec& font, const std::string& text);
// Draws one line with its top at y, clipped to clip (and the surface).
void DrawTextLine(Surface& dst, int x, int y, const std::string& text, Pixel colour, const FontSpec& font,
                  const IntRect& clip);
// The text broken into lines no wider than width: at spaces, between CJK
// characters, and at line breaks; a word wider than the line stands alone.
std::vector<std::string> WrapText(const FontSpec& font, const std::string& text, int width);
// The text as shown: each "&" that marks the next character as a mnemonic
// dropped, "&&" shown as one "&".
std::string WithoutMnemonics(const std::string& text);

// Whether the font files were found (the text is drawn only then).
bool FontsAvailable();

}  // namespace orv::gfx
