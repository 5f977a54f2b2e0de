// The panel brightness as a step of the brightness pictures (0..8).
#pragma once

// 0 for brightness 0, else brightness / 10 - 2. A brightness below the pictures'
// range (another program may set 10 %) shows the lowest step and one above it
// (an event carries a byte) the highest, rather than asking for a picture that
// does not exist.
inline int BrightnessStep(int brightness) {
  if (brightness <= 0) return 0;
  const int step = brightness / 10 - 2;
  return step < 0 ? 0 : step > 8 ? 8 : step;
}
