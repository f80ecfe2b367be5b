// Colour values as the program stores them: 0 to 0x00FFFFFF is an RGB colour
// with red in the low byte; 0x80000000 plus n is the system colour with
// index n, looked up when the colour is applied.
#pragma once

#include <cstdint>

namespace quolvi {

using ColorValue = std::int32_t;

inline constexpr ColorValue kSystemColorFlag = static_cast<ColorValue>(0x80000000u);
inline constexpr ColorValue kClWindow = kSystemColorFlag | 5;      // COLOR_WINDOW
inline constexpr ColorValue kClWindowText = kSystemColorFlag | 8;  // COLOR_WINDOWTEXT

constexpr bool IsSystemColor(ColorValue c) { return (c & kSystemColorFlag) != 0; }
constexpr int SystemColorIndex(ColorValue c) { return c & 0xFF; }

}  // namespace quolvi
