// Font sizes: the editor keeps its font as a character height in pixels
// (negative, as LOGFONT does) and shows it to the user in whole points.
#pragma once

#include <cstdint>

namespace quolvi {

// number * numerator / denominator rounded to the nearest integer, halves
// away from zero; -1 when denominator is 0 or when the result lies outside
// -2147483647 to 2147483647. The same as the system's MulDiv. (Its result is
// never INT_MIN, so it can always be negated.)
constexpr int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  std::int64_t product = static_cast<std::int64_t>(number) * numerator;
  std::int64_t divisor = denominator < 0 ? -static_cast<std::int64_t>(denominator) : denominator;
  bool negative = (product < 0) != (denominator < 0);
  std::int64_t quotient = ((product < 0 ? -product : product) + divisor / 2) / divisor;
  if (quotient > INT32_MAX) return -1;
  return static_cast<int>(negative ? -quotient : quotient);
}

constexpr int PointSizeFromHeight(int height, int dpi) { return -MulDiv(height, 72, dpi); }
constexpr int HeightFromPointSize(int points, int dpi) { return -MulDiv(points, dpi, 72); }

// A point size in twips (twentieths of a point), as the editor control takes
// it; sizes beyond what 32 bits hold give the nearest that they do.
constexpr std::int32_t TwipsFromPointSize(int points) {
  std::int64_t twips = static_cast<std::int64_t>(points) * 20;
  return twips > INT32_MAX ? INT32_MAX : twips < INT32_MIN ? INT32_MIN : static_cast<std::int32_t>(twips);
}

}  // namespace quolvi
