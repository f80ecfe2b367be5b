// What the main window does when something fails: an error that escapes a
// message's handling, a new editor window that cannot be made, an edit past
// the size limit, settings that cannot be written.
#include <new>
#include <stdexcept>

#include "core/folder_rules.h"
#include "core/replace_all.h"
#include "tests/component/main_window_fixture.h"
#include "tests/support/editor_host.h"

namespace quolvi::test {
namespace {

class FailuresTest : public MainWindowFixture {};

TEST_F(FailuresTest, WhatEscapesAnyWindowProcedureIsReportedAndTheProgramGoesOn) {
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

TEST_F(FailuresTest, AChangeToANewEditorWindowThatFailsKeepsTheTextItsChangesAndTheQuestionAtClosing) {
  // Marked characters (stray bytes) in many lines: word wrap carries them
  // over as rich text, and deleting the lines is an edit made in a new window.
  std::string text;
  for (int line = 0; line < 300; ++line) text += "行\x80\r\n";
  text += "end";
  const std::string path = NewFile("lines.txt", text);
  RichEditor& editor = window_.reEdit;
  const auto load = [&] { Drop({path}); };
  const std::pair<const char*, std::function<void()>> swaps[] = {
      {"word wrap", [&] { Choose(mnWordWrap); }},
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

TEST_F(FailuresTest, ALoadThatFailsPartOfTheWayLeavesTheDocumentAsItWasAndSaysWhy) {
  std::string text;
  for (int line = 0; text.size() < 600000; ++line)
    text += "途中で失敗する読み込みの行 " + std::to_string(line) + "\r\n";
  const std::string path = NewFile("long.txt", text);
  RichEditor& editor = window_.reEdit;
  SetText("kept");
  Type('x');
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
    Drop({path});
    EXPECT_TRUE(editor.Loading());  // the first screen is in, the rest to come
    EXPECT_TRUE(WaitUntil([&] { return !editor.Loading(); }, 60000));
    editor.OnProgress = nullptr;
    EXPECT_EQ(answers.Texts(),
              std::vector<std::string>{fault == Fault::kNone ? "メモリが不足したため処理を中止しました."
                                                             : "編集領域を用意できないため処理を中止しました."});
    EXPECT_EQ(editor.WholeText(), "keptx");
    EXPECT_TRUE(window_.Modified());
    EXPECT_EQ(Caption(), "Quolvi");
    EXPECT_EQ(window_.DocumentFileName(), "");
    // Its text open to edits again, reporting them.
    Type('y');
    EXPECT_EQ(editor.WholeText(), "keptxy");
    SendMessageW(editor.Handle(), WM_KEYDOWN, VK_BACK, 0);
  }
}

TEST_F(FailuresTest, AWindowWhoseEditorCannotBeMadeSaysSoAndIsNotMade) {
  TFLumoSub1 other;
  other.reEdit.SetSwapFaultForTesting(RichEditor::SwapFault::kNoWindow);
  Answerer answers({IDOK});
  EXPECT_FALSE(other.Create(GetModuleHandleA(nullptr)));
  EXPECT_EQ(answers.Texts(), std::vector<std::string>{"編集領域を用意できないため処理を中止しました."});
  EXPECT_EQ(other.Handle(), nullptr);
}

TEST_F(FailuresTest, AnEditThatWouldPassTheSizeLimitIsRefusedAndChangesNothing) {
  // Neither the text nor the selection: a key pressed next acts where it would have.
  const auto selection = [&] { return std::pair(window_.reEdit.SelectionStart(), window_.reEdit.SelectionLength()); };
  SetText("keep");
  window_.reEdit.Select(1, 2);
  PutClipboardText(window_.Handle(), std::u16string(kMaxDocumentBytes + 1, u'p'));
  EXPECT_EQ(Choose(mnPaste, {IDOK}), std::vector<std::string>{"文書が上限の 12 MB を超えるため処理を中止しました."});
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
  PutClipboardText(window_.Handle(), u"");
}

TEST_F(FailuresTest, SettingsThatDoNotReachTheDiskWholeAreReportedAndTheOldFileStays) {
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

}  // namespace
}  // namespace quolvi::test
