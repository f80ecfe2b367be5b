// The README's screenshot: the main window with some text and the Edit menu
// open. Disabled in the test run; scripts/screenshot.sh runs it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/commands.h"
#include "tests/e2e/app_driver.h"
#include "tests/support/wait.h"

namespace quolvi::test {
namespace {

TEST(ScreenshotTest, DISABLED_MainWindowWithTheEditMenuOpen) {
  const char* path = std::getenv("QUOLVI_SCREENSHOT");
  ASSERT_NE(path, nullptr) << "QUOLVI_SCREENSHOT names the BMP file to write";
  App app;
  SetWindowPos(app.window(), nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  app.Activate();
  app.Type(u"Quolvi: Shift-JIS のテキストエディタ");
  app.PressAndSettle(VK_RETURN);
  app.Type(u"日本語の文章を、そのままのバイトで保存します。");
  app.PressAndSettle(VK_RETURN);
  app.Type(u"ｶﾀｶﾅ、表・ソ・能 も大丈夫。");
  app.PressAndSettle(VK_HOME, kShift);
  app.OpenMenu('E');
  Sleep(300);  // let the drop-down finish drawing before the picture is taken
  EXPECT_TRUE(SaveScreenshot(path));
  app.CloseMenus();
}

}  // namespace
}  // namespace quolvi::test
