#include "editor/text_search.h"

#include <gtest/gtest.h>

namespace quolvi {
namespace {

TEST(TextSearchTest, FindsWhollyInsideTheRange) {
  EXPECT_EQ(FindText("abcABC", "ABC", 0, 6, true), 3);
  EXPECT_EQ(FindText("abcABC", "ABC", 0, 6, false), 0);
  EXPECT_EQ(FindText("abcABC", "ABC", 4, 2, false), -1);
  EXPECT_EQ(FindText("abcABC", "ABC", 1, 4, false), -1);
  EXPECT_EQ(FindText("abcABC", "ABC", 1, 5, false), 3);
  EXPECT_EQ(FindText("abcABC", "C", 5, 1, true), 5);  // at the very end
}

TEST(TextSearchTest, NothingToFind) {
  EXPECT_EQ(FindText("", "a", 0, 0, true), -1);
  EXPECT_EQ(FindText("abc", "", 0, 3, true), -1);
  EXPECT_EQ(FindText("abc", "a", 3, 0, true), -1);
  EXPECT_EQ(FindText("abc", "a", 7, 1, true), -1);
  EXPECT_EQ(FindText("abc", "abcd", 0, 3, true), -1);
}

TEST(TextSearchTest, NeverMatchesTheSecondByteOfADoubleByteCharacter) {
  EXPECT_EQ(FindText("表\\", "\\", 0, 3, true), 2);       // 表 is 0x95 0x5C
  EXPECT_EQ(FindText("表", "\\", 0, 2, true), -1);
  EXPECT_EQ(FindText("　@", "@", 0, 3, true), 2);         // 　 is 0x81 0x40
  EXPECT_EQ(FindText("ソ表", "表", 0, 4, true), 2);
  EXPECT_EQ(FindText("\x95\x5C", "\x5C", 1, 1, true), -1);  // even when the range starts there
  EXPECT_EQ(FindText("x\x95", "\x95", 0, 2, true), 1);       // a lone lead byte is a character
}

TEST(TextSearchTest, CaseFoldsAsciiAndFullWidthLettersOnly) {
  EXPECT_EQ(FindText("ｘＡＢ", "ａｂ", 0, 6, false), 2);
  EXPECT_EQ(FindText("ｘＡＢ", "ａｂ", 0, 6, true), -1);
  EXPECT_EQ(FindText("Zz", "zZ", 0, 2, false), 0);
  EXPECT_EQ(FindText("Α", "α", 0, 2, false), -1);   // Greek letters keep their case
  EXPECT_EQ(FindText("@", "`", 0, 1, false), -1);   // 0x40 and 0x60 differ by case bit only
  EXPECT_EQ(FindText("[", "{", 0, 1, false), -1);
}

TEST(TextSearchTest, PatternsMayHoldLineBreaksAndTabs) {
  EXPECT_EQ(FindText("a\tb\r\nc", "b\r\nc", 0, 6, true), 2);
  EXPECT_EQ(FindText("a\tb\r\nc", "\t", 0, 6, true), 1);
}

}  // namespace
}  // namespace quolvi
