// The volume's two scales: the endpoint's master scalar (a float 0.0..1.0) and
// the percent 0..100 that the rest of the program uses.
#pragma once

// Rounds to the nearest percent, halves upward: the integer part of
// (scalar + 0.005) x 100 in double precision. Outside 0.0..1.0 (never from a
// working endpoint) it answers the nearer end.
inline int ScalarToPercent(float scalar) {
  if (!(scalar > 0.0f)) return 0;  // NaN too
  if (scalar >= 1.0f) return 100;
  return static_cast<int>((static_cast<double>(scalar) + 0.005) * 100.0);
}

// percent / 100.0, rounded to a float.
inline float PercentToScalar(int percent) { return static_cast<float>(percent / 100.0); }
