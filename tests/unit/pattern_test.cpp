#include "core/pattern.h"

#include <gtest/gtest.h>

namespace quolvi {
namespace {

using Tokens = std::vector<std::string>;

TEST(PatternTest, SplitsAtUnescapedWildcardsAndDropsTrailingOnes) {
  EXPECT_EQ(SplitPattern("abc"), Tokens{"abc"});
  EXPECT_EQ(SplitPattern("a*b?c"), (Tokens{"a", "*", "b", "?", "c"}));
  EXPECT_EQ(SplitPattern("*?ab**"), (Tokens{"*", "?", "ab"}));
  EXPECT_EQ(SplitPattern("a*"), Tokens{"a"});
  EXPECT_EQ(SplitPattern("a?*?"), Tokens{"a"});
  EXPECT_EQ(SplitPattern("*?*"), Tokens{});
  EXPECT_EQ(SplitPattern(""), Tokens{});
}

TEST(PatternTest, ABackslashBeforeAWildcardEscapesIt) {
  EXPECT_EQ(SplitPattern("a\\*b"), Tokens{"a\\*b"});
  EXPECT_EQ(SplitPattern("\\?"), Tokens{"\\?"});
  // Only the one character before counts: "\\*" is one literal.
  EXPECT_EQ(SplitPattern("\\\\*"), Tokens{"\\\\*"});
  EXPECT_EQ(SplitPattern("*\\"), (Tokens{"*", "\\"}));
}

TEST(PatternTest, DoubleByteCharactersAreIndivisible) {
  // 表 ends with the byte 0x5C, which is no backslash here.
  EXPECT_EQ(SplitPattern("表*"), Tokens{"表"});
  EXPECT_EQ(SplitPattern("表*ソ"), (Tokens{"表", "*", "ソ"}));
  EXPECT_EQ(SplitPattern("能?x"), (Tokens{"能", "?", "x"}));
  EXPECT_EQ(UnescapeText("表示"), "表示");
  EXPECT_EQ(UnescapeText("ソ\\t予十"), "ソ\t予十");
  EXPECT_EQ(UnescapeText("\\表"), "表");
}

TEST(PatternTest, Escapes) {
  EXPECT_EQ(UnescapeText("\\*\\?\\\\"), "*?\\");
  EXPECT_EQ(UnescapeText("\\n"), "\r\n");
  EXPECT_EQ(UnescapeText("\\r\\n"), "\r\r\n");
  EXPECT_EQ(UnescapeText("\\t"), "\t");
  EXPECT_EQ(UnescapeText("\\N\\R\\T"), "NRT");  // lower case only
  EXPECT_EQ(UnescapeText("\\41\\2a\\2A\\20"), "A** ");
  EXPECT_EQ(UnescapeText("\\00"), "00");  // value 0 is no escape
  EXPECT_EQ(UnescapeText("\\q"), "q");
  EXPECT_EQ(UnescapeText("ab\\"), "ab");      // a dangling backslash is dropped
  EXPECT_EQ(UnescapeText("\\4g"), "4g");      // not two hexadecimal digits
  EXPECT_EQ(UnescapeText("\\n1"), "\r\n1");   // "n1" is no number; "\n" then is
  EXPECT_EQ(UnescapeText("\\95\\5C"), "表");  // two escapes spell a double-byte character
  EXPECT_EQ(UnescapeText("\\ff"), "\xFF");
  EXPECT_EQ(UnescapeText("*?"), "*?");
}

}  // namespace
}  // namespace quolvi
