// The main window, used as a person would.
#include <gtest/gtest.h>

#include "app/commands.h"
#include "tests/e2e/app_driver.h"
#include "tests/support/wait.h"

namespace quolvi::test {
namespace {

TEST(MainWindowTest, StartsCentredWithAnEmptyDocument) {
  App app;
  EXPECT_EQ(app.Caption(), "Quolvi");
  RECT frame;
  GetWindowRect(app.window(), &frame);
  EXPECT_EQ(frame.right - frame.left, 491);
  EXPECT_EQ(frame.bottom - frame.top, 391);
  EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - 491) / 2);
  EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - 391) / 2);
  EXPECT_EQ(app.EditorText(), "");
  EXPECT_EQ(app.StatusText(), "");
  EXPECT_NE(app.statusBar(), nullptr);
  EXPECT_NE(GetMenu(app.window()), nullptr);
}

TEST(MainWindowTest, EscClosesTheWindow) {
  App app;
  app.Activate();
  app.Press(VK_ESCAPE);
  EXPECT_TRUE(app.WaitForExit());
}

TEST(MainWindowTest, TheCloseBoxClosesTheWindow) {
  App app;
  PostMessageA(app.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(app.WaitForExit());
}

TEST(MainWindowTest, QuitFromTheMenuClosesTheWindow) {
  App app;
  app.Activate();
  app.OpenMenu('F');
  app.Press('X');
  EXPECT_TRUE(app.WaitForExit());
}

TEST(MainWindowTest, TabInsertsATabAndJapaneseArrivesIntact) {
  App app;
  app.Activate();
  app.Type(u"a");
  app.PressAndSettle(VK_TAB);
  app.Type(u"表示");
  EXPECT_TRUE(WaitUntil([&] { return app.EditorText() == "a\t表示"; })) << ::testing::PrintToString(app.EditorText());
  EXPECT_EQ(GetForegroundWindow(), app.window());
}

}  // namespace
}  // namespace quolvi::test
