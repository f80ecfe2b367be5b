// The find and replace dialogs, used as a person would.
#include <windows.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include "app/commands.h"
#include "tests/e2e/app_driver.h"
#include "tests/support/wait.h"

namespace quolvi::test {
namespace {

class FindReplaceTest : public ::testing::Test {
 protected:
  void SetUp() override { app_.Activate(); }
  bool TextBecomes(const std::string& expected) {
    return WaitUntil([&] { return app_.EditorText() == expected; });
  }
  // Types the document's text and puts the caret at its start; false when
  // the text did not arrive.
  bool StartWith(std::u16string_view typed, const std::string& text) {
    app_.Type(typed);
    if (!TextBecomes(text)) return false;
    app_.PressAndSettle(VK_HOME, kCtrl);
    return true;
  }
  bool SelectionBecomes(int start, int end) {
    return WaitUntil([&] { return app_.Selection() == std::make_pair(start, end); });
  }
  // Opens the find (Ctrl+F) or the replace dialog (Ctrl+H) and waits until
  // it is the active window; null when it did not come.
  HWND OpenDialog(char key) {
    const bool replace = key == 'H';
    app_.PressAndSettle(static_cast<WORD>(key), kCtrl);
    HWND dialog = nullptr;
    // Only the replace dialog has a field for the replacement.
    WaitUntil([&] {
      dialog = app_.WaitForDialog("", 0);
      return dialog && (GetDlgItem(dialog, edt2) != nullptr) == replace && GetForegroundWindow() == dialog;
    });
    return dialog;
  }
  // Closes a dialog with its Cancel button and waits until it is gone.
  bool CloseDialog(HWND dialog) {
    App::PressButton(dialog, IDCANCEL);
    return WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); });
  }
  // Types into the dialog's field and presses one of its buttons.
  void Fill(HWND dialog, int field, const std::string& text) { SetDlgItemTextA(dialog, field, text.c_str()); }

  App app_;
};

TEST_F(FindReplaceTest, FindNextSelectsOneMatchAfterAnotherThenTellsNothingIsFoundAndMatchesCaseWhenAsked) {
  ASSERT_TRUE(StartWith(u"xxAbcabcyy", "xxAbcabcyy"));
  HWND dialog = OpenDialog('F');
  ASSERT_NE(dialog, nullptr);
  app_.Type(u"abc");
  app_.PressAndSettle(VK_RETURN);  // the default button: find next
  EXPECT_TRUE(SelectionBecomes(2, 5));
  App::PressButton(dialog, IDOK);
  EXPECT_TRUE(SelectionBecomes(5, 8));
  auto notFound = [&] {
    HWND box = app_.WaitForDialog("Quolvi");
    if (!box) return std::string("(no box)");
    std::string text = App::MessageBoxText(box);
    App::PressButton(box, IDOK);
    WaitUntil([&] { return !IsWindow(box); });
    return text;
  };
  App::PressButton(dialog, IDOK);
  EXPECT_EQ(notFound(), "検索文字が見つかりません　　");
  EXPECT_EQ(app_.Selection(), std::make_pair(5, 8));
  EXPECT_TRUE(IsWindow(dialog));  // the find dialog stays open
  // With match case ticked, "Abc" is passed over.
  SendMessageA(GetDlgItem(dialog, chx2), BM_SETCHECK, BST_CHECKED, 0);
  app_.Select(0, 0);
  App::PressButton(dialog, IDOK);
  EXPECT_TRUE(SelectionBecomes(5, 8));
  App::PressButton(dialog, IDOK);
  EXPECT_EQ(notFound(), "検索文字が見つかりません　　");
}

TEST_F(FindReplaceTest, F3RepeatsTheFindDialogsSearchNotTheReplaceDialogs) {
  ASSERT_TRUE(StartWith(u"a1 b1 a2 b2", "a1 b1 a2 b2"));
  app_.PressAndSettle(VK_F3);  // the find dialog has no text yet: nothing
  EXPECT_EQ(app_.WaitForDialog("Quolvi"), nullptr);
  HWND find = OpenDialog('F');
  ASSERT_NE(find, nullptr);
  Fill(find, edt1, "a");
  App::PressButton(find, IDOK);
  ASSERT_TRUE(SelectionBecomes(0, 1));
  ASSERT_TRUE(CloseDialog(find));
  HWND replace = OpenDialog('H');
  ASSERT_NE(replace, nullptr);
  Fill(replace, edt1, "b");
  App::PressButton(replace, IDOK);  // find next in the replace dialog
  ASSERT_TRUE(SelectionBecomes(3, 4));
  app_.Activate();
  app_.PressAndSettle(VK_F3);  // searches "a" again, from the selection
  EXPECT_TRUE(SelectionBecomes(6, 7));
}

TEST_F(FindReplaceTest, ReplaceAllClosesTheDialogAndCountsInTheStatusBar) {
  ASSERT_TRUE(StartWith(u"aaa", "aaa"));
  HWND dialog = OpenDialog('H');
  ASSERT_NE(dialog, nullptr);
  Fill(dialog, edt1, "a");
  Fill(dialog, edt2, "aa");
  App::PressButton(dialog, psh2);  // replace all
  EXPECT_TRUE(TextBecomes("aaaaaa"));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  EXPECT_TRUE(WaitUntil([&] { return app_.StatusText() == "3 語を置換しました。"; })) << app_.StatusText();
}

TEST_F(FindReplaceTest, ReplaceReplacesTheSelectionAndSelectsTheNextMatch) {
  ASSERT_TRUE(StartWith(u"表x 表y 表z", "表x 表y 表z"));
  app_.PressAndSettle(VK_RIGHT, kShift);  // 表 selected
  HWND dialog = OpenDialog('H');
  ASSERT_NE(dialog, nullptr);
  Fill(dialog, edt1, "表");
  Fill(dialog, edt2, "ソ\\t");
  App::PressButton(dialog, psh1);  // replace
  EXPECT_TRUE(TextBecomes("ソ\tx 表y 表z"));
  EXPECT_TRUE(SelectionBecomes(4, 5));  // the next 表, in characters
  EXPECT_TRUE(IsWindow(dialog));
  EXPECT_EQ(app_.StatusText(), "");  // one replacement shows no count
}

TEST_F(FindReplaceTest, ReplaceAndReplaceAllAtTheLastMatchAndWithNoneTellNothing) {
  ASSERT_TRUE(StartWith(u"xa ya z", "xa ya z"));
  HWND dialog = OpenDialog('H');
  ASSERT_NE(dialog, nullptr);
  // Replace on the last match: replaced, nothing further selected, the dialog stays.
  app_.Select(4, 5);
  Fill(dialog, edt1, "a");
  Fill(dialog, edt2, "b");
  App::PressButton(dialog, psh1);
  EXPECT_TRUE(TextBecomes("xa yb z"));
  EXPECT_TRUE(SelectionBecomes(5, 5));
  // Replace with no match and nothing selected: nothing changes.
  app_.Select(0, 0);
  Fill(dialog, edt1, "q");
  App::PressButton(dialog, psh1);
  // Replace all from before the last match: one replacement, the dialog closes.
  app_.Select(3, 3);
  Fill(dialog, edt1, "b");
  Fill(dialog, edt2, "c");
  App::PressButton(dialog, psh2);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  EXPECT_EQ(app_.EditorText(), "xa yc z");
  EXPECT_EQ(app_.Selection(), std::make_pair(5, 5));
  // Replace all with no match and nothing selected: it closes, nothing else.
  app_.Activate();
  dialog = OpenDialog('H');
  ASSERT_NE(dialog, nullptr);
  app_.Select(0, 0);
  Fill(dialog, edt1, "q");
  App::PressButton(dialog, psh2);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  EXPECT_EQ(app_.EditorText(), "xa yc z");
  EXPECT_EQ(app_.Selection(), std::make_pair(0, 0));
  EXPECT_EQ(app_.StatusText(), "");                  // one replacement or none shows no count
  EXPECT_EQ(app_.WaitForDialog("Quolvi"), nullptr);  // and no message came
}

TEST_F(FindReplaceTest, HalfALineBreakIsFoundWholeNothingAfterTheLastIsSaidSoAndReplaceAllEnds) {
  ASSERT_TRUE(StartWith(u"ab\rcd\r", "ab\r\ncd\r\n"));
  HWND find = OpenDialog('F');
  ASSERT_NE(find, nullptr);
  Fill(find, edt1, "\\0A");
  App::PressButton(find, IDOK);
  EXPECT_TRUE(SelectionBecomes(2, 4));  // the whole line break
  app_.Activate();
  app_.PressAndSettle(VK_F3);
  EXPECT_TRUE(SelectionBecomes(6, 8));  // and on to the next, the last, at the very end
  // Nothing follows it: F3 and the dialog's button say so, and the match stays selected.
  app_.Press(VK_F3);
  EXPECT_EQ(app_.AnswerBox(IDOK), "検索文字が見つかりません　　");
  App::PressButton(find, IDOK);
  EXPECT_EQ(app_.AnswerBox(IDOK), "検索文字が見つかりません　　");
  EXPECT_EQ(app_.Selection(), std::make_pair(6, 8));
  App::PressButton(find, IDCANCEL);
  // Gone before the next dialog is looked for, which could otherwise be it.
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(find); }));
  app_.Activate();
  app_.PressAndSettle(VK_HOME, kCtrl);
  HWND replace = OpenDialog('H');
  ASSERT_NE(replace, nullptr);
  Fill(replace, edt1, "\\r");
  Fill(replace, edt2, "\\82");  // a lone lead byte: replaced step by step
  App::PressButton(replace, psh2);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(replace); }, 10000));
  EXPECT_TRUE(WaitUntil([&] { return app_.StatusText() == "2 語を置換しました。"; })) << app_.StatusText();
}

TEST_F(FindReplaceTest, ADialogIsOpenedOnlyOnce) {
  HWND dialog = OpenDialog('F');
  ASSERT_NE(dialog, nullptr);
  app_.Activate();
  EXPECT_EQ(OpenDialog('F'), dialog);  // brought to the front, not opened again
}

}  // namespace
}  // namespace quolvi::test
