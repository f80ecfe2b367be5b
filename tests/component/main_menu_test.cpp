// The main window's menus: which items are enabled when, shortcuts, and the
// Edit menu's commands that the editor's own tests leave to the window.
#include <cstdio>

#include "tests/component/main_window_fixture.h"

namespace quolvi::test {
namespace {

void SetClipboard(UINT format, HANDLE data) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  if (data) SetClipboardData(format, data);
  CloseClipboard();
}

class MainMenuTest : public MainWindowFixture {
 protected:
  // Opens a top-level menu's drop-down as far as the program sees it.
  void DropDown(Menu top) {
    SendMessageA(window_.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(window_.MainMenu1(), top)),
                 top);
  }
  HMENU MenuOf(UINT id) { return id >= pmUndo ? window_.PopupMenu1() : window_.MainMenu1(); }
  bool Enabled(UINT id) { return (GetMenuState(MenuOf(id), id, MF_BYCOMMAND) & MF_GRAYED) == 0; }
  std::string ItemCaption(UINT id) {
    char text[128] = "";
    GetMenuStringA(MenuOf(id), id, text, sizeof text, MF_BYCOMMAND);
    return text;
  }
};

// The states of the context menu's items while it is shown.
struct ShownContextMenu {
  static inline HMENU menu = nullptr;
  static inline std::vector<bool> enabled;
  static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
    if (!enabled.empty() || !FindWindowA("#32768", nullptr)) return;
    for (UINT id = pmUndo; id <= pmGo; ++id) enabled.push_back(!(GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED));
    EndMenu();
  }
  // Opens the menu as a right click does, reads it, closes it.
  static std::vector<bool> Read(TFLumoSub1& window) {
    menu = window.PopupMenu1();
    enabled.clear();
    ThreadTimer reader(OnTick);
    HWND editor = window.reEdit.Handle();
    SendMessageA(editor, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(editor), MAKELPARAM(20, 20));
    return enabled;
  }
};

TEST_F(MainMenuTest, EveryItemOfBothMenusIsEnabledAsTheDocumentTheClipboardAndTheSelectionAllow) {
  HDC screen = GetDC(nullptr);
  HBITMAP picture = CreateCompatibleBitmap(screen, 4, 4);
  ReleaseDC(nullptr, screen);
  struct State {
    const char* name;
    std::function<void()> setUp;
    std::vector<UINT> disabled;  // every other item of both menus is enabled
  } states[] = {
      {"empty document, empty clipboard",
       [&] { SetClipboard(CF_TEXT, nullptr); },
       {mnUndo, mnCut, mnCopy, mnPaste, mnDelete, mnSelAll, mnGo, pmUndo, pmCut, pmCopy, pmPaste, pmDelete, pmSelAll,
        pmGo}},
      {"a lone line break, nothing selected, a picture on the clipboard",
       [&] {
         SetText("\r\n");
         window_.reEdit.SetSelectionStart(0);
         SetClipboard(CF_BITMAP, picture);
       },
       {mnUndo, mnGo, pmUndo, pmGo}},
      {"typed blanks selected, empty clipboard",
       [&] {
         for (wchar_t c : {L' ', L'\t', L' '}) Type(c);
         window_.reEdit.SelectWholeText();
         SetClipboard(CF_TEXT, nullptr);
       },
       {mnPaste, mnGo, pmPaste, pmGo}},
      {"an ideographic space selected, nothing to undo",
       [&] {
         SetText("　");
         SendMessageA(window_.reEdit.Handle(), EM_EMPTYUNDOBUFFER, 0, 0);
         window_.reEdit.SelectWholeText();
       },
       {mnUndo, mnPaste, pmUndo, pmPaste}},
  };
  for (const State& state : states) {
    SCOPED_TRACE(state.name);
    state.setUp();
    for (Menu top : {File1, Edit1, Find1, Option1}) DropDown(top);
    const std::vector<bool> shown = ShownContextMenu::Read(window_);
    ASSERT_EQ(shown.size(), pmGo - pmUndo + 1u) << "the context menu was not shown";
    for (UINT id = mnNew; id <= pmGo; ++id) {
      bool expected = std::find(state.disabled.begin(), state.disabled.end(), id) == state.disabled.end();
      bool enabled = id >= pmUndo ? shown[id - pmUndo] : Enabled(id);
      EXPECT_EQ(enabled, expected) << ItemCaption(id);
    }
  }
}

TEST_F(MainMenuTest, WordWrapTogglesWithItsCheckMark) {
  // What the switch keeps of the text is the control's matter, tested there.
  Choose(mnWordWrap);
  EXPECT_TRUE(window_.reEdit.WordWrap());
  EXPECT_TRUE(GetMenuState(window_.MainMenu1(), mnWordWrap, MF_BYCOMMAND) & MF_CHECKED);
  Choose(mnWordWrap);
  EXPECT_FALSE(window_.reEdit.WordWrap());
  EXPECT_FALSE(GetMenuState(window_.MainMenu1(), mnWordWrap, MF_BYCOMMAND) & MF_CHECKED);
}

// A key press as the message loop sees it, with the modifiers held (kCtrl,
// kShift).
MSG KeyDown(HWND hwnd, WPARAM key, unsigned modifiers) {
  BYTE keys[256] = {};
  if (modifiers & kCtrl) keys[VK_CONTROL] = 0x80;
  if (modifiers & kShift) keys[VK_SHIFT] = 0x80;
  SetKeyboardState(keys);
  return MSG{hwnd, WM_KEYDOWN, key, 0, 0, {0, 0}};
}

TEST_F(MainMenuTest, AShortcutIsConsumedEvenWhenItsItemIsDisabled) {
  HWND editor = window_.reEdit.Handle();
  // Nothing to undo and an empty document: the items are disabled, the keys
  // are taken all the same and do nothing.
  EXPECT_TRUE(window_.HandleShortcut(KeyDown(editor, 'Z', kCtrl)));
  EXPECT_FALSE(Enabled(mnUndo));
  EXPECT_TRUE(window_.HandleShortcut(KeyDown(editor, 'A', kCtrl)));
  EXPECT_FALSE(Enabled(mnSelAll));
  // With text, Ctrl+A runs Select all.
  SetText("abc");
  window_.reEdit.SetSelectionStart(1);
  EXPECT_TRUE(window_.HandleShortcut(KeyDown(editor, 'A', kCtrl)));
  EXPECT_EQ(window_.reEdit.SelectionLength(), 3);
  // Keys that are no shortcut go on to the editor.
  EXPECT_FALSE(window_.HandleShortcut(KeyDown(editor, 'B', kCtrl)));
  EXPECT_FALSE(window_.HandleShortcut(KeyDown(editor, 'A', 0)));
  // A shortcut is its key with exactly its modifiers: Shift+F3 is not F3.
  EXPECT_FALSE(window_.HandleShortcut(KeyDown(editor, VK_F3, kShift)));
  EXPECT_TRUE(window_.HandleShortcut(KeyDown(editor, VK_F3, 0)));
  KeyDown(editor, 0, 0);
}

// The user's clock settings, changed for a test and put back afterwards.
class ClockSettings {
 public:
  static constexpr LCTYPE kTimeMarkPosition = 0x1005;  // LOCALE_ITIMEMARKPOSN
  ClockSettings() {
    for (LCTYPE type : kTypes) old_.push_back(Get(type));
  }
  ~ClockSettings() {
    for (std::size_t i = 0; i < old_.size(); ++i) SetLocaleInfoA(LOCALE_USER_DEFAULT, kTypes[i], old_[i].c_str());
  }
  ClockSettings(const ClockSettings&) = delete;
  ClockSettings& operator=(const ClockSettings&) = delete;
  static std::string Get(LCTYPE type) {
    char value[80] = "";
    GetLocaleInfoA(LOCALE_USER_DEFAULT, type, value, sizeof value);
    return value;
  }
  void Set(LCTYPE type, const char* value) { SetLocaleInfoA(LOCALE_USER_DEFAULT, type, value); }

 private:
  static constexpr LCTYPE kTypes[] = {LOCALE_STIMEFORMAT, LOCALE_ITIME, LOCALE_ITLZERO,
                                      LOCALE_STIME,       LOCALE_S1159, LOCALE_S2359};
  std::vector<std::string> old_;
};

TEST_F(MainMenuTest, DateAndTimeFollowTheClockOfTheUsersSettings) {
  ClockSettings settings;
  for (bool twelve : {true, false}) {
    SCOPED_TRACE(twelve ? "12-hour clock" : "24-hour clock");
    settings.Set(LOCALE_STIMEFORMAT, twelve ? "hh:mm:ss tt" : "H:mm:ss");
    settings.Set(LOCALE_ITIME, twelve ? "0" : "1");
    settings.Set(LOCALE_ITLZERO, twelve ? "1" : "0");
    settings.Set(LOCALE_S1159, "AM");
    settings.Set(LOCALE_S2359, "PM");
    ASSERT_EQ(ClockSettings::Get(LOCALE_ITIME), twelve ? "0" : "1");
    const bool markFirst = ClockSettings::Get(ClockSettings::kTimeMarkPosition) == "1";
    // The program reads them again when the system says they changed.
    SendMessageA(window_.Handle(), WM_WININICHANGE, 0, reinterpret_cast<LPARAM>("intl"));
    SetText("");
    auto expected = [&](const SYSTEMTIME& t) {
      char date[64] = "";
      GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, date, sizeof date);
      if (t.wHour == 0 && t.wMinute == 0 && t.wSecond == 0) return std::string(date);
      char clock[64];
      const std::string separator = ClockSettings::Get(LOCALE_STIME);
      const int hour = twelve ? (t.wHour % 12 == 0 ? 12 : t.wHour % 12) : t.wHour;
      snprintf(clock, sizeof clock, twelve ? "%02d%s%02d%s%02d" : "%d%s%02d%s%02d", hour, separator.c_str(), t.wMinute,
               separator.c_str(), t.wSecond);
      std::string time = clock;
      if (twelve) time = markFirst ? (t.wHour < 12 ? "AM " : "PM ") + time : time + (t.wHour < 12 ? " AM" : " PM");
      return std::string(date) + " " + time;
    };
    SYSTEMTIME before, after;
    GetLocalTime(&before);
    Choose(mnDT);
    GetLocalTime(&after);
    // The clock may pass a second, or midnight, meanwhile: either moment will do.
    const std::string text = window_.reEdit.WholeText();
    EXPECT_TRUE(text == expected(before) || text == expected(after)) << text << " / " << expected(before);
  }
}

}  // namespace
}  // namespace quolvi::test
