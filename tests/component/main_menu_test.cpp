// The main window's menus and their enabling, in this process, where the
// menus can be read (another process cannot read them under Wine).
#include <windows.h>
#include <dlgs.h>
#include <richedit.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>
#include <stdexcept>
#include <vector>

#include "app/commands.h"
#include "app/lumo_sub1.h"
#include "core/folder_rules.h"
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

std::string TextOf(HWND hwnd) {
  char text[MAX_PATH + 64] = "";
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

void SetClipboard(UINT format, HANDLE data) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  if (data) SetClipboardData(format, data);
  CloseClipboard();
}

// A timer of this thread, dispatched by whatever message loop runs (the
// modal loops of dialogs and menus too); stopped when it goes out of scope.
class ThreadTimer {
 public:
  explicit ThreadTimer(TIMERPROC onTick) : id_(SetTimer(nullptr, 0, 20, onTick)) {}
  ~ThreadTimer() { KillTimer(nullptr, id_); }
  ThreadTimer(const ThreadTimer&) = delete;
  ThreadTimer& operator=(const ThreadTimer&) = delete;

 private:
  UINT_PTR id_;
};

// Answers the boxes that this thread shows modally (message boxes, file,
// font and colour dialogs): records each and presses the next reply's
// button, Cancel once the replies have run out. It answers only while it is
// in scope, so a failed test never leaves it to answer the next test's boxes.
class Answerer {
 public:
  struct Reply {
    Reply(int id = IDCANCEL, std::function<void(HWND)> act = nullptr) : button(id), before(std::move(act)) {}
    int button;
    std::function<void(HWND)> before;  // done to the box first
  };
  struct Seen {
    std::string caption;
    std::string text;    // of a message box
    std::string folder;  // that a file dialog shows
    std::string name;    // that a file dialog proposes
    HWND owner;
  };
  // A file dialog given a name and OK.
  static Reply Name(const std::string& path) {
    return Reply(IDOK, [path](HWND box) { SetDlgItemTextA(box, GetDlgItem(box, cmb13) ? cmb13 : edt1, path.c_str()); });
  }

  explicit Answerer(std::vector<Reply> replies = {}) : replies_(std::move(replies)) { current_ = this; }
  ~Answerer() { current_ = nullptr; }
  Answerer(const Answerer&) = delete;
  Answerer& operator=(const Answerer&) = delete;

  // The texts of the message boxes answered.
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const Seen& box : seen) {
      if (!box.text.empty()) texts.push_back(box.text);
    }
    return texts;
  }

  std::vector<Seen> seen;

 private:
  static BOOL CALLBACK Consider(HWND box, LPARAM found) {
    char name[16] = "";
    GetClassNameA(box, name, sizeof name);
    HWND owner = GetWindow(box, GW_OWNER);
    // Modal: its owner is disabled while it is up, unlike the find dialogs'.
    if (std::string(name) == "#32770" && IsWindowVisible(box) && IsWindowEnabled(box) && owner &&
        !IsWindowEnabled(owner)) {
      *reinterpret_cast<HWND*>(found) = box;
      return FALSE;
    }
    return TRUE;
  }
  static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
    if (current_) current_->Tick();
  }
  void Tick() {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), Consider, reinterpret_cast<LPARAM>(&box));
    answered_.erase(std::remove_if(answered_.begin(), answered_.end(), [](HWND gone) { return !IsWindow(gone); }),
                    answered_.end());
    if (!box || std::find(answered_.begin(), answered_.end(), box) != answered_.end()) return;
    answered_.push_back(box);
    Seen item{TextOf(box), "", "", "", GetWindow(box, GW_OWNER)};
    if (GetDlgItem(box, 0xFFFF)) item.text = TextOf(GetDlgItem(box, 0xFFFF));
    if (HWND name = GetDlgItem(box, cmb13) ? GetDlgItem(box, cmb13) : GetDlgItem(box, edt1)) {
      // Answered in the dialog's own characters, which are UTF-16.
      wchar_t folder[MAX_PATH] = L"";
      if (SendMessageW(box, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder)) > 0) {
        char narrow[2 * MAX_PATH] = "";
        WideCharToMultiByte(932, 0, folder, -1, narrow, sizeof narrow, nullptr, nullptr);
        item.folder = narrow;
        item.name = TextOf(name);
      }
    }
    seen.push_back(item);
    Reply reply = next_ < replies_.size() ? replies_[next_++] : Reply();
    if (reply.before) reply.before(box);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(reply.button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, reply.button)));
  }

  static inline Answerer* current_ = nullptr;
  std::vector<Reply> replies_;
  std::size_t next_ = 0;
  std::vector<HWND> answered_;
  ThreadTimer timer_{OnTick};
};

class MainMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The window of an earlier test posted WM_QUIT when it was destroyed,
    // which would end the next modal loop at once.
    MSG quit;
    while (PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    // Every window starts without the settings an earlier one left, and
    // keeps its recovery file where no earlier one left one.
    DeleteFileA(SettingsFilePath(ExecutablePath()).c_str());
    SetEnvironmentVariableA("LOCALAPPDATA", localAppData_.path().c_str());
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

  TempDir localAppData_;  // outlives the window
  TFLumoSub1 window_;
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
         for (wchar_t c : {L' ', L'\t', L' '}) SendMessageW(window_.reEdit.Handle(), WM_CHAR, c, 1);
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
      EXPECT_EQ(enabled, expected) << Caption(id >= pmUndo ? window_.PopupMenu1() : window_.MainMenu1(), id,
                                              MF_BYCOMMAND);
    }
  }
}

TEST_F(MainMenuTest, WordWrapTogglesWithItsCheckMark) {
  // What the switch keeps of the text is the control's matter, tested there.
  SendMessageA(window_.Handle(), WM_COMMAND, mnWordWrap, 0);
  EXPECT_TRUE(window_.reEdit.WordWrap());
  EXPECT_TRUE(GetMenuState(window_.MainMenu1(), mnWordWrap, MF_BYCOMMAND) & MF_CHECKED);
  SendMessageA(window_.Handle(), WM_COMMAND, mnWordWrap, 0);
  EXPECT_FALSE(window_.reEdit.WordWrap());
  EXPECT_FALSE(GetMenuState(window_.MainMenu1(), mnWordWrap, MF_BYCOMMAND) & MF_CHECKED);
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

TEST_F(MainMenuTest, NewEmptiesTheSearchTextsOfBothDialogsAndLeavesFindNextNothingToDo) {
  SetText("abcb");
  window_.reEdit.SetSelectionStart(0);
  // Opens a search dialog, fills its fields and presses one of its buttons.
  auto use = [&](UINT command, const char* find, const char* replacement, int button) {
    SendMessageA(window_.Handle(), WM_COMMAND, command, 0);
    HWND dialog = OwnedDialog(window_.Handle());
    if (!dialog) return dialog;
    if (find) SetDlgItemTextA(dialog, edt1, find);
    if (replacement) SetDlgItemTextA(dialog, edt2, replacement);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
    if (button == IDCANCEL) WaitUntil([&] { return !IsWindow(dialog); });
    return dialog;
  };
  ASSERT_NE(use(mnSrch, "b", nullptr, IDOK), nullptr);
  EXPECT_EQ(window_.reEdit.SelectionStart(), 1);  // found with the dialog's text
  SendMessageA(window_.Handle(), WM_COMMAND, mnSrchNxt, 0);
  EXPECT_EQ(window_.reEdit.SelectionStart(), 3);  // F3 repeats it
  use(mnSrch, nullptr, nullptr, IDCANCEL);
  window_.reEdit.SetSelectionStart(0);  // a "c" to find: from the end the search would say it finds none
  ASSERT_NE(use(mnRepl, "c", "d", IDOK), nullptr);
  use(mnRepl, nullptr, nullptr, IDCANCEL);

  Answerer answers({IDOK});
  SendMessageA(window_.Handle(), WM_COMMAND, mnNew, 0);
  ASSERT_EQ(answers.Texts(), std::vector<std::string>{"編集中の内容を破棄して新規作成します　　"});
  SetText("abcb");
  window_.reEdit.SetSelectionStart(0);
  SendMessageA(window_.Handle(), WM_COMMAND, mnSrchNxt, 0);
  EXPECT_EQ(window_.reEdit.SelectionStart(), 0);  // no text: nothing searched, no message
  EXPECT_EQ(window_.reEdit.SelectionLength(), 0);
  EXPECT_EQ(answers.seen.size(), 1u);
  // Opened again, the dialogs show empty fields.
  for (UINT command : {mnSrch, mnRepl}) {
    SendMessageA(window_.Handle(), WM_COMMAND, command, 0);
    HWND dialog = OwnedDialog(window_.Handle());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(TextOf(GetDlgItem(dialog, edt1)), "") << command;
    if (command == mnRepl) {
      EXPECT_EQ(TextOf(GetDlgItem(dialog, edt2)), "");
    }
    DestroyWindow(dialog);
  }
}

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

TEST_F(MainMenuTest, TheShownWindowTakesDropsAndADroppedFileReplacesEvenAModifiedDocumentWithoutAQuestion) {
  TempDir dir;
  const std::string path = dir.File("落とす.txt");
  WriteBytes(path, "dropped\n");
  // The shell drops files only onto a window that accepts them: this one
  // does from its showing on.
  const auto acceptsFiles = [&] { return (GetWindowLongA(window_.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0; };
  EXPECT_FALSE(acceptsFiles());
  window_.Show(SW_SHOWNOACTIVATE);
  ASSERT_TRUE(acceptsFiles());
  SendMessageW(window_.reEdit.Handle(), WM_CHAR, 'x', 1);
  Answerer answers;
  // Delivered as the shell delivers it, through the window's queue.
  PostMessageA(window_.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({path})), 0);
  EXPECT_TRUE(WaitUntil([&] { return window_.reEdit.WholeText() == "dropped\r\n"; }));
  EXPECT_TRUE(answers.seen.empty());
  EXPECT_FALSE(window_.Modified());
  EXPECT_EQ(TextOf(window_.Handle()), "Vessaro - " + path);
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
    Answerer answers({IDOK, IDOK});
    SendMessageA(window_.Handle(), WM_COMMAND, mnSave, 0);
    std::vector<std::string> asked{"保存しますか？　　"};
    if (special) asked.push_back("特殊な属性が付いたファイルですが上書きしますか　　");
    EXPECT_EQ(answers.Texts(), asked);
    EXPECT_EQ(ReadBytes(path), "表text");
    EXPECT_EQ(GetFileAttributesA(path.c_str()), before);
    EXPECT_FALSE(window_.Modified());
  }
}

TEST_F(MainMenuTest, DecliningToOverwriteASpecialFileWritesNothingAndSaveAsStillNamesTheDocument) {
  TempDir dir;
  const std::string path = dir.File("hidden.txt");
  WriteBytes(path, "keep");
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
  const DWORD before = GetFileAttributesA(path.c_str());
  const std::string special = "特殊な属性が付いたファイルですが上書きしますか　　";
  SendMessageA(window_.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({path})), 0);
  SendMessageW(window_.reEdit.Handle(), WM_CHAR, 'x', 1);
  {
    Answerer answers({IDOK, IDCANCEL});
    SendMessageA(window_.Handle(), WM_COMMAND, mnSave, 0);
    EXPECT_EQ(answers.Texts(), (std::vector<std::string>{"保存しますか？　　", special}));
  }
  window_.ResetDocument();
  SendMessageW(window_.reEdit.Handle(), WM_CHAR, 'y', 1);
  {
    // The dialog's own question before replacing a file, then ours.
    Answerer answers({Answerer::Name(path), IDYES, IDCANCEL});
    SendMessageA(window_.Handle(), WM_COMMAND, mnWrite, 0);
    ASSERT_EQ(answers.seen.size(), 3u);
    EXPECT_EQ(answers.seen[2].text, special);
  }
  EXPECT_EQ(ReadBytes(path), "keep");
  EXPECT_EQ(GetFileAttributesA(path.c_str()), before);
  EXPECT_EQ(window_.DocumentFileName(), path);
  EXPECT_TRUE(window_.Modified());
  EXPECT_EQ(TextOf(window_.Handle()), "Quolvi - " + path);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(MainMenuTest, DecliningToLoseCharactersAtSaveAsLeavesTheDocumentAsBeforeTheDialog) {
  TempDir dir;
  const std::string path = dir.File("kept.txt");
  WriteBytes(path, "kept");
  SendMessageW(window_.reEdit.Handle(), WM_CHAR, 0xD842, 1);  // 𠮷, as the keyboard sends it
  SendMessageW(window_.reEdit.Handle(), WM_CHAR, 0xDFB7, 1);
  const std::string folder = window_.DocumentStartFolder();
  // The dialog's own question before replacing a file, then ours.
  Answerer answers({Answerer::Name(path), IDYES, IDCANCEL});
  SendMessageA(window_.Handle(), WM_COMMAND, mnWrite, 0);
  ASSERT_EQ(answers.seen.size(), 3u);
  EXPECT_EQ(answers.seen[2].text,
            "Shift-JIS で保存できない文字 1 個を「?」などに置き換えて保存します（最初は 1 行目の U+20BB7）　　");
  EXPECT_EQ(ReadBytes(path), "kept");
  EXPECT_EQ(window_.DocumentFileName(), "");
  EXPECT_EQ(window_.DocumentStartFolder(), folder);
  EXPECT_EQ(TextOf(window_.Handle()), "Quolvi");
  EXPECT_TRUE(window_.Modified());
}

TEST_F(MainMenuTest, AFailedWritePutsTheAttributesBackAndIsReported) {
  TempDir dir;
  const std::string path = dir.File("locked.txt");
  WriteBytes(path, "locked");
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  const DWORD before = GetFileAttributesA(path.c_str());
  SendMessageA(window_.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({path})), 0);
  SendMessageW(window_.reEdit.Handle(), WM_CHAR, 'x', 1);
  Answerer answers({IDOK, IDOK, IDOK});
  {
    // Another program holds the file open: the editor cannot create it anew.
    FileHandle other(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(other);
    SendMessageA(window_.Handle(), WM_COMMAND, mnSave, 0);
  }
  ASSERT_EQ(answers.Texts().size(), 3u);
  EXPECT_EQ(answers.Texts()[2], "ﾌｧｲﾙ " + path + " を作成できません.");
  EXPECT_EQ(answers.seen[2].caption, "Quolvi");
  EXPECT_EQ(GetFileAttributesA(path.c_str()), before);
  EXPECT_EQ(ReadBytes(path), "locked");
  EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"locked.txt"});  // the new file went
  EXPECT_TRUE(window_.Modified());
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Where the window's documents are kept, as the registry names it.
std::string DocumentsFolder() {
  char folder[MAX_PATH] = "";
  DWORD size = sizeof folder;
  RegGetValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Personal",
               RRF_RT_REG_SZ, nullptr, folder, &size);
  return folder;
}

TEST_F(MainMenuTest, SaveAsksOnlyForAModifiedNamedDocumentAndGoesToSaveAsForAnUntitledOne) {
  TempDir dir;
  const std::string path = dir.File("named.txt");
  WriteBytes(path, "named");
  struct State {
    const char* name;
    bool named, modified;
    std::vector<std::string> shown;  // the boxes and dialogs Save shows, each cancelled
  } states[] = {
      {"untitled, clean", false, false, {}},
      {"untitled, modified", false, true, {"Vessaro - ファイルの保存"}},
      {"named, clean", true, false, {}},
      {"named, modified", true, true, {"Quolvi"}},
  };
  for (const State& state : states) {
    SCOPED_TRACE(state.name);
    window_.ResetDocument();
    if (state.named) SendMessageA(window_.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({path})), 0);
    if (state.modified) SendMessageW(window_.reEdit.Handle(), WM_CHAR, 'x', 1);
    const std::string caption = TextOf(window_.Handle());
    Answerer answers;
    SendMessageA(window_.Handle(), WM_COMMAND, mnSave, 0);
    ASSERT_EQ(answers.seen.size(), state.shown.size());
    if (!state.shown.empty()) {
      EXPECT_EQ(answers.seen[0].caption, state.shown[0]);
    }
    if (state.named && state.modified) {
      EXPECT_EQ(answers.Texts(), std::vector<std::string>{"保存しますか？　　"});
    }
    EXPECT_EQ(window_.Modified(), state.modified);
    EXPECT_EQ(window_.DocumentFileName(), state.named ? path : "");
    EXPECT_EQ(TextOf(window_.Handle()), caption);
    EXPECT_EQ(ReadBytes(path), "named");
  }
}

TEST_F(MainMenuTest, TheFileDialogsStartInTheDocumentsFolderAfterAResetAndBesideTheDocumentAfterSaveAs) {
  const std::string documents = DocumentsFolder();
  ASSERT_NE(GetFileAttributesA(documents.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u) << documents;
  TempDir opened, saved;
  const std::string first = opened.File("first.txt");
  const std::string second = saved.File("second.txt");
  WriteBytes(first, "first");
  constexpr char kOpenTitle[] = "Vessaro - ファイルを開く";
  constexpr char kSaveTitle[] = "Vessaro - ファイルの保存";
  // Shows the open dialog, then Save As, each cancelled; what they showed.
  auto dialogs = [&] {
    Answerer answers;
    SendMessageA(window_.Handle(), WM_COMMAND, mnLoad, 0);
    SendMessageA(window_.Handle(), WM_COMMAND, mnWrite, 0);
    return answers.seen;
  };
  // Both dialogs, with their titles, in that folder, proposing that name.
  auto expect = [&](const std::string& folder, const std::string& name) {
    const std::vector<Answerer::Seen> seen = dialogs();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].caption, kOpenTitle);
    EXPECT_EQ(seen[1].caption, kSaveTitle);
    for (const Answerer::Seen& dialog : seen) {
      EXPECT_EQ(dialog.folder, folder) << dialog.caption;
      EXPECT_TRUE(name.empty() ? dialog.name.empty() : dialog.name.find(name) != std::string::npos) << dialog.name;
    }
  };
  {
    SCOPED_TRACE("at the start");
    expect(documents, "");
  }
  {
    SCOPED_TRACE("after an open");
    SendMessageA(window_.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({first})), 0);
    EXPECT_EQ(TextOf(window_.Handle()), "Vessaro - " + first);
    EXPECT_EQ(window_.DocumentStartFolder(), opened.path());
    expect(opened.path(), "first.txt");
  }
  {
    SCOPED_TRACE("after Save As, whatever the document's state");
    Answerer answers({Answerer::Name(second), IDYES});  // and yes, create it if asked
    SendMessageA(window_.Handle(), WM_COMMAND, mnWrite, 0);
    ASSERT_FALSE(answers.seen.empty());
    EXPECT_EQ(answers.seen[0].caption, kSaveTitle);
    EXPECT_EQ(ReadBytes(second), "first");
    EXPECT_EQ(TextOf(window_.Handle()), "Quolvi - " + second);
    EXPECT_EQ(window_.DocumentFileName(), second);
    EXPECT_EQ(window_.DocumentStartFolder(), saved.path());
    expect(saved.path(), "second.txt");
    EXPECT_EQ(TextOf(window_.Handle()), "Quolvi - " + second);  // cancelled: nothing changed
    EXPECT_EQ(window_.DocumentFileName(), second);
  }
  {
    SCOPED_TRACE("after New");
    SendMessageA(window_.Handle(), WM_COMMAND, mnNew, 0);
    EXPECT_EQ(TextOf(window_.Handle()), "Quolvi");
    expect(documents, "");
  }
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
  Answerer answers({IDOK, IDOK});
  SendMessageA(window_.Handle(), WM_COMMAND, mnSave, 0);
  EXPECT_EQ(answers.Texts(), (std::vector<std::string>{"保存しますか？　　", "ファイル属性を調べられません　　"}));
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
    Answerer answers({IDOK, IDOK, IDOK});
    SendMessageA(window_.Handle(), WM_COMMAND, mnSave, 0);
    window_.reEdit.SetWriteFaultsForTesting({});
    EXPECT_EQ(answers.Texts().size(), special ? 3u : 2u);
    ASSERT_FALSE(answers.Texts().empty());
    EXPECT_EQ(answers.Texts().back(), "ｽﾄﾘｰﾑへの書き込みに失敗しました.");
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
    Answerer answers({IDOK});
    SendMessageA(window_.Handle(), WM_COMMAND, mnSave, 0);
    window_.reEdit.SetWriteFaultsForTesting({});
    EXPECT_EQ(answers.Texts(), std::vector<std::string>{"保存しますか？　　"});
    EXPECT_EQ(ReadBytes(path), noNewFile ? "in place" : "replaced");
    EXPECT_EQ(FilesIn(dir.path()), std::vector<std::string>{"Mixed Case.TXT"});
    EXPECT_FALSE(window_.Modified());
  }
}

TEST_F(MainMenuTest, WhatEscapesAnyWindowProcedureIsReportedAndTheProgramGoesOn) {
  HWND editor = window_.reEdit.Handle();
  // The main window's procedure (the editor's change notification)...
  window_.reEdit.OnChange = [] { throw std::bad_alloc(); };
  Answerer answers({IDOK, IDOK, IDOK});
  SendMessageW(editor, WM_CHAR, 'x', 1);
  window_.reEdit.OnChange = nullptr;
  // ...and the editor's own.
  window_.reEdit.OnContextMenu = [](int, int) { throw std::runtime_error("menu broken"); };
  SendMessageW(editor, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(editor), MAKELPARAM(10, 10));
  window_.reEdit.OnContextMenu = [](int, int) { throw 42; };
  SendMessageW(editor, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(editor), MAKELPARAM(10, 10));
  EXPECT_EQ(answers.Texts(), (std::vector<std::string>{"メモリが不足したため処理を中止しました.",
                                                       "予期しないエラーのため処理を中止しました（menu broken）.",
                                                       "予期しないエラーのため処理を中止しました."}));
  for (const Answerer::Seen& box : answers.seen) EXPECT_EQ(box.caption, "Quolvi");
  // The window and the document live on.
  EXPECT_TRUE(IsWindow(window_.Handle()));
  EXPECT_EQ(window_.reEdit.WholeText(), "x");
}

TEST_F(MainMenuTest, AChangeToANewEditorWindowThatFailsKeepsTheTextItsChangesAndTheQuestionAtClosing) {
  // Marked characters (stray bytes) in many lines: word wrap carries them
  // over as rich text, and deleting the lines is an edit made in a new window.
  std::string text;
  for (int line = 0; line < 300; ++line) text += "行\x80\r\n";
  text += "end";
  TempDir dir;
  const std::string path = dir.File("lines.txt");
  WriteBytes(path, text);
  RichEditor& editor = window_.reEdit;
  const auto load = [&] {
    SendMessageA(window_.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({path})), 0);
  };
  const std::pair<const char*, std::function<void()>> swaps[] = {
      {"word wrap", [&] { SendMessageA(window_.Handle(), WM_COMMAND, mnWordWrap, 0); }},
      {"deleting many lines",
       [&] {
         editor.Select(0, static_cast<Position>(text.size() - 3));
         SendMessageW(editor.Handle(), WM_KEYDOWN, VK_DELETE, 0);
       }},
      {"a load", load}};
  using Fault = RichEditor::SwapFault;
  for (const auto& [name, swap] : swaps) {
    // kNone: out of memory while the text goes into the new window.
    for (Fault fault : {Fault::kNoWindow, Fault::kTextCut, Fault::kNone}) {
      SCOPED_TRACE(std::string(name) + " " + std::to_string(static_cast<int>(fault)));
      load();
      ASSERT_FALSE(window_.Modified());
      HWND control = editor.Handle();
      editor.SetSwapFaultForTesting(fault);
      if (fault == Fault::kNone) {
        editor.ReportAllProgressForTesting();
        editor.OnProgress = [](int) { throw std::bad_alloc(); };
      }
      Answerer answers({IDOK});
      swap();
      editor.OnProgress = nullptr;
      EXPECT_EQ(answers.Texts(),
                std::vector<std::string>{fault == Fault::kNone ? "メモリが不足したため処理を中止しました."
                                                               : "編集領域を用意できないため処理を中止しました."});
      EXPECT_EQ(editor.Handle(), control);
      EXPECT_TRUE(editor.WholeText() == text);
      EXPECT_FALSE(editor.WordWrap());
      EXPECT_FALSE(window_.Modified());
      // The editor still reports its changes.
      SendMessageW(control, WM_CHAR, 'x', 1);
      EXPECT_TRUE(window_.Modified());
    }
  }
  Answerer answers({IDCANCEL});
  SendMessageA(window_.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(answers.Texts(), std::vector<std::string>{"編集中の内容を破棄して終了します　　"});
  EXPECT_TRUE(IsWindow(window_.Handle()));
}

TEST_F(MainMenuTest, ALoadThatFailsPartOfTheWayLeavesTheDocumentAsItWasAndSaysWhy) {
  std::string text;
  for (int line = 0; text.size() < 600000; ++line)
    text += "途中で失敗する読み込みの行 " + std::to_string(line) + "\r\n";
  TempDir dir;
  const std::string path = dir.File("long.txt");
  WriteBytes(path, text);
  RichEditor& editor = window_.reEdit;
  SetText("kept");
  SendMessageW(editor.Handle(), WM_CHAR, 'x', 1);
  using Fault = RichEditor::SwapFault;
  // The window ends up holding less than the text (found at the end), or
  // no memory half-way (kNone).
  for (Fault fault : {Fault::kTextCut, Fault::kNone}) {
    SCOPED_TRACE(static_cast<int>(fault));
    editor.SetSwapFaultForTesting(fault);
    if (fault == Fault::kNone) {
      editor.ReportAllProgressForTesting();
      editor.OnProgress = [](int percent) {
        if (percent >= 50) throw std::bad_alloc();
      };
    }
    Answerer answers({IDOK});
    SendMessageA(window_.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({path})), 0);
    EXPECT_TRUE(editor.Loading());  // the first screen is in, the rest to come
    EXPECT_TRUE(WaitUntil([&] { return !editor.Loading(); }, 60000));
    editor.OnProgress = nullptr;
    EXPECT_EQ(answers.Texts(),
              std::vector<std::string>{fault == Fault::kNone ? "メモリが不足したため処理を中止しました."
                                                             : "編集領域を用意できないため処理を中止しました."});
    EXPECT_EQ(editor.WholeText(), "keptx");
    EXPECT_TRUE(window_.Modified());
    EXPECT_EQ(TextOf(window_.Handle()), "Quolvi");
    EXPECT_EQ(window_.DocumentFileName(), "");
    // Its text open to edits again, reporting them.
    SendMessageW(editor.Handle(), WM_CHAR, 'y', 1);
    EXPECT_EQ(editor.WholeText(), "keptxy");
    SendMessageW(editor.Handle(), WM_KEYDOWN, VK_BACK, 0);
  }
}

TEST_F(MainMenuTest, AWindowWhoseEditorCannotBeMadeSaysSoAndIsNotMade) {
  TFLumoSub1 other;
  other.reEdit.SetSwapFaultForTesting(RichEditor::SwapFault::kNoWindow);
  Answerer answers({IDOK});
  EXPECT_FALSE(other.Create(GetModuleHandleA(nullptr)));
  EXPECT_EQ(answers.Texts(), std::vector<std::string>{"編集領域を用意できないため処理を中止しました."});
  EXPECT_EQ(other.Handle(), nullptr);
}

TEST_F(MainMenuTest, AnEditThatWouldPassTheSizeLimitIsRefusedAndChangesNothing) {
  // Neither the text nor the selection: a key pressed next acts where it would have.
  const auto selection = [&] { return std::pair(window_.reEdit.SelectionStart(), window_.reEdit.SelectionLength()); };
  SetText("keep");
  window_.reEdit.Select(1, 2);
  const std::u16string big(kMaxDocumentBytes + 1, u'p');
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (big.size() + 1) * sizeof(char16_t));
  if (GlobalLockScope<char16_t> chars(memory); chars.Data())
    std::copy(big.c_str(), big.c_str() + big.size() + 1, chars.Data());
  SetClipboard(CF_UNICODETEXT, memory);
  Answerer answers({IDOK});
  SendMessageA(window_.Handle(), WM_COMMAND, mnPaste, 0);
  EXPECT_EQ(answers.Texts(), std::vector<std::string>{"文書が上限の 12 MB を超えるため処理を中止しました."});
  EXPECT_EQ(window_.reEdit.WholeText(), "keep");
  EXPECT_EQ(selection(), std::pair(1, 2));
  // A replace all that would grow the text past the limit.
  const std::string as(kMaxDocumentBytes / 255 + 8, 'a');
  SetText(as);
  window_.reEdit.Select(3, 2);
  EXPECT_THROW(ReplaceAll(window_.reEdit, SearchFields{"a", std::string(255, 'b'), kOptionReplaceAll}),
               DocumentTooLarge);
  EXPECT_TRUE(window_.reEdit.WholeText() == as);
  EXPECT_EQ(selection(), std::pair(3, 2));
  SetClipboard(CF_TEXT, nullptr);
}

TEST_F(MainMenuTest, SettingsThatDoNotReachTheDiskWholeAreReportedAndTheOldFileStays) {
  const std::string path = SettingsFilePath(ExecutablePath());
  const std::string old = "[Other]\r\nKey=kept\r\n[ZIDEVARE]\r\nLeft=7\r\n";
  WriteBytes(path, old);
  window_.SetSettingsFaultsForTesting(ProfileFaults{40});  // as a disk that fills up
  Answerer answers({IDOK});
  HWND hwnd = window_.Handle();
  SendMessageA(hwnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(answers.Texts(), std::vector<std::string>{path + " に書き込めません."});
  EXPECT_FALSE(IsWindow(hwnd));  // the close goes on
  EXPECT_EQ(ReadBytes(path), old);
  WIN32_FIND_DATAA found;
  EXPECT_FALSE(FindHandle(FindFirstFileA((FolderOf(path) + "\\qlv*.tmp").c_str(), &found)));  // no copy left
  DeleteFileA(path.c_str());
}

TEST_F(MainMenuTest, TheModifiedFlagFollowsEditsAndNewAsksBeforeDiscarding) {
  EXPECT_FALSE(window_.Modified());
  EXPECT_EQ(GetWindowTextLengthA(window_.Handle()), 6);  // "Quolvi"
  SendMessageW(window_.reEdit.Handle(), WM_CHAR, L'表', 1);
  EXPECT_TRUE(window_.Modified());

  Answerer answers({IDCANCEL, IDOK});
  SendMessageA(window_.Handle(), WM_COMMAND, mnNew, 0);
  EXPECT_EQ(answers.Texts(), std::vector<std::string>{"編集中の内容を破棄して新規作成します　　"});
  EXPECT_EQ(window_.reEdit.WholeText(), "表");
  EXPECT_TRUE(window_.Modified());

  SetWindowTextA(window_.Handle(), "something else");
  SendMessageA(window_.Handle(), WM_COMMAND, mnNew, 0);
  EXPECT_EQ(answers.Texts().size(), 2u);
  EXPECT_EQ(window_.reEdit.WholeText(), "");
  EXPECT_FALSE(window_.Modified());
  EXPECT_EQ(TextOf(window_.Handle()), "Quolvi");

  // A clean document is reset without a question.
  SendMessageA(window_.Handle(), WM_COMMAND, mnNew, 0);
  EXPECT_EQ(answers.Texts().size(), 2u);
}

TEST_F(MainMenuTest, ClosingAModifiedDocumentAsksAndCancelKeepsTheWindow) {
  EXPECT_TRUE(SendMessageA(window_.Handle(), WM_QUERYENDSESSION, 0, 0));  // clean: the session may end
  SendMessageW(window_.reEdit.Handle(), WM_CHAR, 'x', 1);
  Answerer answers({IDCANCEL, IDCANCEL, IDOK});
  SendMessageA(window_.Handle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(answers.Texts(), std::vector<std::string>{"編集中の内容を破棄して終了します　　"});
  EXPECT_TRUE(IsWindow(window_.Handle()));
  EXPECT_EQ(window_.reEdit.WholeText(), "x");
  EXPECT_FALSE(SendMessageA(window_.Handle(), WM_QUERYENDSESSION, 0, 0));  // the session may not end either
  HWND hwnd = window_.Handle();
  SendMessageA(hwnd, WM_CLOSE, 0, 0);
  EXPECT_EQ(answers.Texts().size(), 3u);
  EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(MainMenuTest, AskUserAppendsTwoIdeographicSpacesAndUsesTheProgramsCaption) {
  SetWindowTextA(window_.Handle(), "a.txt - Quolvi");
  Answerer answers({IDCANCEL, IDCANCEL});
  int result = window_.AskUser("保存しますか？", MB_OKCANCEL | MB_ICONEXCLAMATION);
  EXPECT_EQ(result, IDCANCEL);
  ASSERT_EQ(answers.seen.size(), 1u);
  EXPECT_EQ(answers.seen[0].text, "保存しますか？\x81\x40\x81\x40");
  EXPECT_EQ(answers.seen[0].caption, "Quolvi");
  EXPECT_EQ(answers.seen[0].owner, window_.Handle());

  window_.AskUser("", MB_OKCANCEL);
  ASSERT_EQ(answers.seen.size(), 2u);
  EXPECT_EQ(answers.seen[1].text, "　　");
}

// Chooses in the font dialog an IPA font of 20 points in a bold style.
std::string ChooseAnotherFont(HWND box) {
  auto choose = [box](int combo, const char* prefix) {
    HWND list = GetDlgItem(box, combo);
    LRESULT index = SendMessageA(list, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(prefix));
    SendMessageA(list, CB_SETCURSEL, index, 0);
    SendMessageA(box, WM_COMMAND, MAKEWPARAM(combo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  };
  choose(cmb1, "IPA");
  choose(cmb3, "20");
  SendMessageA(GetDlgItem(box, cmb2), CB_SETCURSEL, 2, 0);  // a bold style
  return TextOf(GetDlgItem(box, cmb1));
}

TEST_F(MainMenuTest, TheFontDialogStartsFromTheEditorsFontAndSetsColourSizeAndFaceOnlyAndOnlyOnOk) {
  const std::string face = window_.reEdit.FaceName();
  const int size = window_.reEdit.PointSize();
  std::string shown, chosen;
  const auto choose = [&](HWND box) {
    shown = TextOf(GetDlgItem(box, cmb1)) + " " + TextOf(GetDlgItem(box, cmb3));
    chosen = ChooseAnotherFont(box);
  };
  {
    Answerer answers({Answerer::Reply(IDCANCEL, choose)});
    SendMessageA(window_.Handle(), WM_COMMAND, mnSelFont, 0);
    ASSERT_EQ(answers.seen.size(), 1u);
    EXPECT_EQ(shown, "ＭＳ ゴシック 13");  // the face and the size in points
    ASSERT_FALSE(chosen.empty());
    ASSERT_NE(chosen, face);
    EXPECT_EQ(window_.reEdit.FaceName(), face);
    EXPECT_EQ(window_.reEdit.PointSize(), size);
  }
  Answerer answers({Answerer::Reply(IDOK, choose)});
  SendMessageA(window_.Handle(), WM_COMMAND, mnSelFont, 0);
  EXPECT_EQ(window_.reEdit.PointSize(), 20);
  EXPECT_EQ(window_.reEdit.FaceName(), chosen);
  // The colour comes back as the RGB value the dialog chose.
  EXPECT_EQ(window_.reEdit.FontColor(), static_cast<ColorValue>(GetSysColor(COLOR_WINDOWTEXT)));
  CHARFORMATA format{};
  format.cbSize = sizeof format;
  SendMessageA(window_.reEdit.Handle(), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  EXPECT_EQ(format.yHeight, 400);
  EXPECT_EQ(format.bCharSet, SHIFTJIS_CHARSET);
  EXPECT_FALSE(format.dwEffects & (CFE_BOLD | CFE_ITALIC));
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
    SendMessageA(window_.Handle(), WM_COMMAND, mnDT, 0);
    GetLocalTime(&after);
    // The clock may pass a second, or midnight, meanwhile: either moment will do.
    const std::string text = window_.reEdit.WholeText();
    EXPECT_TRUE(text == expected(before) || text == expected(after)) << text << " / " << expected(before);
  }
}

}  // namespace
}  // namespace quolvi::test
