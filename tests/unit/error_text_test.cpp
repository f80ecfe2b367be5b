#include "core/error_text.h"

#include <gtest/gtest.h>

namespace quolvi {
namespace {

TEST(ErrorTextTest, AFullStopIsAppendedUnlessTheLastByteIsAtOrBelowIt) {
  EXPECT_EQ(ErrorBoxText("ﾌｧｲﾙ C:\\a.txt は開けません"), "ﾌｧｲﾙ C:\\a.txt は開けません.");
  EXPECT_EQ(ErrorBoxText("done."), "done.");
  EXPECT_EQ(ErrorBoxText("line\r\n"), "line\r\n");
  EXPECT_EQ(ErrorBoxText("a-"), "a-");  // '-' is below '.'
  EXPECT_EQ(ErrorBoxText("a/"), "a/.");
  EXPECT_EQ(ErrorBoxText(""), "");
}

}  // namespace
}  // namespace quolvi
