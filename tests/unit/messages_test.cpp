#include "app/messages.h"

#include <gtest/gtest.h>

namespace quolvi::messages {
namespace {

TEST(MessagesTest, WithPathPutsThePathInPlaceOfThePlaceholder) {
  EXPECT_EQ(WithPath("ﾌｧｲﾙ %s は開けません", "C:\\表\\a.txt"), "ﾌｧｲﾙ C:\\表\\a.txt は開けません");
  EXPECT_EQ(WithPath("%s", "%s"), "%s");
  EXPECT_EQ(WithPath("none", "x"), "none");
}

}  // namespace
}  // namespace quolvi::messages
