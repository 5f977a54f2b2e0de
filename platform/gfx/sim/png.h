// PNG pictures to and from premultiplied surfaces, decoded and encoded by libpng.
// A failed load leaves the output untouched: no half picture.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/sim/status.h"
#include "platform/gfx/sim/surface.h"

namespace orv::gfx {

// Largest picture accepted, per side and in total pixels, so that a damaged or
// hostile header cannot make the loader allocate gigabytes.
constexpr int kMaxPictureSide = 16384;
constexpr long long kMaxPicturePixels = 32LL * 1024 * 1024;

// Decodes PNG bytes. UnknownImageFormat for anything that is not a complete,
// sound PNG; ValueOverflow for a picture above the limits.
Status DecodePng(const void* data, std::size_t size, Surface* out);

// Reads and decodes a file given by its path on this machine. FileNotFound when it
// cannot be opened.
Status LoadPngFile(const std::string& path, Surface* out);

// How hard the encoder compresses: Small for pictures that are kept, Fast for
// frames that are sent on at once and thrown away (several times larger, and
// several times quicker to make).
enum class PngSpeed { Small, Fast };

// Encodes as 8-bit RGBA with straight alpha.
Status EncodePng(const Surface& picture, std::vector<std::uint8_t>* out, PngSpeed speed = PngSpeed::Small);
// Writes atomically: a temporary file beside the target, renamed over it.
Status SavePngFile(const std::string& path, const Surface& picture);

}  // namespace orv::gfx
