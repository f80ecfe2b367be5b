#include "core/font_size.h"

#include <gtest/gtest.h>

#include <climits>

namespace quolvi {
namespace {

TEST(FontSizeTest, MulDivRoundsHalvesAwayFromZero) {
  EXPECT_EQ(MulDiv(1, 1, 2), 1);
  EXPECT_EQ(MulDiv(-1, 1, 2), -1);
  EXPECT_EQ(MulDiv(3, 1, 2), 2);
  EXPECT_EQ(MulDiv(-3, 1, 2), -2);
  EXPECT_EQ(MulDiv(5, 1, -2), -3);
  EXPECT_EQ(MulDiv(7, 1, 3), 2);
  EXPECT_EQ(MulDiv(8, 1, 3), 3);
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
  EXPECT_EQ(MulDiv(0x40000000, 4, 8), 0x20000000);  // no overflow in between
}

TEST(FontSizeTest, PointSizesAtCommonResolutions) {
  EXPECT_EQ(PointSizeFromHeight(-17, 96), 13);
  EXPECT_EQ(PointSizeFromHeight(-17, 120), 10);
  EXPECT_EQ(HeightFromPointSize(13, 96), -17);
  EXPECT_EQ(HeightFromPointSize(10, 120), -17);
  EXPECT_EQ(HeightFromPointSize(12, 96), -16);
  EXPECT_EQ(PointSizeFromHeight(-16, 96), 12);
  EXPECT_EQ(HeightFromPointSize(0, 96), 0);
  EXPECT_EQ(HeightFromPointSize(-5, 96), 7);  // a size of 0 or less comes from the settings file
}

TEST(FontSizeTest, MulDivGivesMinusOneWhenTheResultOverflows) {
  EXPECT_EQ(MulDiv(INT_MAX, 1, 1), INT_MAX);
  EXPECT_EQ(MulDiv(-INT_MAX, 1, 1), -INT_MAX);
  EXPECT_EQ(MulDiv(INT_MIN, 1, 1), -1);  // INT_MIN itself counts as an overflow
  EXPECT_EQ(MulDiv(INT_MIN, -1, 1), -1);
  EXPECT_EQ(MulDiv(INT_MAX, 2, 1), -1);
  EXPECT_EQ(MulDiv(INT_MAX, 96, 72), -1);
  EXPECT_EQ(MulDiv(INT_MIN, INT_MIN, INT_MAX), -1);
  EXPECT_EQ(MulDiv(INT_MIN, 1, 2), -1073741824);
  EXPECT_EQ(MulDiv(INT_MAX, INT_MAX, INT_MAX), INT_MAX);
  EXPECT_EQ(MulDiv(INT_MIN, 72, -72), -1);
}

TEST(FontSizeTest, AnyPointSizeConvertsWithoutOverflow) {
  // The settings file may hold any 32-bit size; each must give some height
  // and back some size and twips, never a signed overflow.
  for (int dpi : {72, 96, 120, 144}) {
    for (int points : {INT_MIN, INT_MIN + 1, -107374183, -1, 0, 1, 107374183, INT_MAX - 1, INT_MAX}) {
      int height = HeightFromPointSize(points, dpi);
      int shown = PointSizeFromHeight(height, dpi);
      TwipsFromPointSize(shown);
    }
  }
  EXPECT_EQ(HeightFromPointSize(INT_MAX, 96), 1);  // MulDiv overflowed: -1
  EXPECT_EQ(HeightFromPointSize(INT_MIN, 72), 1);
  EXPECT_EQ(PointSizeFromHeight(INT_MIN, 72), 1);
  EXPECT_EQ(TwipsFromPointSize(13), 260);
  EXPECT_EQ(TwipsFromPointSize(-5), -100);
  EXPECT_EQ(TwipsFromPointSize(107374182), 2147483640);
  EXPECT_EQ(TwipsFromPointSize(107374183), INT_MAX);
  EXPECT_EQ(TwipsFromPointSize(INT_MIN), INT_MIN);
}

}  // namespace
}  // namespace quolvi
