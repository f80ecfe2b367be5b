#include "core/find_options.h"

#include <gtest/gtest.h>

#include "core/matcher.h"

namespace quolvi {
namespace {

TEST(FindOptionsTest, EachFlagHasItsBit) {
  EXPECT_EQ(FindOptionsFromFlags(0x1 | 0x10000 | 0x4000), 0x1 | 0x8 | 0x10);  // the creation flags
  EXPECT_EQ(FindOptionsFromFlags(0x4), kOptionMatchCase);
  EXPECT_EQ(FindOptionsFromFlags(0x10), kOptionReplace);
  EXPECT_EQ(FindOptionsFromFlags(0x20), kOptionReplaceAll);
  EXPECT_EQ(FindOptionsFromFlags(0x8 | 0x2 | 0x80), 0x2 | 0x800 | 0x1000);
  EXPECT_EQ(FindOptionsFromFlags(0x800 | 0x400 | 0x1000 | 0x8000), 0x40 | 0x80 | 0x100 | 0x4);
  EXPECT_EQ(FindOptionsFromFlags(0x40 | 0x100 | 0x200 | 0x2000), 0);  // flags without an option
}

}  // namespace
}  // namespace quolvi
