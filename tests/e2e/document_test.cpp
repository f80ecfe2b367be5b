// New and closing, with the discard question, as a person would.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/commands.h"
#include "core/recovery_record.h"
#include "tests/e2e/app_driver.h"
#include "tests/support/temp_dir.h"
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

bool HasRecoveryFile(const Installation& installation) {
  for (const std::string& name : installation.RecoveryFiles()) {
    if (name.size() > 9 && name.compare(name.size() - 9, 9, ".recovery") == 0) return true;
  }
  return false;
}

TEST(RecoveryTest, AKilledProgramsTextIsOfferedBackByteForByteAndNoFileOutlivesANormalEnd) {
  Installation installation;
  TempDir dir;
  const std::string path = dir.File("文書.txt");
  WriteBytes(path, "old\r\n\x80");  // a stray byte, which only the document's own bytes keep
  {
    App app("\"" + path + "\"", "", &installation);
    app.Activate();
    app.PressAndSettle(VK_END, kCtrl);
    app.Type(u"追記\r表");
    // Kept a short while after the typing stops; then the program dies.
    ASSERT_TRUE(WaitUntil([&] { return HasRecoveryFile(installation); }, 15000));
    app.Kill();
  }
  {
    App app("", "", &installation);
    EXPECT_EQ(app.AnswerBox(IDOK),
              "保存されないまま終了した " + path + " の内容を復元します（キャンセルすると破棄します）　　");
    EXPECT_EQ(app.Caption(), "Vessaro - " + path);
    // Unsaved, with its file: Save asks, and writes exactly the text typed.
    app.Activate();
    app.Press('S', kCtrl);
    EXPECT_EQ(app.AnswerBox(IDOK), "保存しますか？　　");
    EXPECT_TRUE(WaitUntil([&] { return ReadBytesWhenFree(path) == "old\r\n\x80追記\r\n表"; }));
    EXPECT_FALSE(HasRecoveryFile(installation));  // saved: nothing left to recover
    app.Type(u"x");
    ASSERT_TRUE(WaitUntil([&] { return HasRecoveryFile(installation); }, 15000));
    app.Press(VK_ESCAPE);
    EXPECT_EQ(app.AnswerBox(IDOK), "編集中の内容を破棄して終了します　　");
    ASSERT_TRUE(app.WaitForExit());
    EXPECT_EQ(installation.RecoveryFiles(), std::vector<std::string>{});
  }
  // An orphan of an untitled document, declined: removed, nothing restored.
  WriteBytes(installation.LocalAppData() + "\\Quolvi\\gone.recovery", RecoveryFileBytes("", "lost"));
  App app("", "", &installation);
  EXPECT_EQ(app.AnswerBox(IDCANCEL),
            "保存されないまま終了した 無題の文書 の内容を復元します（キャンセルすると破棄します）　　");
  EXPECT_EQ(app.EditorText(), "");
  EXPECT_FALSE(HasRecoveryFile(installation));
}

}  // namespace
}  // namespace quolvi::test
