// The program runs in code page 932: its own narrow strings must be compiled
// to Shift-JIS bytes, not left as the UTF-8 of the source files.
#include <gtest/gtest.h>

#include <string>

#include "app/messages.h"

namespace quolvi {
namespace {

TEST(ExecCharsetTest, NarrowStringsAreShiftJis) {
  EXPECT_EQ(std::string("日本"), "\x93\xFA\x96\x7B");
  EXPECT_EQ(std::string("表"), "\x95\x5C");
  EXPECT_EQ(std::string(messages::kCannotOpenFile).substr(0, 4), "\xCC\xA7\xB2\xD9");  // ﾌｧｲﾙ
  EXPECT_EQ(std::string(messages::kStreamWriteFailed).substr(0, 2), "\xBD\xC4");       // ｽﾄ
}

}  // namespace
}  // namespace quolvi
