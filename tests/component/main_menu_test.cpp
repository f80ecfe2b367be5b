// The main window's menus and their enabling, in this process, where the
// menus can be read (another process cannot read them under Wine).
#include <windows.h>
#include <dlgs.h>
#include <richedit.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <stdexcept>
#include <vector>

#include "app/commands.h"
#include "app/lumo_sub1.h"
#include "core/replace_all.h"
#include "core/settings_value.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"
#include "win32/handles.h"
#include "win32/shell.h"

namespace quolvi::test {
namespace {

// A dialog box owned by the window, or null.
HWND OwnedDialog(HWND owner) {
  for (HWND box = FindWindowExA(nullptr, nullptr, "#32770", nullptr); box;
       box = FindWindowExA(nullptr, box, "#32770", nullptr)) {
    if (GetWindow(box, GW_OWNER) == owner) return box;
  }
  return nullptr;
}

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
    // Every window starts without the settings an earlier one left.
    DeleteFileA(SettingsFilePath(ExecutablePath()).c_str());
    ASSERT_TRUE(window_.Create(GetModuleHandleA(nullptr)));
  }
  // Opens a top-level menu's drop-down as far as the program sees it.
  void DropDown(Menu top) {
    SendMessageA(window_.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(window_.MainMenu1(), top)),
                 top);
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
  // Run anyway, a blank selection launches nothing and stays selected.
  window_.mnGoClick();
  EXPECT_EQ(window_.reEdit.SelectionLength(), 5);
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
  auto findDialog = [&] { return OwnedDialog(window_.Handle()); };
  SendMessageA(window_.Handle(), WM_COMMAND, mnSrch, 0);
  HWND dialog = findDialog();
  ASSERT_NE(dialog, nullptr);
  SetWindowPos(dialog, nullptr, 123, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
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
  HWND dialog = OwnedDialog(window_.Handle());
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

// Reads and answers the message boxes that the window shows, from a timer
// that the boxes' own modal loops dispatch.
struct BoxAnswer {
  static inline std::string text, caption;
  static inline std::vector<std::string> texts;
  static inline HWND owner = nullptr;
  static inline std::vector<int> buttons;
  static inline HWND answered = nullptr;

  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = FindWindowA("#32770", nullptr);
    if (!box || !IsWindowVisible(box) || box == answered || !GetDlgItem(box, 0xFFFF)) return;
    answered = box;
    char buffer[256] = "";
    GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
    text = buffer;
    texts.push_back(text);
    GetWindowTextA(box, buffer, sizeof buffer);
    caption = buffer;
    owner = GetWindow(box, GW_OWNER);
    int button = buttons.front();
    buttons.erase(buttons.begin());
    if (buttons.empty()) KillTimer(nullptr, timer);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
  }
  // Arms the timer: the next boxes are answered with these buttons, in order.
  static void Answer(std::vector<int> ids) {
    text.clear();
    texts.clear();
    buttons = std::move(ids);
    SetTimer(nullptr, 0, 20, OnTimer);
  }
  static void Answer(int id) { Answer(std::vector<int>{id}); }
};

// A drop of files, made the way the shell makes it.
HDROP MakeDrop(const std::vector<std::string>& paths) {
  std::string names;
  for (const std::string& path : paths) names += path + '\0';
  names += '\0';
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size());
  GlobalLockScope<DROPFILES> header(memory);
  header.Data()->pFiles = sizeof(DROPFILES);
  memcpy(reinterpret_cast<char*>(header.Data()) + sizeof(DROPFILES), names.data(), names.size());
  return static_cast<HDROP>(memory);
}

TEST_F(MainMenuTest, ADroppedFileReplacesEvenAModifiedDocumentWithoutAQuestion) {
  TempDir dir;
  const std::string path = dir.File("落とす.txt");
  WriteBytes(path, "dropped\n");
  SendMessageW(window_.reEdit.Handle(), WM_CHAR, 'x', 1);
  BoxAnswer::texts.clear();
  SendMessageA(window_.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({path})), 0);
  EXPECT_TRUE(BoxAnswer::texts.empty());
  EXPECT_EQ(window_.reEdit.WholeText(), "dropped\r\n");
  EXPECT_FALSE(window_.Modified());
  char caption[MAX_PATH + 16] = "";
  GetWindowTextA(window_.Handle(), caption, sizeof caption);
  EXPECT_EQ(std::string(caption), "Vessaro - " + path);
  EXPECT_EQ(window_.DocumentFileName(), path);
  EXPECT_EQ(window_.DocumentStartFolder(), dir.path());
}

TEST_F(MainMenuTest, ADropOfThreeFilesOpensOneAndStartsTwoFurtherInstances) {
  TempDir dir;
  const std::string first = dir.File("first.txt");
  const std::string second = dir.File("second file.txt");  // a blank: must arrive whole
  const std::string third = dir.File("third.txt");
  for (const std::string& path : {first, second, third}) WriteBytes(path, path);
  const std::string log = dir.File("instances.log");
  SetEnvironmentVariableA("QUOLVI_INSTANCE_LOG", log.c_str());
  SendMessageA(window_.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({first, second, third})), 0);
  EXPECT_EQ(window_.reEdit.WholeText(), first);
  // Each further instance (this program, see main) writes its argument.
  // Read while the instances may still be writing it: share everything.
  auto logged = [&] {
    FileHandle file(CreateFileA(log.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return std::string();
    std::string text(GetFileSize(file.Get(), nullptr), '\0');
    DWORD got = 0;
    if (!text.empty()) ReadFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &got, nullptr);
    text.resize(got);
    return text;
  };
  EXPECT_TRUE(WaitUntil(
      [&] {
        std::string text = logged();
        return text.find(second) != std::string::npos && text.find(third) != std::string::npos;
      },
      20000))
      << logged();
  SetEnvironmentVariableA("QUOLVI_INSTANCE_LOG", nullptr);
}

// The names of the files in a folder.
std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  FindHandle search(FindFirstFileA((folder + "\\*").c_str(), &found));
  if (!search) return names;
  do {
    if (std::strcmp(found.cFileName, ".") != 0 && std::strcmp(found.cFileName, "..") != 0)
      names.push_back(found.cFileName);
  } while (FindNextFileA(search.Get(), &found));
  return names;
}

TEST_F(MainMenuTest, SavingPutsEveryAttributeBackExactly) {
  TempDir dir;
  for (DWORD attributes : {DWORD{FILE_ATTRIBUTE_ARCHIVE}, DWORD{FILE_ATTRIBUTE_READONLY},
                           DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE}, DWORD{FILE_ATTRIBUTE_SYSTEM}}) {
    SCOPED_TRACE(attributes);
    const std::string path = dir.File("attributes.txt");
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    WriteBytes(path, "text");
    SetFileAttributesA(path.c_str(), attributes);
    // What the system reports (Wine adds the archive bit to every file).
    const DWORD before = GetFileAttributesA(path.c_str());
    SendMessageA(window_.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({path})), 0);
    window_.reEdit.SetSelectionStart(0);
    SendMessageW(window_.reEdit.Handle(), WM_CHAR, L'表', 1);
    bool special = (attributes & 0x1F) != 0;
    BoxAnswer::Answer(special ? std::vector<int>{IDOK, IDOK} : std::vector<int>{IDOK});
    SendMessageA(window_.Handle(), WM_COMMAND, mnSave, 0);
    ASSERT_FALSE(BoxAnswer::texts.empty());
    EXPECT_EQ(BoxAnswer::texts[0], "保存しますか？　　");
    if (special) {
      ASSERT_EQ(BoxAnswer::texts.size(), 2u);
      EXPECT_EQ(BoxAnswer::texts[1], "特殊な属性が付いたファイルですが上書きしますか　　");
    }
    EXPECT_EQ(ReadBytes(path), "表text");
    EXPECT_EQ(GetFileAttributesA(path.c_str()), before);
    EXPECT_FALSE(window_.Modified());
  }
}

TEST_F(MainMenuTest, DecliningToOverwriteASpecialFileWritesNothing) {
  TempDir dir;
  const std::string path = dir.File("readonly.txt");
  WriteBytes(path, "keep");
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  const DWORD before = GetFileAttributesA(path.c_str());
  SendMessageA(window_.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({path})), 0);
  SendMessageW(window_.reEdit.Handle(), WM_CHAR, 'x', 1);
  BoxAnswer::Answer({IDOK, IDCANCEL});
  SendMessageA(window_.Handle(), WM_COMMAND, mnSave, 0);
  EXPECT_EQ(BoxAnswer::texts.size(), 2u);
  EXPECT_EQ(ReadBytes(path), "keep");
  EXPECT_EQ(GetFileAttributesA(path.c_str()), before);
  EXPECT_TRUE(window_.Modified());
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(MainMenuTest, AFailedWritePutsTheAttributesBackAndIsReported) {
  TempDir dir;
  const std::string path = dir.File("locked.txt");
  WriteBytes(path, "locked");
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  const DWORD before = GetFileAttributesA(path.c_str());
  SendMessageA(window_.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({path})), 0);
  SendMessageW(window_.reEdit.Handle(), WM_CHAR, 'x', 1);
  {
    // Another program holds the file open: the editor cannot create it anew.
    FileHandle other(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(other);
    BoxAnswer::Answer({IDOK, IDOK, IDOK});
    SendMessageA(window_.Handle(), WM_COMMAND, mnSave, 0);
  }
  ASSERT_EQ(BoxAnswer::texts.size(), 3u);
  EXPECT_EQ(BoxAnswer::texts[2], "ﾌｧｲﾙ " + path + " を作成できません.");
  EXPECT_EQ(BoxAnswer::caption, "Quolvi");
  EXPECT_EQ(GetFileAttributesA(path.c_str()), before);
  EXPECT_EQ(ReadBytes(path), "locked");
  EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"locked.txt"});  // the new file went
  EXPECT_TRUE(window_.Modified());
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Answers the save dialog from a timer: a file name and OK, or Cancel.
struct SaveDialogAnswer {
  static inline std::string name;  // empty: Cancel
  static inline bool shown = false;
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR timer, DWORD) {
    for (HWND box = FindWindowExA(nullptr, nullptr, "#32770", nullptr); box;
         box = FindWindowExA(nullptr, box, "#32770", nullptr)) {
      char title[128] = "";
      GetWindowTextA(box, title, sizeof title);
      if (!IsWindowVisible(box) || std::string(title) != "Vessaro - ファイルの保存" || GetDlgItem(box, 0xFFFF))
        continue;
      KillTimer(nullptr, timer);
      shown = true;
      int field = GetDlgItem(box, cmb13) ? cmb13 : edt1;
      if (!name.empty()) SetDlgItemTextA(box, field, name.c_str());
      int button = name.empty() ? IDCANCEL : IDOK;
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
      return;
    }
  }
  static void Answer(std::string file) {
    name = std::move(file);
    shown = false;
    SetTimer(nullptr, 0, 20, OnTimer);
  }
};

TEST_F(MainMenuTest, SaveAsCancelledChangesNothing) {
  SendMessageW(window_.reEdit.Handle(), WM_CHAR, 'x', 1);
  SaveDialogAnswer::Answer("");
  SendMessageA(window_.Handle(), WM_COMMAND, mnWrite, 0);
  EXPECT_TRUE(SaveDialogAnswer::shown);
  EXPECT_EQ(window_.DocumentFileName(), "");
  EXPECT_TRUE(window_.Modified());
  char caption[64] = "";
  GetWindowTextA(window_.Handle(), caption, sizeof caption);
  EXPECT_STREQ(caption, "Quolvi");
}

TEST_F(MainMenuTest, SaveAsDeclinedAtTheAttributeQuestionStillNamesTheDocument) {
  TempDir dir;
  const std::string path = dir.File("hidden.txt");
  WriteBytes(path, "hidden");
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
  SendMessageW(window_.reEdit.Handle(), WM_CHAR, 'x', 1);
  SaveDialogAnswer::Answer(path);
  // The dialog's own question before replacing a file, then ours.
  BoxAnswer::Answer({IDYES, IDCANCEL});
  SendMessageA(window_.Handle(), WM_COMMAND, mnWrite, 0);
  EXPECT_TRUE(SaveDialogAnswer::shown);
  ASSERT_FALSE(BoxAnswer::texts.empty());
  EXPECT_EQ(BoxAnswer::texts.back(), "特殊な属性が付いたファイルですが上書きしますか　　");
  EXPECT_EQ(ReadBytes(path), "hidden");
  EXPECT_EQ(window_.DocumentFileName(), path);
  EXPECT_TRUE(window_.Modified());
  char caption[MAX_PATH + 16] = "";
  GetWindowTextA(window_.Handle(), caption, sizeof caption);
  EXPECT_EQ(std::string(caption), "Quolvi - " + path);
  KillTimer(nullptr, 0);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(MainMenuTest, SavingToAFolderThatIsGoneReportsTheAttributes) {
  TempDir dir;
  const std::string folder = dir.File("gone");
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string path = folder + "\\a.txt";
  WriteBytes(path, "a");
  SendMessageA(window_.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({path})), 0);
  DeleteFileA(path.c_str());
  RemoveDirectoryA(folder.c_str());
  SendMessageW(window_.reEdit.Handle(), WM_CHAR, 'x', 1);
  BoxAnswer::Answer({IDOK, IDOK});
  SendMessageA(window_.Handle(), WM_COMMAND, mnSave, 0);
  ASSERT_EQ(BoxAnswer::texts.size(), 2u);
  EXPECT_EQ(BoxAnswer::texts[1], "ファイル属性を調べられません　　");
  EXPECT_TRUE(window_.Modified());
}

TEST_F(MainMenuTest, AWriteThatFailsHalfWayLeavesTheOldFileWholeAndTheDocumentModified) {
  TempDir dir;
  const std::string old(200000, 'o');
  // A file that passes the existing-file test, one whose time stamp fails it
  // (it is there all the same), and one deleted since it was opened.
  for (const char* kind : {"plain", "old stamp", "deleted"}) {
    SCOPED_TRACE(kind);
    const std::string path = dir.File("old.txt");
    WriteBytes(path, old);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    const DWORD before = GetFileAttributesA(path.c_str());
    SendMessageA(window_.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({path})), 0);
    if (std::string(kind) == "old stamp") {
      FileHandle file(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
      SYSTEMTIME y1975{1975, 1, 0, 1, 0, 0, 0, 0};
      FILETIME stamp;
      SystemTimeToFileTime(&y1975, &stamp);
      ASSERT_TRUE(SetFileTime(file.Get(), nullptr, nullptr, &stamp));
    }
    if (std::string(kind) == "deleted") {
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(path.c_str());
    }
    SetText(std::string(300000, 'n'));
    window_.reEdit.SetWriteFaultsForTesting(WriteFaults{100000, false});
    const bool special = std::string(kind) != "deleted";
    BoxAnswer::Answer(special ? std::vector<int>{IDOK, IDOK, IDOK} : std::vector<int>{IDOK, IDOK});
    SendMessageA(window_.Handle(), WM_COMMAND, mnSave, 0);
    window_.reEdit.SetWriteFaultsForTesting({});
    ASSERT_FALSE(BoxAnswer::texts.empty());
    EXPECT_EQ(BoxAnswer::texts.back(), "ｽﾄﾘｰﾑへの書き込みに失敗しました.");
    EXPECT_TRUE(window_.Modified());
    if (special) {
      const std::string now = ReadBytes(path);
      EXPECT_TRUE(now == old) << now.size() << " bytes, " << now.substr(0, 8) << "...";
      EXPECT_EQ(GetFileAttributesA(path.c_str()), before);
      EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"old.txt"});
    } else {
      EXPECT_TRUE(FilesIn(dir.path()).empty());  // neither the new file nor an empty one
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

TEST_F(MainMenuTest, SavingReplacesTheFileWholeOrWritesInPlaceWhereNoNewFileMayBeMade) {
  TempDir dir;
  const std::string path = dir.File("Mixed Case.TXT");
  WriteBytes(path, "old");
  // Opened under another spelling: saved, the file keeps its own.
  SendMessageA(window_.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({dir.File("mixed case.txt")})), 0);
  for (bool noNewFile : {false, true}) {
    SCOPED_TRACE(noNewFile);
    SetText(noNewFile ? "in place" : "replaced");
    window_.reEdit.SetWriteFaultsForTesting(WriteFaults{std::nullopt, noNewFile});
    BoxAnswer::Answer(IDOK);
    SendMessageA(window_.Handle(), WM_COMMAND, mnSave, 0);
    window_.reEdit.SetWriteFaultsForTesting({});
    EXPECT_EQ(BoxAnswer::texts, std::vector<std::string>{"保存しますか？　　"});
    EXPECT_EQ(ReadBytes(path), noNewFile ? "in place" : "replaced");
    EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"Mixed Case.TXT"});
    EXPECT_FALSE(window_.Modified());
  }
}

TEST_F(MainMenuTest, WhatEscapesAnyWindowProcedureIsReportedAndTheProgramGoesOn) {
  HWND editor = window_.reEdit.Handle();
  // The main window's procedure (the editor's change notification)...
  window_.reEdit.OnChange = [] { throw std::bad_alloc(); };
  BoxAnswer::Answer({IDOK, IDOK, IDOK});
  SendMessageW(editor, WM_CHAR, 'x', 1);
  window_.reEdit.OnChange = nullptr;
  // ...and the editor's own.
  window_.reEdit.OnContextMenu = [](int, int) { throw std::runtime_error("menu broken"); };
  SendMessageW(editor, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(editor), MAKELPARAM(10, 10));
  window_.reEdit.OnContextMenu = [](int, int) { throw 42; };
  SendMessageW(editor, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(editor), MAKELPARAM(10, 10));
  ASSERT_EQ(BoxAnswer::texts.size(), 3u);
  EXPECT_EQ(BoxAnswer::texts[0], "メモリが不足したため処理を中止しました.");
  EXPECT_EQ(BoxAnswer::texts[1], "予期しないエラーのため処理を中止しました（menu broken）.");
  EXPECT_EQ(BoxAnswer::texts[2], "予期しないエラーのため処理を中止しました.");
  EXPECT_EQ(BoxAnswer::caption, "Quolvi");
  // The window and the document live on.
  EXPECT_TRUE(IsWindow(window_.Handle()));
  EXPECT_EQ(window_.reEdit.WholeText(), "x");
}

TEST_F(MainMenuTest, AnEditThatWouldPassTheSizeLimitIsRefusedAndChangesNothing) {
  SetText("keep");
  window_.reEdit.SelectWholeText();
  const std::u16string big(kMaxDocumentBytes + 1, u'p');
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (big.size() + 1) * sizeof(char16_t));
  if (GlobalLockScope<char16_t> chars(memory); chars.Data())
    std::copy(big.c_str(), big.c_str() + big.size() + 1, chars.Data());
  SetClipboard(CF_UNICODETEXT, memory);
  BoxAnswer::Answer(IDOK);
  SendMessageA(window_.Handle(), WM_COMMAND, mnPaste, 0);
  EXPECT_EQ(BoxAnswer::texts, std::vector<std::string>{"文書が上限の 12 MB を超えるため処理を中止しました."});
  EXPECT_EQ(window_.reEdit.WholeText(), "keep");
  // A replace all that would grow the text past the limit.
  SetText(std::string(20000, 'a'));
  window_.reEdit.SetSelectionStart(0);
  EXPECT_THROW(ReplaceAll(window_.reEdit, SearchFields{"a", std::string(255, 'b'), kOptionReplaceAll}),
               DocumentTooLarge);
  EXPECT_EQ(window_.reEdit.WholeText(), std::string(20000, 'a'));
  SetClipboard(CF_TEXT, nullptr);
}

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
