#include "app/messages.h"

#include <gtest/gtest.h>

namespace quolvi::messages {
namespace {

TEST(MessagesTest, WithPathPutsThePathInPlaceOfThePlaceholder) {
  EXPECT_EQ(WithPath("ﾌｧｲﾙ %s は開けません", "C:\\表\\a.txt"), "ﾌｧｲﾙ C:\\表\\a.txt は開けません");
  EXPECT_EQ(WithPath("%s", "%s"), "%s");
  EXPECT_EQ(WithPath("none", "x"), "none");
}

TEST(MessagesTest, TheLimitOfATooLargeFileIsInMegabytesWhenWhole) {
  // A "%s" in the path is not taken for the second placeholder.
  EXPECT_EQ(TextOf(FileError(FileError::Step::kTooLarge, "%s.txt", 1000)),
            "ﾌｧｲﾙ %s.txt は大きすぎるため開けません（上限 1000 バイト）");
}

}  // namespace
}  // namespace quolvi::messages
