// Opening from the command line, saving and Save As, as a person would.
#include <windows.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include "app/commands.h"
#include "tests/e2e/app_driver.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"

namespace quolvi::test {
namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// Types path into the open dialog's file name and presses its OK button.
void ChooseFile(HWND dialog, const std::string& path) {
  SetDlgItemTextA(dialog, GetDlgItem(dialog, cmb13) ? cmb13 : edt1, path.c_str());
  App::PressButton(dialog, IDOK);
}

TEST(OpenSaveTest, AFileNamedOnTheCommandLineIsOpened) {
  TempDir dir;
  const std::string path = dir.File("開く.txt");
  WriteBytes(path, "表示\nabc\r");
  App app(Quoted(path));
  EXPECT_EQ(app.EditorText(), "表示\r\nabc\r\n");
  EXPECT_EQ(app.Caption(), "Vessaro - " + path);
}

TEST(OpenSaveTest, ARelativeNameOpensFromTheCurrentFolderAndStaysRelative) {
  TempDir dir;
  WriteBytes(dir.File("rel.txt"), "relative");
  App app("rel.txt", dir.path());
  EXPECT_EQ(app.EditorText(), "relative");
  EXPECT_EQ(app.Caption(), "Vessaro - rel.txt");
}

TEST(OpenSaveTest, ARelativeNameIsSavedBackToItsOwnFolderWhereverTheOpenDialogLooked) {
  TempDir start, elsewhere;
  WriteBytes(start.File("memo.txt"), "start");
  WriteBytes(elsewhere.File("memo.txt"), "elsewhere");
  App app("memo.txt", start.path());
  app.Activate();
  app.Press('O', kCtrl);
  HWND dialog = app.WaitForDialog("Vessaro - ファイルを開く");
  ASSERT_NE(dialog, nullptr);
  // A folder's name and OK: the dialog looks into it (and empties the name).
  ChooseFile(dialog, elsewhere.path());
  ASSERT_TRUE(WaitUntil(
      [&] { return GetWindowTextLengthW(GetDlgItem(dialog, GetDlgItem(dialog, cmb13) ? cmb13 : edt1)) == 0; }));
  App::PressButton(dialog, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  app.Activate();
  app.Type(u"new ");
  app.Press('S', kCtrl);
  EXPECT_EQ(app.AnswerBox(IDOK), "保存しますか？　　");
  EXPECT_TRUE(WaitUntil([&] { return ReadBytesWhenFree(start.File("memo.txt")) == "new start"; }));
  EXPECT_EQ(ReadBytes(elsewhere.File("memo.txt")), "elsewhere");
  EXPECT_EQ(app.Caption(), "Vessaro - memo.txt");
}

TEST(OpenSaveTest, ANameOutsideTheCodePageNeverNamesAnotherFile) {
  TempDir dir;
  const std::string plain = dir.File("cafe.txt");
  const std::wstring accented = Wide(dir.path()) + L"\\caf\u00e9.txt";
  WriteBytes(plain, "plain");
  {
    // Saved as café.txt beside cafe.txt: no name in the code page holds it.
    App app;
    app.Activate();
    app.Type(u"typed");
    app.OpenMenu('F');
    app.Press('A');
    HWND dialog = app.WaitForDialog("Vessaro - ファイルの保存");
    ASSERT_NE(dialog, nullptr);
    SetDlgItemTextW(dialog, GetDlgItem(dialog, cmb13) ? cmb13 : edt1, accented.c_str());
    App::PressButton(dialog, IDOK);
    EXPECT_EQ(app.AnswerBox(IDOK),
              "ﾌｧｲﾙ名 " + dir.File("caf?.txt") + " はShift-JISで表せない文字を含むため使えません.");
  }
  EXPECT_EQ(ReadBytes(plain), "plain");
  // Named on the command line, café.txt is opened and saved as itself.
  WriteBytes(accented, "accent");
  App app(std::wstring(L"caf\u00e9.txt"), dir.path());
  EXPECT_EQ(app.EditorText(), "accent");
  app.Activate();
  app.Type(u"new ");
  app.Press('S', kCtrl);
  EXPECT_EQ(app.AnswerBox(IDOK), "保存しますか？　　");
  EXPECT_TRUE(WaitUntil([&] { return ReadBytesWhenFree(accented) == "new accent"; })) << ReadBytesWhenFree(accented);
  EXPECT_EQ(ReadBytes(plain), "plain");
}

TEST(OpenSaveTest, OpenWhileModifiedAsksThenUsesTheDialog) {
  TempDir dir;
  const std::string path = dir.File("other.txt");
  WriteBytes(path, "other");
  App app;
  app.Activate();
  app.Type(u"unsaved");
  ASSERT_TRUE(WaitUntil([&] { return app.EditorText() == "unsaved"; }));
  app.Press('O', kCtrl);
  EXPECT_EQ(app.AnswerBox(IDCANCEL), "編集中の内容を破棄してファイルを開きます　　");
  EXPECT_EQ(app.WaitForDialog("Vessaro - ファイルを開く"), nullptr);  // not shown
  app.Activate();
  app.Press('O', kCtrl);
  EXPECT_EQ(app.AnswerBox(IDOK), "編集中の内容を破棄してファイルを開きます　　");
  HWND dialog = app.WaitForDialog("Vessaro - ファイルを開く");
  ASSERT_NE(dialog, nullptr);
  ChooseFile(dialog, path);
  EXPECT_TRUE(WaitUntil([&] { return app.EditorText() == "other"; })) << app.EditorText();
  EXPECT_EQ(app.Caption(), "Vessaro - " + path);
}

TEST(OpenSaveTest, APathWithBlanksMustBeQuoted) {
  TempDir dir;
  CreateDirectoryA(dir.File("my docs").c_str(), nullptr);
  const std::string path = dir.File("my docs\\a b.txt");
  WriteBytes(path, "blank");
  App app(Quoted(path));
  EXPECT_EQ(app.EditorText(), "blank");
  App unquoted(path);  // the first argument is then only the part before the blank
  EXPECT_EQ(unquoted.EditorText(), "");
  EXPECT_EQ(unquoted.Caption(), "Quolvi");
  DeleteFileA(path.c_str());
  RemoveDirectoryA(dir.File("my docs").c_str());
}

TEST(OpenSaveTest, AFolderOrAMissingFileLeavesTheEmptyDocumentWithoutAMessage) {
  TempDir dir;
  for (const std::string& argument : {dir.path(), dir.File("missing.txt")}) {
    App app(Quoted(argument));
    EXPECT_EQ(app.Caption(), "Quolvi");
    EXPECT_EQ(app.EditorText(), "");
    EXPECT_EQ(app.WaitForDialog("Quolvi"), nullptr);
  }
}

TEST(OpenSaveTest, AnErrorWhileOpeningIsReportedWithAFullStopAndTheProgramGoesOn) {
  TempDir dir;
  WriteBytes(dir.File("a.txt"), "a");
  const std::string pattern = dir.File("*.txt");  // passes the test, cannot be opened
  App app(Quoted(pattern));
  EXPECT_EQ(app.AnswerBox(IDOK), "ﾌｧｲﾙ " + pattern + " は開けません.");
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(app.window()); }));
  EXPECT_EQ(app.Caption(), "Quolvi");
  // A file above the size limit, refused before it is read.
  const std::string large = dir.File("large.txt");
  WriteBytes(large, std::string((12u << 20) + 1, 'x'));
  App refused(Quoted(large));
  EXPECT_EQ(refused.AnswerBox(IDOK), "ﾌｧｲﾙ " + large + " は大きすぎるため開けません（上限 12 MB）.");
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(refused.window()); }));
  EXPECT_EQ(refused.Caption(), "Quolvi");
  EXPECT_EQ(refused.EditorText(), "");
}

TEST(OpenSaveTest, ALongLoadShowsItsProgressInTheStatusBarAndThenWhatItShowedBefore) {
  TempDir dir;
  const std::string path = dir.File("long.txt");
  std::string bytes;
  while (bytes.size() < (4u << 20)) bytes += "読み込みの進み具合を見せる長い文書の一行\r\n";
  WriteBytes(path, bytes);
  App app;
  app.Activate();
  const std::string before = app.StatusText();
  app.Press('O', kCtrl);
  HWND dialog = app.WaitForDialog("Vessaro - ファイルを開く");
  ASSERT_NE(dialog, nullptr);
  ChooseFile(dialog, path);
  // The window answers while the file loads (it lets messages in between
  // pieces), and the status bar says how far the load has come.
  std::string progress;
  ASSERT_TRUE(WaitUntil(
      [&] {
        progress = app.StatusText();
        return progress.rfind("読み込み中 ", 0) == 0;
      },
      30000))
      << "last seen: " << progress;
  EXPECT_EQ(progress.back(), '%');
  EXPECT_TRUE(WaitUntil([&] { return app.Caption() == "Vessaro - " + path; }, 60000));
  EXPECT_EQ(app.StatusText(), before);
  EXPECT_EQ(app.EditorText().size(), bytes.size());
}

// Some megabytes of numbered lines, more than the program loads in a moment.
std::string LargeText() {
  std::string bytes;
  for (int line = 0; bytes.size() < (6u << 20); ++line) {
    bytes += "読み込みの間も読める長い文書の " + std::to_string(line) + " 行目\r\n";
  }
  return bytes;
}

TEST(OpenSaveTest, ALargeFileShowsItsFirstLinesAtOnceAndTakesNoEditUntilItIsInWhole) {
  TempDir dir;
  const std::string path = dir.File("large.txt");
  const std::string bytes = LargeText();
  WriteBytes(path, bytes);
  SetClipboardText("pasted");
  App app(Quoted(path));
  // Shown with its first lines before the caption names the file.
  const std::string shown = app.EditorText();
  EXPECT_EQ(app.Caption(), "Quolvi");
  ASSERT_FALSE(shown.empty());
  EXPECT_LT(shown.size(), bytes.size());
  EXPECT_EQ(bytes.compare(0, shown.size(), shown), 0);
  // Keys that would change the text do nothing while the rest goes in; Page
  // Down, pressed last, moves the caret and the view, and tells when all were
  // handled.
  app.Activate();
  const auto start = app.Selection();
  app.Type(u"x表\t");
  for (int key : {VK_DELETE, VK_BACK, VK_RETURN, VK_F5}) app.Press(static_cast<WORD>(key));
  for (char key : {'V', 'X', 'Z'}) app.Press(static_cast<WORD>(key), kCtrl);
  app.Press(VK_NEXT);
  ASSERT_TRUE(WaitUntil([&] { return app.Selection() != start; }));
  ASSERT_EQ(app.Caption(), "Quolvi") << "the load ended before the keys came";
  const auto moved = app.Selection();
  const LRESULT topLine = SendMessageA(app.editor(), EM_GETFIRSTVISIBLELINE, 0, 0);
  EXPECT_GT(topLine, 0);
  EXPECT_TRUE(WaitUntil([&] { return app.Caption() == "Vessaro - " + path; }, 120000));
  // The rest came in below, and the user's caret and view stayed.
  EXPECT_EQ(app.Selection(), moved);
  EXPECT_EQ(SendMessageA(app.editor(), EM_GETFIRSTVISIBLELINE, 0, 0), topLine);
  // Saved under another name, byte for byte.
  const std::string copy = dir.File("copy.txt");
  app.OpenMenu('F');
  app.Press('A');
  HWND dialog = app.WaitForDialog("Vessaro - ファイルの保存");
  ASSERT_NE(dialog, nullptr);
  ChooseFile(dialog, copy);
  EXPECT_TRUE(WaitUntil([&] { return ReadBytesWhenFree(copy).size() == bytes.size(); }, 60000));
  EXPECT_TRUE(ReadBytes(copy) == bytes);
}

TEST(OpenSaveTest, ClosingWhileAFileLoadsEndsTheProgramWithoutAQuestion) {
  TempDir dir;
  const std::string path = dir.File("large.txt");
  WriteBytes(path, LargeText());
  Installation installation;
  App app("", "", &installation);
  app.Activate();
  app.Type(u"unsaved");  // a close would ask before discarding this
  ASSERT_TRUE(WaitUntil([&] { return app.EditorText() == "unsaved"; }));
  app.Press('O', kCtrl);
  EXPECT_EQ(app.AnswerBox(IDOK), "編集中の内容を破棄してファイルを開きます　　");
  HWND dialog = app.WaitForDialog("Vessaro - ファイルを開く");
  ASSERT_NE(dialog, nullptr);
  ChooseFile(dialog, path);
  ASSERT_TRUE(WaitUntil([&] { return app.EditorText().rfind("読み込み", 0) == 0; }));
  ASSERT_EQ(app.Caption(), "Quolvi") << "the load ended before the close";
  app.Activate();
  app.Press(VK_ESCAPE);
  EXPECT_TRUE(app.WaitForExit()) << app.AnswerBox(IDCANCEL);
  // As for an unchanged document: the settings were written.
  EXPECT_NE(GetFileAttributesA(installation.SettingsFile().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(OpenSaveTest, SaveAsksOnAModifiedTitledDocumentAndWritesWhatWasTyped) {
  TempDir dir;
  const std::string path = dir.File("doc.txt");
  WriteBytes(path, "old");
  App app(Quoted(path));
  app.Activate();
  app.PressAndSettle(VK_END, kCtrl);
  app.Type(u" 新しい行");
  ASSERT_TRUE(WaitUntil([&] { return app.EditorText() == "old 新しい行"; }));
  app.Press('S', kCtrl);
  EXPECT_EQ(app.AnswerBox(IDCANCEL), "保存しますか？　　");
  EXPECT_EQ(ReadBytes(path), "old");
  app.Activate();
  app.Press('S', kCtrl);
  EXPECT_EQ(app.AnswerBox(IDOK), "保存しますか？　　");
  EXPECT_TRUE(WaitUntil([&] { return ReadBytesWhenFree(path) == "old 新しい行"; })) << ReadBytesWhenFree(path);
  EXPECT_EQ(app.Caption(), "Vessaro - " + path);
}

TEST(OpenSaveTest, CharactersTheFileCannotHoldAreNamedBeforeSavingAndDecliningWritesNothing) {
  TempDir dir;
  const std::string path = dir.File("doc.txt");
  WriteBytes(path, "old\r\n");
  App app(Quoted(path));
  app.Activate();
  app.PressAndSettle(VK_END, kCtrl);
  app.Type(u"表\U00020BB7 \U0001F600");
  const std::string question =
      "Shift-JIS で保存できない文字 2 個を「?」などに置き換えて保存します（最初は 2 行目の U+20BB7）　　";
  app.Press('S', kCtrl);
  EXPECT_EQ(app.AnswerBox(IDOK), "保存しますか？　　");
  EXPECT_EQ(app.AnswerBox(IDCANCEL), question);
  EXPECT_EQ(ReadBytes(path), "old\r\n");
  // Still modified: Save asks again, and OK writes each of them as "?".
  app.Activate();
  app.Press('S', kCtrl);
  EXPECT_EQ(app.AnswerBox(IDOK), "保存しますか？　　");
  EXPECT_EQ(app.AnswerBox(IDOK), question);
  EXPECT_TRUE(WaitUntil([&] { return ReadBytesWhenFree(path) == "old\r\n表? ?"; })) << ReadBytesWhenFree(path);
}

TEST(OpenSaveTest, ALongDocumentDeletedWholeAndUndoneSavesBackByteForByte) {
  TempDir dir;
  const std::string path = dir.File("lines.txt");
  std::string bytes;
  for (int line = 0; line < 3000; ++line)
    bytes += "行 " + std::to_string(line) + (line % 2 ? " \x87\x90\r\n" : " \x80\r\n");
  WriteBytes(path, bytes);
  App app(Quoted(path));
  app.Activate();
  app.PressAndSettle('A', kCtrl);
  app.PressAndSettle(VK_DELETE);
  ASSERT_TRUE(WaitUntil([&] { return app.EditorText().empty(); }));
  app.PressAndSettle('Z', kCtrl);
  ASSERT_TRUE(WaitUntil([&] { return !app.EditorText().empty(); }));
  app.Press('S', kCtrl);
  EXPECT_EQ(app.AnswerBox(IDOK), "保存しますか？　　");
  EXPECT_TRUE(WaitUntil([&] { return ReadBytesWhenFree(path) == bytes; })) << ReadBytesWhenFree(path).size();
}

TEST(OpenSaveTest, KillingTheProgramWhileItSavesLeavesTheOldFileWhole) {
  TempDir dir;
  const std::string path = dir.File("large.txt");
  std::string old;
  while (old.size() < (3u << 20)) old += "an old line of the document, 0123456789\r\n";
  WriteBytes(path, old);
  App app(Quoted(path));
  ASSERT_TRUE(WaitUntil([&] { return app.Caption() == "Vessaro - " + path; }, 30000));
  app.Activate();
  app.Type(u"new ");
  app.Press('S', kCtrl);
  HWND box = app.WaitForDialog("Quolvi", 30000);
  ASSERT_NE(box, nullptr);
  App::PressButton(box, IDOK);
  // The program is ended at the first sign of the save: a new file in the
  // folder, or the file itself changed.
  auto saveHasBegun = [&] {
    WIN32_FIND_DATAA found;
    FindHandle search(FindFirstFileA(dir.File("*").c_str(), &found));
    int files = 0;
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
      if (std::string(found.cFileName) == "large.txt" && found.nFileSizeLow != old.size()) return true;
    } while (search && FindNextFileA(search.Get(), &found));
    return files > 1;
  };
  const DWORD start = GetTickCount();
  while (!saveHasBegun() && GetTickCount() - start < 30000) {
  }
  app.Kill();
  const std::string now = ReadBytes(path);
  EXPECT_TRUE(now == old || now == "new " + old) << now.size() << " bytes: " << now.substr(0, 20);
}

}  // namespace
}  // namespace quolvi::test
