// Text typed at the keyboard or committed by an input method arrives in the
// document intact. The key events go through the system's input queue, as a
// keyboard or input method delivers them.
#include <gtest/gtest.h>

#include "tests/support/editor_host.h"
#include "tests/support/keyboard.h"
#include "tests/support/wait.h"

namespace quolvi::test {
namespace {

void TypeUnicode(std::u16string_view text) { SendInputs(UnicodeKeyEvents(text)); }

void PressKey(WORD key) { SendInputs({KeyInput(key, false), KeyInput(key, true)}); }

class TypingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(WaitUntil([&] { return GetFocus() == host_.editor().Handle(); }))
        << "the editor did not get the keyboard focus";
  }
  bool TextBecomes(const std::string& expected) {
    return WaitUntil([&] { return host_.editor().WholeText() == expected; });
  }

  EditorHost host_{true};
};

TEST_F(TypingTest, JapaneseAndMixedTextWithLineBreaksAndHalfWidthKatakanaArriveIntact) {
  TypeUnicode(u"abc ｱｲｳ　x");
  PressKey(VK_RETURN);
  ASSERT_TRUE(TextBecomes("abc ｱｲｳ　x\r\n"));
  EXPECT_GT(host_.changes(), 0);
  TypeUnicode(u"表\\日本語のソと能と予と十");
  EXPECT_TRUE(TextBecomes("abc ｱｲｳ　x\r\n表\\日本語のソと能と予と十")) << host_.editor().WholeText();
  EXPECT_EQ(host_.editor().SelectionStart(), 37);
}

TEST_F(TypingTest, TypedTextReplacesTheSelectionAndCanBeUndone) {
  host_.editor().ReplaceSelectedText("abcdef");
  host_.editor().SetSelectionStart(1);
  host_.editor().SetSelectionLength(4);
  TypeUnicode(u"漢");
  ASSERT_TRUE(TextBecomes("a漢f"));
  ASSERT_TRUE(host_.editor().UndoAvailable());
  host_.editor().UndoLastEdit();
  EXPECT_EQ(host_.editor().WholeText(), "abcdef");
}

TEST_F(TypingTest, InputMethodCharactersArriveIntact) {
  // An input method that does not compose in the control sends WM_IME_CHAR.
  PostMessageW(host_.editor().Handle(), WM_IME_CHAR, L'表', 1);
  PostMessageW(host_.editor().Handle(), WM_IME_CHAR, L'示', 1);
  EXPECT_TRUE(TextBecomes("表示")) << host_.editor().WholeText();
}

TEST_F(TypingTest, InOverwriteModeJapaneseReplacesOneCharacterAsAsciiDoes) {
  host_.editor().ReplaceSelectedText("abあいう\r\nc");
  host_.editor().SetSelectionStart(0);
  PressKey(VK_INSERT);
  TypeUnicode(u"日x");
  ASSERT_TRUE(TextBecomes("日xあいう\r\nc")) << host_.editor().WholeText();
  TypeUnicode(u"y本");
  ASSERT_TRUE(TextBecomes("日xy本う\r\nc")) << host_.editor().WholeText();
  // At the end of a line there is nothing to replace.
  TypeUnicode(u"語z漢");
  ASSERT_TRUE(TextBecomes("日xy本語z漢\r\nc")) << host_.editor().WholeText();
  // One undo step for each Japanese character, as in insert mode.
  host_.editor().UndoLastEdit();
  EXPECT_EQ(host_.editor().WholeText(), "日xy本語z\r\nc");
  // Insert mode again.
  PressKey(VK_INSERT);
  host_.editor().SetSelectionStart(0);
  TypeUnicode(u"字");
  EXPECT_TRUE(TextBecomes("字日xy本語z\r\nc")) << host_.editor().WholeText();
}

TEST_F(TypingTest, KeysOverManyLinesReplaceThemInANewWindow) {
  std::string lines;
  for (int i = 0; i < 300; ++i) lines += "行\r\n";
  for (auto [key, typed] : {std::pair<WORD, const char*>{VK_RETURN, "\r\n"}, {VK_BACK, ""}, {VK_DELETE, ""}}) {
    host_.editor().SelectWholeText();
    host_.editor().ReplaceSelectedText("a" + lines + "z");
    HWND control = host_.editor().Handle();
    host_.editor().SetSelectionStart(1);
    host_.editor().SetSelectionLength(static_cast<Position>(lines.size()));
    PressKey(key);
    EXPECT_TRUE(TextBecomes(std::string("a") + typed + "z")) << key << ": " << host_.editor().WholeText().size();
    EXPECT_NE(host_.editor().Handle(), control) << key;
    // The key's character, if it brings one, does not act again on the
    // new window: what is typed next follows at once.
    TypeUnicode(u"m");
    EXPECT_TRUE(TextBecomes(std::string("a") + typed + "mz")) << key;
  }
}

TEST_F(TypingTest, ACharacterOutsideCodePage932CountsAsOneQuestionMark) {
  TypeUnicode(u"a\U0001F600b");
  EXPECT_TRUE(TextBecomes("a?b")) << host_.editor().WholeText();
}

}  // namespace
}  // namespace quolvi::test
