// A document's files: opening by drops, the modified flag and the questions
// before it is discarded, and saving, with the file's attributes, its
// failures and what each leaves of the old file.
#include "tests/component/main_window_fixture.h"

namespace quolvi::test {
namespace {

class OpenCloseTest : public MainWindowFixture {};

class SavingTest : public MainWindowFixture {};

TEST_F(OpenCloseTest, TheShownWindowTakesDropsAndADroppedFileReplacesEvenAModifiedDocumentWithoutAQuestion) {
  const std::string path = NewFile("落とす.txt", "dropped\n");
  // The shell drops files only onto a window that accepts them: this one
  // does from its showing on.
  const auto acceptsFiles = [&] { return (GetWindowLongA(window_.Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0; };
  EXPECT_FALSE(acceptsFiles());
  window_.Show(SW_SHOWNOACTIVATE);
  ASSERT_TRUE(acceptsFiles());
  Type('x');
  Answerer answers;
  // Delivered as the shell delivers it, through the window's queue.
  PostMessageA(window_.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({path})), 0);
  EXPECT_TRUE(WaitUntil([&] { return window_.reEdit.WholeText() == "dropped\r\n"; }));
  EXPECT_TRUE(answers.seen.empty());
  EXPECT_FALSE(window_.Modified());
  EXPECT_EQ(Caption(), "Vessaro - " + path);
  EXPECT_EQ(window_.DocumentFileName(), path);
  EXPECT_EQ(window_.DocumentStartFolder(), dir_.path());
}

TEST_F(OpenCloseTest, ADropOfThreeFilesOpensOneAndStartsTwoFurtherInstances) {
  const std::string first = NewFile("first.txt", "first");
  const std::string second = NewFile("second file.txt", "second");  // a blank: must arrive whole
  const std::string third = NewFile("third.txt", "third");
  const std::string log = dir_.File("instances.log");
  SetEnvironmentVariableA("QUOLVI_INSTANCE_LOG", log.c_str());
  Drop({first, second, third});
  EXPECT_EQ(window_.reEdit.WholeText(), "first");
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

TEST_F(OpenCloseTest, TheModifiedFlagFollowsEditsAndNewAsksBeforeDiscarding) {
  EXPECT_FALSE(window_.Modified());
  EXPECT_EQ(GetWindowTextLengthA(window_.Handle()), 6);  // "Quolvi"
  Type(L'表');
  EXPECT_TRUE(window_.Modified());

  Answerer answers({IDCANCEL, IDOK});
  Choose(mnNew);
  EXPECT_EQ(answers.Texts(), std::vector<std::string>{"編集中の内容を破棄して新規作成します　　"});
  EXPECT_EQ(window_.reEdit.WholeText(), "表");
  EXPECT_TRUE(window_.Modified());

  SetWindowTextA(window_.Handle(), "something else");
  Choose(mnNew);
  EXPECT_EQ(answers.Texts().size(), 2u);
  EXPECT_EQ(window_.reEdit.WholeText(), "");
  EXPECT_FALSE(window_.Modified());
  EXPECT_EQ(Caption(), "Quolvi");

  // A clean document is reset without a question.
  Choose(mnNew);
  EXPECT_EQ(answers.Texts().size(), 2u);
}

TEST_F(OpenCloseTest, ClosingAModifiedDocumentAsksAndCancelKeepsTheWindow) {
  EXPECT_TRUE(SendMessageA(window_.Handle(), WM_QUERYENDSESSION, 0, 0));  // clean: the session may end
  Type('x');
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

TEST_F(SavingTest, SaveAsksOnlyForAModifiedNamedDocumentAndGoesToSaveAsForAnUntitledOne) {
  const std::string path = NewFile("named.txt", "named");
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
    if (state.named) Drop({path});
    if (state.modified) Type('x');
    const std::string caption = Caption();
    Answerer answers;
    Choose(mnSave);
    ASSERT_EQ(answers.seen.size(), state.shown.size());
    if (!state.shown.empty()) {
      EXPECT_EQ(answers.seen[0].caption, state.shown[0]);
    }
    if (state.named && state.modified) {
      EXPECT_EQ(answers.Texts(), std::vector<std::string>{"保存しますか？　　"});
    }
    EXPECT_EQ(window_.Modified(), state.modified);
    EXPECT_EQ(window_.DocumentFileName(), state.named ? path : "");
    EXPECT_EQ(Caption(), caption);
    EXPECT_EQ(ReadBytes(path), "named");
  }
}

TEST_F(SavingTest, SavingPutsEveryAttributeBackExactly) {
  for (DWORD attributes : {DWORD{FILE_ATTRIBUTE_ARCHIVE}, DWORD{FILE_ATTRIBUTE_READONLY},
                           DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE}, DWORD{FILE_ATTRIBUTE_SYSTEM}}) {
    SCOPED_TRACE(attributes);
    const std::string path = NewFile("attributes.txt", "text", attributes);
    const DWORD before = GetFileAttributesA(path.c_str());  // Wine adds the archive bit to every file
    Drop({path});
    window_.reEdit.SetSelectionStart(0);
    Type(L'表');
    bool special = (attributes & 0x1F) != 0;
    std::vector<std::string> asked{"保存しますか？　　"};
    if (special) asked.push_back("特殊な属性が付いたファイルですが上書きしますか　　");
    EXPECT_EQ(Choose(mnSave, {IDOK, IDOK}), asked);
    EXPECT_EQ(ReadBytes(path), "表text");
    EXPECT_EQ(GetFileAttributesA(path.c_str()), before);
    EXPECT_FALSE(window_.Modified());
  }
}

TEST_F(SavingTest, DecliningToOverwriteASpecialFileWritesNothingAndSaveAsStillNamesTheDocument) {
  const std::string path = NewFile("hidden.txt", "keep", FILE_ATTRIBUTE_HIDDEN);
  const DWORD before = GetFileAttributesA(path.c_str());
  const std::string special = "特殊な属性が付いたファイルですが上書きしますか　　";
  Drop({path});
  Type('x');
  EXPECT_EQ(Choose(mnSave, {IDOK, IDCANCEL}), (std::vector<std::string>{"保存しますか？　　", special}));
  window_.ResetDocument();
  Type('y');
  {
    // The dialog's own question before replacing a file, then ours.
    Answerer answers({Answerer::Name(path), IDYES, IDCANCEL});
    Choose(mnWrite);
    ASSERT_EQ(answers.seen.size(), 3u);
    EXPECT_EQ(answers.seen[2].text, special);
  }
  EXPECT_EQ(ReadBytes(path), "keep");
  EXPECT_EQ(GetFileAttributesA(path.c_str()), before);
  EXPECT_EQ(window_.DocumentFileName(), path);
  EXPECT_TRUE(window_.Modified());
  EXPECT_EQ(Caption(), "Quolvi - " + path);
}

TEST_F(SavingTest, DecliningToLoseCharactersAtSaveAsLeavesTheDocumentAsBeforeTheDialog) {
  const std::string path = NewFile("kept.txt", "kept");
  Type(0xD842);  // 𠮷, as the keyboard sends it
  Type(0xDFB7);
  const std::string folder = window_.DocumentStartFolder();
  // The dialog's own question before replacing a file, then ours.
  Answerer answers({Answerer::Name(path), IDYES, IDCANCEL});
  Choose(mnWrite);
  ASSERT_EQ(answers.seen.size(), 3u);
  EXPECT_EQ(answers.seen[2].text,
            "Shift-JIS で保存できない文字 1 個を「?」などに置き換えて保存します（最初は 1 行目の U+20BB7）　　");
  EXPECT_EQ(ReadBytes(path), "kept");
  EXPECT_EQ(window_.DocumentFileName(), "");
  EXPECT_EQ(window_.DocumentStartFolder(), folder);
  EXPECT_EQ(Caption(), "Quolvi");
  EXPECT_TRUE(window_.Modified());
}

TEST_F(SavingTest, AFailedWritePutsTheAttributesBackAndIsReported) {
  const std::string path = NewFile("locked.txt", "locked", FILE_ATTRIBUTE_READONLY);
  const DWORD before = GetFileAttributesA(path.c_str());
  Drop({path});
  Type('x');
  Answerer answers({IDOK, IDOK, IDOK});
  {
    // Another program holds the file open: the editor cannot create it anew.
    FileHandle other(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(other);
    Choose(mnSave);
  }
  ASSERT_EQ(answers.Texts().size(), 3u);
  EXPECT_EQ(answers.Texts()[2], "ﾌｧｲﾙ " + path + " を作成できません.");
  EXPECT_EQ(answers.seen[2].caption, "Quolvi");
  EXPECT_EQ(GetFileAttributesA(path.c_str()), before);
  EXPECT_EQ(ReadBytes(path), "locked");
  EXPECT_EQ(FilesIn(dir_.path()), std::vector<std::string>{"locked.txt"});  // the new file went
  EXPECT_TRUE(window_.Modified());
}

TEST_F(SavingTest, SavingToAFolderThatIsGoneReportsTheAttributes) {
  const std::string folder = dir_.File("gone");
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string path = folder + "\\a.txt";
  WriteBytes(path, "a");
  Drop({path});
  DeleteFileA(path.c_str());
  RemoveDirectoryA(folder.c_str());
  Type('x');
  EXPECT_EQ(Choose(mnSave, {IDOK, IDOK}),
            (std::vector<std::string>{"保存しますか？　　", "ファイル属性を調べられません　　"}));
  EXPECT_TRUE(window_.Modified());
}

TEST_F(SavingTest, AWriteThatFailsHalfWayLeavesTheOldFileWholeAndTheDocumentModified) {
  const std::string old(200000, 'o');
  // A file that passes the existing-file test, one whose time stamp fails it
  // (it is there all the same), and one deleted since it was opened.
  for (const char* kind : {"plain", "old stamp", "deleted"}) {
    SCOPED_TRACE(kind);
    const std::string path = NewFile("old.txt", old, FILE_ATTRIBUTE_HIDDEN);
    const DWORD before = GetFileAttributesA(path.c_str());
    Drop({path});
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
    const std::vector<std::string> asked = Choose(mnSave, {IDOK, IDOK, IDOK});
    window_.reEdit.SetWriteFaultsForTesting({});
    EXPECT_EQ(asked.size(), special ? 3u : 2u);
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.back(), "ｽﾄﾘｰﾑへの書き込みに失敗しました.");
    EXPECT_TRUE(window_.Modified());
    if (special) {
      const std::string now = ReadBytes(path);
      EXPECT_TRUE(now == old) << now.size() << " bytes, " << now.substr(0, 8) << "...";
      EXPECT_EQ(GetFileAttributesA(path.c_str()), before);
      EXPECT_EQ(FilesIn(dir_.path()), std::vector<std::string>{"old.txt"});
    } else {
      EXPECT_TRUE(FilesIn(dir_.path()).empty());  // neither the new file nor an empty one
    }
  }
}

TEST_F(SavingTest, SavingReplacesTheFileWholeOrWritesInPlaceWhereNoNewFileMayBeMade) {
  const std::string path = NewFile("Mixed Case.TXT", "old");
  // Opened under another spelling: saved, the file keeps its own.
  Drop({dir_.File("mixed case.txt")});
  for (bool noNewFile : {false, true}) {
    SCOPED_TRACE(noNewFile);
    SetText(noNewFile ? "in place" : "replaced");
    window_.reEdit.SetWriteFaultsForTesting(WriteFaults{std::nullopt, noNewFile});
    const std::vector<std::string> asked = Choose(mnSave, {IDOK});
    window_.reEdit.SetWriteFaultsForTesting({});
    EXPECT_EQ(asked, std::vector<std::string>{"保存しますか？　　"});
    EXPECT_EQ(ReadBytes(path), noNewFile ? "in place" : "replaced");
    EXPECT_EQ(FilesIn(dir_.path()), std::vector<std::string>{"Mixed Case.TXT"});
    EXPECT_FALSE(window_.Modified());
  }
}

}  // namespace
}  // namespace quolvi::test
