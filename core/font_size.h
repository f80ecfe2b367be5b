// Font sizes: the editor keeps its font as a character height in pixels
// (negative, as LOGFONT does) and shows it to the user in whole points.
#pragma once

#include <cstdint>

namespace quolvi {

// number * numerator / denominator rounded to the nearest integer, halves
// away from zero; -1 when denominator is 0. The same as the system's MulDiv.
constexpr int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  std::int64_t product = static_cast<std::int64_t>(number) * numerator;
  std::int64_t half = (denominator < 0 ? -denominator : denominator) / 2;
  bool negative = (product < 0) != (denominator < 0);
  std::int64_t magnitude = (product < 0 ? -product : product) + half;
  std::int64_t quotient = magnitude / (denominator < 0 ? -static_cast<std::int64_t>(denominator) : denominator);
  return static_cast<int>(negative ? -quotient : quotient);
}

constexpr int PointSizeFromHeight(int height, int dpi) { return -MulDiv(height, 72, dpi); }
constexpr int HeightFromPointSize(int points, int dpi) { return -MulDiv(points, dpi, 72); }

}  // namespace quolvi
