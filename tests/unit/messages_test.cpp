#include "app/messages.h"

#include <gtest/gtest.h>

namespace quolvi::messages {
namespace {

TEST(MessagesTest, WithPathPutsThePathInPlaceOfThePlaceholder) {
  EXPECT_EQ(WithPath("ﾌｧｲﾙ %s は開けません", "C:\\表\\a.txt"), "ﾌｧｲﾙ C:\\表\\a.txt は開けません");
  EXPECT_EQ(WithPath("%s", "%s"), "%s");
  EXPECT_EQ(WithPath("none", "x"), "none");
}

TEST(MessagesTest, EachFileErrorStepHasItsText) {
  const std::string path = "C:\\表\\a.txt";
  EXPECT_EQ(TextOf(FileError(FileError::Step::kOpen, path)), "ﾌｧｲﾙ " + path + " は開けません");
  EXPECT_EQ(TextOf(FileError(FileError::Step::kRead, path)), "ﾌｧｲﾙ " + path + " は開けません");
  EXPECT_EQ(TextOf(FileError(FileError::Step::kNul, path)), "ﾌｧｲﾙ " + path + " はNUL文字を含むため開けません");
  EXPECT_EQ(TextOf(FileError(FileError::Step::kCreate, path)), "ﾌｧｲﾙ " + path + " を作成できません");
  EXPECT_EQ(TextOf(FileError(FileError::Step::kWrite, path)), "ｽﾄﾘｰﾑへの書き込みに失敗しました");
  EXPECT_EQ(TextOf(FileError(FileError::Step::kTooLarge, path, 12u << 20)),
            "ﾌｧｲﾙ " + path + " は大きすぎるため開けません（上限 12 MB）");
  // A "%s" in the path is not taken for the second placeholder.
  EXPECT_EQ(TextOf(FileError(FileError::Step::kTooLarge, "%s.txt", 1000)),
            "ﾌｧｲﾙ %s.txt は大きすぎるため開けません（上限 1000 バイト）");
}

TEST(MessagesTest, EveryErrorThatEndsACommandHasWordsOfItsOwn) {
  auto text = [](auto error) { return TextOf(std::make_exception_ptr(error)); };
  EXPECT_EQ(text(std::bad_alloc()), "メモリが不足したため処理を中止しました");
  EXPECT_EQ(text(std::runtime_error("bad thing")), "予期しないエラーのため処理を中止しました（bad thing）");
  EXPECT_EQ(text(42), "予期しないエラーのため処理を中止しました");
  EXPECT_EQ(text(DocumentTooLarge(12u << 20)), "文書が上限の 12 MB を超えるため処理を中止しました");
  EXPECT_EQ(text(FileError(FileError::Step::kCreate, "C:\\a.txt")), "ﾌｧｲﾙ C:\\a.txt を作成できません");
  EXPECT_EQ(text(AppError("as it is")), "as it is");
}

}  // namespace
}  // namespace quolvi::messages
