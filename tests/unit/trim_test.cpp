#include "core/trim.h"

#include <gtest/gtest.h>

namespace quolvi {
namespace {

TEST(TrimTest, RemovesBytesOf32OrLessFromBothEndsOnly) {
  EXPECT_EQ(Trim(" \t\r\n a b \x01\x1F "), "a b");
  EXPECT_EQ(Trim(" \t\r\n"), "");
  EXPECT_EQ(Trim(""), "");
  EXPECT_EQ(Trim("　"), "　");  // the ideographic space stays
  EXPECT_EQ(Trim(" \x81\x40 "), "\x81\x40");
  EXPECT_EQ(Trim("\x7F"), "\x7F");
  EXPECT_EQ(Trim("\xA0 "), "\xA0");
}

TEST(TrimTest, TheTextToRunHasEveryControlByteAsOneBlankInside) {
  EXPECT_EQ(TextToRun(" \tC:\\a b.exe\r\nword\x01\x1F\x7Fx \r\n"), "C:\\a b.exe  word  \x7Fx");
  EXPECT_EQ(TextToRun("ソ表\t能"), "ソ表 能");  // trail bytes 0x5C stay
  EXPECT_EQ(TextToRun("\r\n\t \x1F"), "");
  EXPECT_EQ(TextToRun("\t　\r\n"), "　");
}

}  // namespace
}  // namespace quolvi
