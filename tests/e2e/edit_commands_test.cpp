// The Edit menu's commands and the enabling of items, through menus and
// shortcuts.
#include <windows.h>
#include <dlgs.h>

#include <gtest/gtest.h>
#include <richedit.h>

#include <string>
#include <vector>

#include "app/commands.h"
#include "tests/e2e/app_driver.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"

namespace quolvi::test {
namespace {

class EditCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override { app_.Activate(); }
  bool TextBecomes(const std::string& expected) {
    return WaitUntil([&] { return app_.EditorText() == expected; });
  }
  // Chooses an Edit menu item by its access key and waits for its dialog.
  HWND OpenEditDialog(char accessKey) {
    app_.OpenMenu('E');
    app_.Press(static_cast<WORD>(accessKey));
    return app_.WaitForDialog();
  }
  COLORREF Background() { return app_.EditorBackground(); }
  App app_;
};

// How many pixels of an area of the screen are dark (text on the light
// background of the editor), as the screen shows them.
int DarkPixelsOnScreen(const RECT& area) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  GdiObject bitmap(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  HGDIOBJ old = SelectObject(memory, bitmap.Get());
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  int dark = 0;
  const auto* pixel = static_cast<const unsigned char*>(bits);
  for (int i = 0; bits && i < width * height; ++i, pixel += 4) dark += pixel[0] + pixel[1] + pixel[2] < 3 * 128;
  return dark;
}

TEST(WordWrapTest, SwitchingALongTextKeepsItOnTheScreenUntilTheNewWindowIsIn) {
  TempDir dir;
  const std::string path = dir.File("long.txt");
  std::string bytes;
  for (int line = 0; bytes.size() < (1u << 20); ++line) {
    bytes += "折り返しの間も見えている長い文書の " + std::to_string(line) + " 行目\r\n";
  }
  WriteBytes(path, bytes);
  App app("\"" + path + "\"");
  ASSERT_TRUE(WaitUntil([&] { return app.Caption() == "Vessaro - " + path; }, 60000));
  app.Activate();
  HWND before = app.editor();
  RECT area;
  GetClientRect(before, &area);
  MapWindowPoints(before, nullptr, reinterpret_cast<POINT*>(&area), 2);
  app.OpenMenu('E');
  app.Press('W');
  // The screen sampled until the new window is shown in the old one's place;
  // a sample counts only if the new window was not yet shown after it was
  // taken (from then on the new window draws itself, as any window does).
  auto swapped = [&] {
    HWND now = app.editor();
    return now && now != before && IsWindowVisible(now);
  };
  int samples = 0;
  std::vector<int> blank;
  ASSERT_TRUE(WaitUntil(
      [&] {
        if (swapped()) return true;
        const bool shown = DarkPixelsOnScreen(area) >= 500;
        if (!shown && !swapped()) blank.push_back(samples);
        ++samples;
        return false;
      },
      60000));
  EXPECT_GE(samples, 5);
  EXPECT_TRUE(blank.empty()) << blank.size() << " of " << samples << " samples showed no text, the first at "
                             << blank.front();
  EXPECT_EQ(app.EditorText().size(), bytes.size());
}

TEST_F(EditCommandsTest, ALoneLineBreakIsTextToSelectAndCut) {
  app_.PressAndSettle(VK_RETURN);
  ASSERT_TRUE(TextBecomes("\r\n"));
  app_.PressAndSettle('A', kCtrl);
  app_.PressAndSettle('X', kCtrl);
  EXPECT_TRUE(TextBecomes(""));
  EXPECT_TRUE(ClipboardBecomes("\r\n"));
}

TEST_F(EditCommandsTest, CutCopyPasteAndDelete) {
  app_.Type(u"日本語");
  ASSERT_TRUE(TextBecomes("日本語"));
  app_.PressAndSettle('A', kCtrl);
  app_.PressAndSettle('C', kCtrl);
  EXPECT_TRUE(ClipboardBecomes("日本語")) << ClipboardText();
  app_.PressAndSettle(VK_END, kCtrl);
  app_.PressAndSettle('V', kCtrl);
  EXPECT_TRUE(TextBecomes("日本語日本語"));
  app_.PressAndSettle(VK_LEFT, kShift);
  app_.PressAndSettle('X', kCtrl);
  EXPECT_TRUE(TextBecomes("日本語日本"));
  EXPECT_TRUE(ClipboardBecomes("語")) << ClipboardText();
  app_.PressAndSettle(VK_HOME);
  app_.PressAndSettle(VK_RIGHT, kShift);
  app_.OpenMenu('E');
  app_.PressAndSettle('L');  // 削除(&L)
  EXPECT_TRUE(TextBecomes("本語日本"));
}

TEST_F(EditCommandsTest, TheContextMenuSelectsAndCopies) {
  app_.Type(u"右クリック");
  ASSERT_TRUE(TextBecomes("右クリック"));
  app_.OpenContextMenu();
  ASSERT_NE(FindWindowA("#32768", nullptr), nullptr) << "no context menu";
  app_.PressAndSettle('A');  // すべて選択(&A)
  ASSERT_TRUE(WaitUntil([&] {
    DWORD range = static_cast<DWORD>(SendMessageA(app_.editor(), EM_GETSEL, 0, 0));
    return LOWORD(range) == 0 && HIWORD(range) >= 5;
  }));
  app_.OpenContextMenu();
  app_.PressAndSettle('C');  // コピー(&C)
  EXPECT_TRUE(ClipboardBecomes("右クリック")) << ClipboardText();
}

TEST_F(EditCommandsTest, UndoThroughTheShortcut) {
  app_.Type(u"abc");
  ASSERT_TRUE(TextBecomes("abc"));
  app_.PressAndSettle('Z', kCtrl);
  EXPECT_TRUE(TextBecomes(""));
}

TEST_F(EditCommandsTest, F5InsertsTheDateOverTheSelection) {
  app_.Type(u"xyz");
  ASSERT_TRUE(TextBecomes("xyz"));
  app_.PressAndSettle('A', kCtrl);
  SYSTEMTIME before, after;
  GetLocalTime(&before);
  app_.PressAndSettle(VK_F5);
  ASSERT_TRUE(WaitUntil([&] { return app_.EditorText().size() >= 10; }));
  GetLocalTime(&after);
  std::string text = app_.EditorText();
  EXPECT_EQ(text.find("xyz"), std::string::npos);
  // The text starts with the date in the user's short date format, of the
  // day before the key or after it (midnight may come between).
  auto startsWithDateOf = [&](const SYSTEMTIME& day) {
    char date[64];
    GetDateFormatA(GetUserDefaultLCID(), DATE_SHORTDATE, &day, nullptr, date, sizeof date);
    return text.compare(0, strlen(date), date) == 0;
  };
  EXPECT_TRUE(startsWithDateOf(before) || startsWithDateOf(after)) << text;
}

TEST_F(EditCommandsTest, TheColourChosenInTheDialogBecomesTheBackgroundOnOkOnly) {
  const COLORREF original = Background();
  for (int button : {IDCANCEL, IDOK}) {
    app_.Activate();
    HWND dialog = OpenEditDialog('B');
    ASSERT_NE(dialog, nullptr);
    // The red, green and blue fields of the colour dialog.
    SetDlgItemTextA(dialog, 706, "10");
    SetDlgItemTextA(dialog, 707, "20");
    SetDlgItemTextA(dialog, 708, "30");
    App::PressButton(dialog, button);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
    app_.Settle();
    EXPECT_EQ(Background(), button == IDOK ? RGB(10, 20, 30) : original);
  }
}

}  // namespace
}  // namespace quolvi::test
