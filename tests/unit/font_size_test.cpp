#include "core/font_size.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quolvi
