// Font sizes: the editor keeps its font as a character height in pixels
// (negative, as LOGFONT does) and shows it to the user in whole points.
#pragma once

#include <cstdint>

namespace quolvi {

// number * numerator / denominator rounded to the nearest integer, halves
// away from zero; -1 when denominator is 0 or when the result lies outside
// -2147483647 to 2147483647, so it can always be negated. The same as the
// system's MulDiv, which first negates number and denominator when the
// denominator is negative, in 32 bits, where INT_MIN stays INT_MIN.
constexpr int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  std::int64_t n = number;
  std::int64_t d = denominator;
  if (d < 0) {
    n = n == INT32_MIN ? n : -n;
    d = d == INT32_MIN ? d : -d;
  }
  std::int64_t product = n * numerator;
  std::int64_t half = d / 2;
  std::int64_t result = ((n < 0) == (numerator < 0) ? product + half : product - half) / d;
  return result > INT32_MAX || result < -INT32_MAX ? -1 : static_cast<int>(result);
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
