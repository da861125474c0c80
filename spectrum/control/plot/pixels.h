#pragma once
// Turning computed coordinates into pixels: only finite values become pixels, clamped to the int
// range and truncated toward zero; NaN becomes 0. Every division by a span that can be 0 is
// tested by its caller first.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

inline int TruncToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (v <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(v);
}

// A computed pixel coordinate: as TruncToInt, but kept within +-2^28, far outside any device
// and far enough inside the int range that the small offsets marks and ticks add never
// overflow.
inline int TruncToPixel(double v) {
  constexpr double kLimit = 268435456.0;
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::clamp(v, -kLimit, kLimit));
}

// A usable, non-zero divisor.
inline bool IsDivisor(double v) { return v != 0.0 && std::isfinite(v); }

// A computed point index: finite, clamped far inside the 64-bit range, truncated toward zero.
inline std::int64_t TruncIndex(double v) {
  constexpr double kLimit = 4.0e18;
  if (std::isnan(v)) return 0;
  if (v >= kLimit) return static_cast<std::int64_t>(kLimit);
  if (v <= -kLimit) return -static_cast<std::int64_t>(kLimit);
  return static_cast<std::int64_t>(v);
}
