// libFuzzer target: the PNG loader on arbitrary bytes must fail cleanly or give
// a whole picture of sane size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/gfx/sim/png.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  orv::gfx::Surface picture;
  if (orv::gfx::DecodePng(data, size, &picture) == orv::gfx::Ok) {
    if (picture.Empty() || picture.pixels.size() != std::size_t(picture.width) * picture.height)
      std::abort();
  } else if (!picture.pixels.empty()) {
    std::abort();  // a failure left a half picture behind
  }
  return 0;
}
