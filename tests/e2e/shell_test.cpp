// Running the selection through the shell, and the shell's Run dialog.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/commands.h"
#include "tests/e2e/app_driver.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"

namespace quolvi::test {
namespace {

std::u16string Widened(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

class ShellTest : public ::testing::Test {
 protected:
  ShellTest() {
    // marker.exe, built beside the tests, notes each start in launched.txt.
    char tests[MAX_PATH];
    GetModuleFileNameA(nullptr, tests, MAX_PATH);
    std::string built(tests);
    built.resize(built.find_last_of('\\') + 1);
    CreateDirectoryA(folder_.c_str(), nullptr);
    CopyFileA((built + "marker.exe").c_str(), marker_.c_str(), FALSE);
    app_.Activate();
  }
  // Types the document over what was there, selects from start to its end
  // and presses Ctrl+G; returns the selection as it was made.
  std::pair<int, int> RunSelection(std::u16string_view text, int start) {
    app_.Select(0, -1);
    app_.Type(text);
    std::string expected;
    for (char16_t c : text) {
      if (c == u'\r') expected += "\r\n";
      else if (c < 0x80) expected += static_cast<char>(c);
      else expected += "　";  // the only other character typed here
    }
    EXPECT_TRUE(WaitUntil([&] { return app_.EditorText() == expected; })) << app_.EditorText();
    app_.Select(start, -1);
    std::pair<int, int> selected = app_.Selection();
    app_.PressAndSettle('G', kCtrl);
    return selected;
  }
  std::string Launched() const { return ReadBytesWhenFree(folder_ + "\\launched.txt"); }
  bool CaretAt(int position) {
    return WaitUntil([&] { return app_.Selection() == std::make_pair(position, position); });
  }

  TempDir dir_;
  const std::string folder_ = dir_.File("with blank");
  const std::string marker_ = folder_ + "\\marker.exe";
  App app_;
};

TEST_F(ShellTest, APathWithBlanksAroundItIsOpenedAndTheCaretGoesToTheSelectionsStart) {
  RunSelection(u"x\r \t" + Widened(marker_) + u"  ", 3);
  EXPECT_TRUE(WaitUntil([&] { return !Launched().empty(); }));
  EXPECT_TRUE(CaretAt(3));
  EXPECT_EQ(app_.WaitForDialog("Quolvi"), nullptr);
}

TEST_F(ShellTest, WhatTheShellCannotOpenIsRunAsACommandLineWithALineBreakAsTwoBlanks) {
  // The shell takes all of it as one file name, which does not exist.
  RunSelection(Widened(marker_) + u"\r" + u"-a b", 0);
  ASSERT_TRUE(WaitUntil([&] { return !Launched().empty(); }));
  // The system may quote the program's name in the command line it passes on.
  const std::string launched = Launched();
  ASSERT_NE(launched.find(marker_), std::string::npos) << launched;
  std::string arguments = launched.substr(launched.find(marker_) + marker_.size());
  if (arguments[0] == '"') arguments.erase(0, 1);
  EXPECT_EQ(arguments, "  -a b\n") << launched;
  EXPECT_TRUE(CaretAt(0));
}

TEST_F(ShellTest, WhenBothFailWinExecsCodeIsReportedThenTheCaretGoesToTheStart) {
  // A missing program, and an ideographic space, which trimming leaves.
  RunSelection(u"x\r" + Widened(dir_.File("missing.exe")), 3);
  EXPECT_EQ(app_.AnswerBox(IDOK), "実行に失敗しました(2)　　");
  EXPECT_TRUE(CaretAt(3));
  RunSelection(u"\u3000", 0);
  EXPECT_EQ(app_.AnswerBox(IDOK), "実行に失敗しました(2)　　");
  EXPECT_TRUE(CaretAt(0));
}

TEST_F(ShellTest, ExactlyTheSelectionIsHandedOnWhateverItHolds) {
  // What the shell cannot open as one file, the system runs as a command
  // line; nothing in between reads quotes, & or | or cuts a long text.
  // (A program whose name is not quoted, followed by quotes, Wine's shell
  // runs with quotes of its own added, where the system's refuses it.)
  std::string large;
  while (large.size() < 10000) large += " 表示ソ能\\x&y|\"z\"";
  const std::string arguments[] = {
      R"( "a b" "" "c"d" '"' ")",
      " a&b | c > out.txt ^& %PATH% <in && exit",
      " 表示 ソ能 ｱｲｳ　全角\\ \"表\\\" ～",
      large,
  };
  for (const std::string& tail : arguments) {
    SCOPED_TRACE(tail.substr(0, 60));
    DeleteFileA((folder_ + "\\launched.txt").c_str());
    // The selection stands between other lines, which stay behind.
    const std::string selected = "\"" + marker_ + "\"" + tail;
    const std::string document = "before\r\n" + selected + "\r\nafter";
    SetClipboardText(document);
    app_.Activate();
    app_.Select(0, -1);
    app_.Press('V', kCtrl);
    ASSERT_TRUE(WaitUntil([&] { return app_.EditorText() == document; }));
    const int end = static_cast<int>(SendMessageW(app_.editor(), WM_GETTEXTLENGTH, 0, 0)) - 7;
    app_.Select(8, end);
    app_.PressAndSettle('G', kCtrl);
    ASSERT_TRUE(WaitUntil([&] { return !Launched().empty(); }));
    const std::string launched = Launched();
    EXPECT_TRUE(launched == selected + "\n") << launched.substr(0, 300);
    EXPECT_EQ(launched.size(), selected.size() + 1);
    EXPECT_TRUE(CaretAt(8));
    EXPECT_EQ(app_.EditorText(), document);
  }
  EXPECT_EQ(app_.WaitForDialog("Quolvi", 0), nullptr);
}

TEST_F(ShellTest, ABlankSelectionRunsNothingAndKeepsTheSelection) {
  std::pair<int, int> selected = RunSelection(u" \t\r  ", 0);
  EXPECT_GE(selected.second, 6);
  EXPECT_EQ(app_.WaitForDialog("Quolvi"), nullptr);
  EXPECT_EQ(app_.Selection(), selected);
}

TEST_F(ShellTest, TheRunDialogOpensOwnedByTheWindowAndCancels) {
  app_.Type(u"kept");
  ASSERT_TRUE(WaitUntil([&] { return app_.EditorText() == "kept"; }));
  app_.OpenMenu('O');
  app_.Press('R');
  HWND dialog = app_.WaitForDialog();
  ASSERT_NE(dialog, nullptr);
  App::PressButton(dialog, IDCANCEL);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  EXPECT_EQ(app_.EditorText(), "kept");
  EXPECT_TRUE(IsWindowEnabled(app_.window()));
}

}  // namespace
}  // namespace quolvi::test
