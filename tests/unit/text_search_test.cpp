#include "core/text_search.h"

#include <gtest/gtest.h>

namespace quolvi {
namespace {

TEST(TextSearchTest, FindsWhollyInsideTheRange) {
  EXPECT_EQ(FindInText("abcABC", "ABC", 0, 6, true), 3);
  EXPECT_EQ(FindInText("abcABC", "ABC", 0, 6, false), 0);
  EXPECT_EQ(FindInText("abcABC", "ABC", 4, 2, false), -1);
  EXPECT_EQ(FindInText("abcABC", "ABC", 1, 4, false), -1);
  EXPECT_EQ(FindInText("abcABC", "ABC", 1, 5, false), 3);
  EXPECT_EQ(FindInText("abcABC", "C", 5, 1, true), 5);  // at the very end
}

TEST(TextSearchTest, NothingToFind) {
  EXPECT_EQ(FindInText("", "a", 0, 0, true), -1);
  EXPECT_EQ(FindInText("abc", "", 0, 3, true), -1);
  EXPECT_EQ(FindInText("abc", "a", 3, 0, true), -1);
  EXPECT_EQ(FindInText("abc", "a", 7, 1, true), -1);
  EXPECT_EQ(FindInText("abc", "abcd", 0, 3, true), -1);
}

TEST(TextSearchTest, NeverMatchesTheSecondByteOfADoubleByteCharacter) {
  EXPECT_EQ(FindInText("表\\", "\\", 0, 3, true), 2);  // 表 is 0x95 0x5C
  EXPECT_EQ(FindInText("表", "\\", 0, 2, true), -1);
  EXPECT_EQ(FindInText("　@", "@", 0, 3, true), 2);  // 　 is 0x81 0x40
  EXPECT_EQ(FindInText("ソ表", "表", 0, 4, true), 2);
  EXPECT_EQ(FindInText("\x95\x5C", "\x5C", 1, 1, true), -1);  // even when the range starts there
  EXPECT_EQ(FindInText("x\x95", "\x95", 0, 2, true), 1);      // a lone lead byte is a character
}

TEST(TextSearchTest, CaseFoldsAsciiAndFullWidthLettersOnly) {
  EXPECT_EQ(FindInText("ｘＡＢ", "ａｂ", 0, 6, false), 2);
  EXPECT_EQ(FindInText("ｘＡＢ", "ａｂ", 0, 6, true), -1);
  EXPECT_EQ(FindInText("Zz", "zZ", 0, 2, false), 0);
  EXPECT_EQ(FindInText("Α", "α", 0, 2, false), -1);  // Greek letters keep their case
  EXPECT_EQ(FindInText("@", "`", 0, 1, false), -1);  // 0x40 and 0x60 differ by case bit only
  EXPECT_EQ(FindInText("[", "{", 0, 1, false), -1);
}

TEST(TextSearchTest, PatternsMayHoldLineBreaksAndTabs) {
  EXPECT_EQ(FindInText("a\tb\r\nc", "b\r\nc", 0, 6, true), 2);
  EXPECT_EQ(FindInText("a\tb\r\nc", "\t", 0, 6, true), 1);
}

}  // namespace
}  // namespace quolvi
