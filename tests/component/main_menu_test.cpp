// The main window's menus and their enabling, in this process, where the
// menus can be read (another process cannot read them under Wine).
#include <windows.h>
#include <dlgs.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include "app/lumo_sub1.h"
#include "app/menus.h"
#include "tests/support/wait.h"

namespace quolvi::test {
namespace {

std::string Caption(HMENU menu, UINT item, UINT by) {
  char text[128] = "";
  GetMenuStringA(menu, item, text, sizeof text, by);
  return text;
}

void SetClipboard(UINT format, HANDLE data) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  if (data) SetClipboardData(format, data);
  CloseClipboard();
}

class MainMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The window of an earlier test posted WM_QUIT when it was destroyed,
    // which would end the next modal loop at once.
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    ASSERT_TRUE(window_.Create(GetModuleHandleA(nullptr)));
  }
  // Opens a top-level menu's drop-down as far as the program sees it.
  void DropDown(TopMenu top) {
    SendMessageA(window_.Handle(), WM_INITMENUPOPUP,
                 reinterpret_cast<WPARAM>(GetSubMenu(window_.MainMenu1(), top)), top);
  }
  bool Enabled(UINT id) {
    HMENU menu = id >= pmUndo ? window_.PopupMenu1() : window_.MainMenu1();
    return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) == 0;
  }
  void SetText(std::string_view text) {
    window_.reEdit.SelectWholeText();
    window_.reEdit.ReplaceSelectedText(text);
  }

  TFLumoSub1 window_;
};

TEST_F(MainMenuTest, CaptionsAccessKeysAndShortcuts) {
  HMENU bar = window_.MainMenu1();
  EXPECT_EQ(Caption(bar, 0, MF_BYPOSITION), "ﾌｧｲﾙ(&F)");
  EXPECT_EQ(Caption(bar, 1, MF_BYPOSITION), "編集(&E)");
  EXPECT_EQ(Caption(bar, 2, MF_BYPOSITION), "検索(&S)");
  EXPECT_EQ(Caption(bar, 3, MF_BYPOSITION), "ｵﾌﾟｼｮﾝ(&O)");
  EXPECT_EQ(Caption(bar, mnNew, MF_BYCOMMAND), "新規作成(&N)\tCtrl+N");
  EXPECT_EQ(Caption(bar, mnCopy, MF_BYCOMMAND), "ｺﾋﾟｰ(&C)\tCtrl+C");
  EXPECT_EQ(Caption(bar, mnQuit, MF_BYCOMMAND), "終了(&X)\tEsc");
  EXPECT_EQ(Caption(bar, mnDT, MF_BYCOMMAND), "日付と時刻(&D)\tF5");
  EXPECT_EQ(Caption(bar, mnFExec, MF_BYCOMMAND), "ﾌｧｲﾙ名を指定して実行(&R)...");
  EXPECT_EQ(Caption(bar, mnGo, MF_BYCOMMAND), "選択範囲を実行(&G)\tCtrl+G");
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, File1)), 6);
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, Edit1)), 13);
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, Find1)), 3);
  EXPECT_EQ(GetMenuItemCount(GetSubMenu(bar, Option1)), 3);
  HMENU popup = window_.PopupMenu1();
  EXPECT_EQ(Caption(popup, pmCopy, MF_BYCOMMAND), "コピー(&C)");
  EXPECT_EQ(Caption(popup, pmGo, MF_BYCOMMAND), "実行(&G)");
  EXPECT_EQ(GetMenuItemCount(popup), 10);
}

TEST_F(MainMenuTest, TheEditMenuFollowsTheTextNotTheSelection) {
  DropDown(Edit1);
  for (UINT id : {mnCut, mnCopy, mnDelete, mnSelAll, mnUndo}) EXPECT_FALSE(Enabled(id)) << id;
  for (UINT id : {mnDT, mnWordWrap, mnSelFont, mnSelBG}) EXPECT_TRUE(Enabled(id)) << id;
  SetText("\r\n");  // a lone line break is a line
  window_.reEdit.SetSelectionStart(0);
  DropDown(Edit1);
  for (UINT id : {mnCut, mnCopy, mnDelete, mnSelAll}) EXPECT_TRUE(Enabled(id)) << id;
}

TEST_F(MainMenuTest, PasteFollowsTheClipboardWhateverItHolds) {
  SetClipboard(CF_TEXT, nullptr);
  DropDown(Edit1);
  EXPECT_FALSE(Enabled(mnPaste));
  HDC screen = GetDC(nullptr);
  SetClipboard(CF_BITMAP, CreateCompatibleBitmap(screen, 4, 4));
  ReleaseDC(nullptr, screen);
  DropDown(Edit1);
  EXPECT_TRUE(Enabled(mnPaste));
}

TEST_F(MainMenuTest, UndoFollowsTheEditor) {
  DropDown(Edit1);
  EXPECT_FALSE(Enabled(mnUndo));
  SendMessageW(window_.reEdit.Handle(), WM_CHAR, 'x', 1);
  DropDown(Edit1);
  EXPECT_TRUE(Enabled(mnUndo));
}

TEST_F(MainMenuTest, GoNeedsASelectionThatIsNotBlank) {
  SetText(" \t\r\n ");
  window_.reEdit.SelectWholeText();
  DropDown(Option1);
  EXPECT_FALSE(Enabled(mnGo));
  SetText("　");
  window_.reEdit.SelectWholeText();
  DropDown(Option1);
  EXPECT_TRUE(Enabled(mnGo));
}

TEST_F(MainMenuTest, WordWrapTogglesWithItsCheckMark) {
  SetText("表ソ能");
  SendMessageA(window_.Handle(), WM_COMMAND, mnWordWrap, 0);
  EXPECT_TRUE(window_.reEdit.WordWrap());
  EXPECT_TRUE(GetMenuState(window_.MainMenu1(), mnWordWrap, MF_BYCOMMAND) & MF_CHECKED);
  SendMessageA(window_.Handle(), WM_COMMAND, mnWordWrap, 0);
  EXPECT_FALSE(window_.reEdit.WordWrap());
  EXPECT_FALSE(GetMenuState(window_.MainMenu1(), mnWordWrap, MF_BYCOMMAND) & MF_CHECKED);
  EXPECT_EQ(window_.reEdit.WholeText(), "表ソ能");
}

// A key press as the message loop sees it, with Ctrl held or not.
MSG KeyDown(HWND hwnd, WPARAM key, bool ctrl) {
  BYTE keys[256] = {};
  if (ctrl) keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  return MSG{hwnd, WM_KEYDOWN, key, 0, 0, {0, 0}};
}

TEST_F(MainMenuTest, AShortcutIsConsumedEvenWhenItsItemIsDisabled) {
  HWND editor = window_.reEdit.Handle();
  // Nothing to undo and an empty document: the items are disabled, the keys
  // are taken all the same and do nothing.
  EXPECT_TRUE(window_.HandleShortcut(KeyDown(editor, 'Z', true)));
  EXPECT_FALSE(Enabled(mnUndo));
  EXPECT_TRUE(window_.HandleShortcut(KeyDown(editor, 'A', true)));
  EXPECT_FALSE(Enabled(mnSelAll));
  // With text, Ctrl+A runs Select all.
  SetText("abc");
  window_.reEdit.SetSelectionStart(1);
  EXPECT_TRUE(window_.HandleShortcut(KeyDown(editor, 'A', true)));
  EXPECT_EQ(window_.reEdit.SelectionLength(), 3);
  // Keys that are no shortcut go on to the editor.
  EXPECT_FALSE(window_.HandleShortcut(KeyDown(editor, 'B', true)));
  EXPECT_FALSE(window_.HandleShortcut(KeyDown(editor, 'A', false)));
  KeyDown(editor, 0, false);
}

TEST_F(MainMenuTest, TheFindDialogReopensWhereItWasClosed) {
  auto findDialog = [&] {
    for (HWND box = FindWindowExA(nullptr, nullptr, "#32770", nullptr); box;
         box = FindWindowExA(nullptr, box, "#32770", nullptr)) {
      if (GetWindow(box, GW_OWNER) == window_.Handle()) return box;
    }
    return HWND{};
  };
  SendMessageA(window_.Handle(), WM_COMMAND, mnSrch, 0);
  HWND dialog = findDialog();
  ASSERT_NE(dialog, nullptr);
  SetWindowPos(dialog, nullptr, 123, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  SendMessageA(window_.Handle(), WM_COMMAND, mnSrch, 0);
  HWND reopened = findDialog();
  ASSERT_NE(reopened, nullptr);
  RECT frame;
  GetWindowRect(reopened, &frame);
  EXPECT_EQ(frame.left, 123);
  EXPECT_EQ(frame.top, 77);
  DestroyWindow(reopened);
}

TEST_F(MainMenuTest, ClearingTheSearchTextsLeavesFindNextNothingToDo) {
  SetText("abcb");
  window_.reEdit.SetSelectionStart(0);
  SendMessageA(window_.Handle(), WM_COMMAND, mnSrch, 0);
  HWND dialog = nullptr;
  for (HWND box = FindWindowExA(nullptr, nullptr, "#32770", nullptr); box && !dialog;
       box = FindWindowExA(nullptr, box, "#32770", nullptr)) {
    if (GetWindow(box, GW_OWNER) == window_.Handle()) dialog = box;
  }
  ASSERT_NE(dialog, nullptr);
  SetDlgItemTextA(dialog, edt1, "b");
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
  EXPECT_EQ(window_.reEdit.SelectionStart(), 1);  // found with the dialog's text
  SendMessageA(window_.Handle(), WM_COMMAND, mnSrchNxt, 0);
  EXPECT_EQ(window_.reEdit.SelectionStart(), 3);  // F3 repeats it
  window_.ClearSearchTexts();
  window_.reEdit.SetSelectionStart(0);
  SendMessageA(window_.Handle(), WM_COMMAND, mnSrchNxt, 0);
  EXPECT_EQ(window_.reEdit.SelectionStart(), 0);  // no text: nothing searched, no message
  EXPECT_EQ(window_.reEdit.SelectionLength(), 0);
  DestroyWindow(dialog);
}

TEST_F(MainMenuTest, TheSessionMayEndWhenTheCloseQueryAllows) {
  EXPECT_TRUE(SendMessageA(window_.Handle(), WM_QUERYENDSESSION, 0, 0));
}

// Reads and answers the message box that AskUser shows, from a timer that
// the box's own modal loop dispatches.
struct BoxAnswer {
  static inline std::string text, caption;
  static inline HWND owner = nullptr;
  static inline int button = IDCANCEL;
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindWindowA("#32770", nullptr);
    if (!box || !IsWindowVisible(box)) return;
    KillTimer(nullptr, timer);
    char buffer[256] = "";
    GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
    text = buffer;
    GetWindowTextA(box, buffer, sizeof buffer);
    caption = buffer;
    owner = GetWindow(box, GW_OWNER);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
  }
  // Arms the timer: the next box is answered with this button.
  static void Answer(int id) {
    text.clear();
    button = id;
    SetTimer(nullptr, 0, 20, OnTimer);
  }
};

TEST_F(MainMenuTest, TheModifiedFlagFollowsEditsAndNewAsksBeforeDiscarding) {
  EXPECT_FALSE(window_.Modified());
  EXPECT_EQ(GetWindowTextLengthA(window_.Handle()), 6);  // "Quolvi"
  SendMessageW(window_.reEdit.Handle(), WM_CHAR, L'表', 1);
  EXPECT_TRUE(window_.Modified());

  BoxAnswer::Answer(IDCANCEL);
  SendMessageA(window_.Handle(), WM_COMMAND, mnNew, 0);
  EXPECT_EQ(BoxAnswer::text, "編集中の内容を破棄して新規作成します　　");
  EXPECT_EQ(window_.reEdit.WholeText(), "表");
  EXPECT_TRUE(window_.Modified());

  BoxAnswer::Answer(IDOK);
  SetWindowTextA(window_.Handle(), "something else");
  SendMessageA(window_.Handle(), WM_COMMAND, mnNew, 0);
  EXPECT_EQ(window_.reEdit.WholeText(), "");
  EXPECT_FALSE(window_.Modified());
  char caption[64] = "";
  GetWindowTextA(window_.Handle(), caption, sizeof caption);
  EXPECT_STREQ(caption, "Quolvi");

  // A clean document is reset without a question.
  BoxAnswer::text.clear();
  SendMessageA(window_.Handle(), WM_COMMAND, mnNew, 0);
  EXPECT_EQ(BoxAnswer::text, "");
}

TEST_F(MainMenuTest, ClosingAModifiedDocumentAsksAndCancelKeepsTheWindow) {
  SendMessageW(window_.reEdit.Handle(), WM_CHAR, 'x', 1);
  BoxAnswer::Answer(IDCANCEL);
  SendMessageA(window_.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(BoxAnswer::text, "編集中の内容を破棄して終了します　　");
  EXPECT_TRUE(IsWindow(window_.Handle()));
  EXPECT_EQ(window_.reEdit.WholeText(), "x");
  BoxAnswer::Answer(IDCANCEL);
  EXPECT_FALSE(SendMessageA(window_.Handle(), WM_QUERYENDSESSION, 0, 0));  // the session may not end either
  BoxAnswer::Answer(IDOK);
  HWND hwnd = window_.Handle();
  SendMessageA(hwnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(MainMenuTest, AskUserAppendsTwoIdeographicSpacesAndUsesTheProgramsCaption) {
  SetWindowTextA(window_.Handle(), "a.txt - Quolvi");
  BoxAnswer::Answer(IDCANCEL);
  int result = window_.AskUser("保存しますか？", MB_OKCANCEL | MB_ICONEXCLAMATION);
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(BoxAnswer::text, "保存しますか？\x81\x40\x81\x40");
  EXPECT_EQ(BoxAnswer::caption, "Quolvi");
  EXPECT_EQ(BoxAnswer::owner, window_.Handle());

  BoxAnswer::Answer(IDCANCEL);
  window_.AskUser("", MB_OKCANCEL);
  EXPECT_EQ(BoxAnswer::text, "　　");
}

// Answers the font dialog from a timer: an IPA font, 20 points, bold, then OK.
struct FontAnswer {
  static inline std::string face;
  static void Choose(HWND box, int combo, const char* prefix) {
    HWND list = GetDlgItem(box, combo);
    LRESULT index = SendMessageA(list, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(prefix));
    SendMessageA(list, CB_SETCURSEL, index, 0);
    SendMessageA(box, WM_COMMAND, MAKEWPARAM(combo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  }
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    for (HWND box = FindWindowExA(nullptr, nullptr, "#32770", nullptr); box;
         box = FindWindowExA(nullptr, box, "#32770", nullptr)) {
      if (!IsWindowVisible(box) || !GetDlgItem(box, cmb3)) continue;
      KillTimer(nullptr, timer);
      Choose(box, cmb1, "IPA");
      char text[64] = "";
      GetDlgItemTextA(box, cmb1, text, sizeof text);
      face = text;
      Choose(box, cmb3, "20");
      SendMessageA(GetDlgItem(box, cmb2), CB_SETCURSEL, 2, 0);  // a bold style
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
      return;
    }
  }
};

TEST_F(MainMenuTest, TheFontDialogSetsColourSizeAndFaceOnly) {
  SetTimer(nullptr, 0, 20, FontAnswer::OnTimer);
  SendMessageA(window_.Handle(), WM_COMMAND, mnSelFont, 0);
  EXPECT_EQ(window_.reEdit.PointSize(), 20);
  ASSERT_FALSE(FontAnswer::face.empty());
  EXPECT_EQ(window_.reEdit.FaceName(), FontAnswer::face);
  // The colour comes back as the RGB value the dialog chose.
  EXPECT_EQ(window_.reEdit.FontColor(), static_cast<ColorValue>(GetSysColor(COLOR_WINDOWTEXT)));
  CHARFORMATA format{};
  format.cbSize = sizeof format;
  SendMessageA(window_.reEdit.Handle(), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  EXPECT_EQ(format.yHeight, 400);
  EXPECT_EQ(format.bCharSet, SHIFTJIS_CHARSET);
  EXPECT_FALSE(format.dwEffects & (CFE_BOLD | CFE_ITALIC));
}

}  // namespace
}  // namespace quolvi::test
