// The HDD dialog's pictures: its two backgrounds (English and Traditional
// Chinese) and the four button faces, with the resource file names the tray's
// resource script gives them.
#pragma once
#include <string>
#include <vector>

#include "platform/gfx/sim/surface.h"

namespace orv::artwork {

// The key colour of the backgrounds: what the dialog's shape leaves out.
constexpr std::uint32_t kHddKeyColour = 0xFF00FF00;

// 510 x 288, opaque: a rounded blue panel on the key colour, a warning sign,
// the question and a disk turning into a disabled one.
gfx::Surface HddBackground(bool chinese);
// 120 x 53 with straight-alpha rounded edges: a blue button face with its word.
gfx::Surface HddFace(bool yes, bool chinese);

// A 24-bit bottom-up BMP file of an opaque picture.
std::vector<unsigned char> EncodeBmp24(const gfx::Surface& picture);

}  // namespace orv::artwork
