// A small stroke font (capitals, digits, a few signs) for the names and numbers
// on the generated pictures.
#pragma once
#include <string>

#include "tools/artwork/painter.h"

namespace orv::artwork {

// Width in pixels of a text line drawn with the given cap height.
float TextWidth(const std::string& text, float height);
// Adds the strokes of the text to the painter's mask; (x, y) is the top left of
// the capitals. Unknown characters are left out as spaces.
void Text(Painter& painter, const std::string& text, float x, float y, float height, float stroke);
// The same, centred on cx.
void TextCentred(Painter& painter, const std::string& text, float cx, float y, float height,
                 float stroke);

}  // namespace orv::artwork
