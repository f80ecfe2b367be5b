// New and closing, with the discard question, as a person would.
#include <gtest/gtest.h>

#include "app/commands.h"
#include "tests/e2e/app_driver.h"
#include "tests/support/wait.h"

namespace quolvi::test {
namespace {

class DocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_.Activate();
    app_.Type(u"下書き");
    ASSERT_TRUE(WaitUntil([&] { return app_.EditorText() == "下書き"; }));
  }
  App app_;
};

TEST_F(DocumentTest, ClosingAModifiedDocumentAsks) {
  app_.Press(VK_ESCAPE);
  EXPECT_EQ(app_.AnswerBox(IDCANCEL), "編集中の内容を破棄して終了します　　");
  EXPECT_FALSE(app_.WaitForExit(300));
  EXPECT_EQ(app_.EditorText(), "下書き");
  PostMessageA(app_.window(), WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box
  EXPECT_EQ(app_.AnswerBox(IDOK), "編集中の内容を破棄して終了します　　");
  EXPECT_TRUE(app_.WaitForExit());
}

}  // namespace
}  // namespace quolvi::test
