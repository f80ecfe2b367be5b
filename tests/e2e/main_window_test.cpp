// The main window, used as a person would.
#include <gtest/gtest.h>

#include "app/commands.h"
#include "tests/e2e/app_driver.h"
#include "tests/support/temp_dir.h"
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
  ASSERT_NE(app.statusBar(), nullptr);
  EXPECT_NE(GetMenu(app.window()), nullptr);
  // The editor fills the client area down to the status bar, which covers
  // none of it.
  RECT client, editor, bar;
  GetClientRect(app.window(), &client);
  GetWindowRect(app.editor(), &editor);
  GetWindowRect(app.statusBar(), &bar);
  MapWindowPoints(nullptr, app.window(), reinterpret_cast<POINT*>(&editor), 2);
  MapWindowPoints(nullptr, app.window(), reinterpret_cast<POINT*>(&bar), 2);
  EXPECT_EQ(editor.top, 0);
  EXPECT_EQ(editor.bottom, bar.top);
  EXPECT_EQ(bar.bottom, client.bottom);
}

std::string TextOf(HWND window) {
  char text[256] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

TEST(MainWindowTest, TheTaskbarShowsTheApplicationsTitleWhateverTheCaption) {
  TempDir dir;
  WriteBytes(dir.File("a.txt"), "a");
  App app("\"" + dir.File("a.txt") + "\"");
  ASSERT_NE(app.Caption(), "Quolvi");
  // The taskbar and the task switcher list the unowned window, which bears
  // the title; the main window belongs to it.
  HWND application = GetWindow(app.window(), GW_OWNER);
  ASSERT_NE(application, nullptr);
  EXPECT_EQ(TextOf(application), "Quolvi");
  EXPECT_TRUE(IsWindowVisible(application));
  RECT frame;
  GetWindowRect(application, &frame);
  EXPECT_TRUE(IsRectEmpty(&frame));  // shown, but nothing of it can be seen
  EXPECT_EQ(GetWindow(application, GW_OWNER), nullptr);
  EXPECT_FALSE(GetWindowLongA(application, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_FALSE(GetWindowLongA(app.window(), GWL_EXSTYLE) & WS_EX_APPWINDOW);

  // Minimising the main window minimises the application, with the find
  // dialog; restoring the application brings them back, the main window active.
  app.Activate();
  app.Press('F', kCtrl);
  HWND find = app.WaitForDialog();
  ASSERT_NE(find, nullptr);
  app.Activate();
  PostMessageA(app.window(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(
      WaitUntil([&] { return IsIconic(application) && !IsWindowVisible(app.window()) && !IsWindowVisible(find); }));
  PostMessageA(application, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_TRUE(
      WaitUntil([&] { return !IsIconic(application) && IsWindowVisible(app.window()) && IsWindowVisible(find); }));
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == app.window(); }));
  EXPECT_FALSE(IsIconic(app.window()));
  // Closing the application closes the main window.
  PostMessageA(application, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(app.WaitForExit());
}

TEST(MainWindowTest, EscTheCloseBoxAndQuitFromTheMenuEachCloseTheWindow) {
  for (const char* way : {"Esc", "close box", "menu"}) {
    SCOPED_TRACE(way);
    App app;
    app.Activate();
    if (way == std::string("Esc")) app.Press(VK_ESCAPE);
    if (way == std::string("close box")) PostMessageA(app.window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    if (way == std::string("menu")) {
      app.OpenMenu('F');
      app.Press('X');
    }
    EXPECT_TRUE(app.WaitForExit());
  }
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
