// The editor against the real rich-edit control.
#include <gtest/gtest.h>
#include <richedit.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "core/cp932.h"
#include "core/font_size.h"
#include "core/replace_all.h"
#include "tests/support/editor_host.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wait.h"

namespace quolvi::test {
namespace {

class RichEditorTest : public ::testing::Test {
 protected:
  RichEditor& editor() { return host_.editor(); }
  void SetText(std::string_view text) {
    editor().SelectWholeText();
    editor().ReplaceSelectedText(text);
    host_.ResetChanges();
  }
  CHARFORMAT2A DefaultFormat() { return CharFormatOf(editor().Handle()); }
  void PutOnClipboard(const std::u16string& text) { PutClipboardText(host_.window(), text); }
  std::u16string ClipboardText() { return ReadClipboardText(host_.window()); }

  EditorHost host_;
};

TEST_F(RichEditorTest, CountLinesLeavesOutAnEmptyLastLineAndClearTextEmptiesTheEditor) {
  for (auto [text, lines] : {std::pair{"abc\r\n", 1}, {"abc", 1}, {"abc\r\nd", 2}, {"\r\n表", 2}, {"\r\n", 1}}) {
    SetText(text);
    EXPECT_EQ(editor().CountLines(), lines) << text;
    EXPECT_EQ(editor().WholeText(), text);
  }
  editor().ClearText();
  EXPECT_EQ(editor().CountLines(), 0);
  EXPECT_EQ(editor().WholeText(), "");
  EXPECT_EQ(editor().SelectionStart(), 0);
  EXPECT_EQ(editor().SelectionLength(), 0);
  EXPECT_EQ(editor().SearchText("a", 0, 0, false), -1);
  EXPECT_EQ(SendMessageW(editor().Handle(), EM_GETMODIFY, 0, 0), 0);
}

TEST_F(RichEditorTest, PositionsAreShiftJisByteOffsets) {
  SetText("日本");
  editor().SelectWholeText();
  EXPECT_EQ(editor().SelectionStart(), 0);
  EXPECT_EQ(editor().SelectionLength(), 4);

  SetText("日本\r\nabc");
  editor().SelectWholeText();
  EXPECT_EQ(editor().SelectionLength(), 9);  // the control itself reports 11
  editor().Select(6, 3);
  EXPECT_EQ(editor().SelectedText(), "abc");
  EXPECT_EQ(editor().SelectionStart(), 6);
  EXPECT_EQ(editor().SearchText("abc", 0, 9, true), 6);
  editor().Select(2, 2);
  EXPECT_EQ(editor().SelectedText(), "本");
}

TEST_F(RichEditorTest, PositionsInsideADoubleByteCharacterMoveToItsEdges) {
  SetText("日本語");
  editor().SetSelectionStart(3);  // inside 本: back to its first byte
  EXPECT_EQ(editor().SelectionStart(), 2);
  EXPECT_EQ(editor().SelectionLength(), 0);
  editor().Select(2, 1);  // an end inside 本 takes all of it
  EXPECT_EQ(editor().SelectionLength(), 2);
  EXPECT_EQ(editor().SelectedText(), "本");
  editor().Select(100, 0);  // past the end: the end
  EXPECT_EQ(editor().SelectionStart(), 6);
}

TEST_F(RichEditorTest, SearchTextHasByteSemantics) {
  SetText("abcABC");
  EXPECT_EQ(editor().SearchText("ABC", 0, 6, true), 3);
  EXPECT_EQ(editor().SearchText("ABC", 0, 6, false), 0);
  EXPECT_EQ(editor().SearchText("ABC", 4, 2, false), -1);
  SetText("表\\　@ｘＡ\r\n");
  EXPECT_EQ(editor().SearchText("\\", 0, 10, true), 2);
  EXPECT_EQ(editor().SearchText("@", 0, 10, true), 5);
  EXPECT_EQ(editor().SearchText("ａ", 0, 10, false), 8);
  EXPECT_EQ(editor().SearchText("Ａ\r\n", 0, 12, true), 8);
}

TEST_F(RichEditorTest, ReplaceSelectedTextInsertsBytesAndLeavesTheCaretAfterThem) {
  SetText("abcdef");
  editor().Select(2, 2);
  editor().ReplaceSelectedText("表\x80ソ");
  EXPECT_EQ(editor().WholeText(), "ab表\x80ソef");
  EXPECT_EQ(editor().SelectionStart(), 7);
  EXPECT_EQ(editor().SelectionLength(), 0);
  EXPECT_EQ(host_.changes(), 1);
  EXPECT_FALSE(editor().UndoAvailable());

  editor().Select(2, 5);
  host_.ResetChanges();
  editor().ReplaceSelectedText("");
  EXPECT_EQ(editor().WholeText(), "abef");
  EXPECT_EQ(host_.changes(), 1);
}

TEST_F(RichEditorTest, ReplacingTheWholeTextLeavesTheCaretAtTheEndAndRaisesOneChange) {
  SetText("old\r\ntext");
  editor().FocusEditor();
  editor().SelectWholeText();
  editor().ReplaceSelectedText("新しい\x80\x87\x90text");
  EXPECT_EQ(editor().WholeText(), "新しい\x80\x87\x90text");
  EXPECT_EQ(editor().SelectionStart(), 13);
  EXPECT_EQ(editor().SelectionLength(), 0);
  EXPECT_EQ(host_.changes(), 1);
  EXPECT_EQ(GetFocus(), editor().Handle());
  editor().SelectWholeText();
  editor().ReplaceSelectedText("");
  EXPECT_EQ(editor().WholeText(), "");
  EXPECT_EQ(host_.changes(), 2);
}

TEST_F(RichEditorTest, TheMatcherAndReplaceAllWorkOnTheControlsByteOffsets) {
  SetText("日本\r\nabc 表abc\r\n");
  editor().SetSelectionStart(0);
  SearchFields fields{"abc", "ソ\\n", kOptionReplaceAll};
  EXPECT_EQ(FindNextMatch(editor(), fields), StepResult::Done(9));
  EXPECT_EQ(editor().SelectedText(), "abc");
  EXPECT_EQ(FindNextMatch(editor(), fields), StepResult::Done(15));
  EXPECT_EQ(FindNextMatch(editor(), SearchFields{"\\\\", "", 0}), StepResult::NotFound());
  editor().SetSelectionStart(0);
  EXPECT_EQ(FindNextMatch(editor(), SearchFields{"\\\\", "", 0}),
            StepResult::NotFound());  // 表's second byte is no backslash
  editor().SetSelectionStart(0);
  host_.ResetChanges();
  EXPECT_EQ(ReplaceAll(editor(), fields), 2);
  EXPECT_EQ(editor().WholeText(), "日本\r\nソ\r\n 表ソ\r\n\r\n");
  EXPECT_EQ(editor().SelectionStart(), 17);  // after the last inserted text
  EXPECT_GE(host_.changes(), 1);
}

TEST_F(RichEditorTest, LineBreaksFoundByHalfAreSelectedAndReplacedWholeAndSaveAsShown) {
  // The control cannot select the CR or the LF of a line break alone.
  SetText("ab\r\ncd\r\n");
  editor().SetSelectionStart(0);
  for (const char* pattern : {"\\r", "\\0A"}) {
    editor().SetSelectionStart(0);
    EXPECT_EQ(FindNextMatch(editor(), SearchFields{pattern, "", 0}), StepResult::Done(4));
    EXPECT_EQ(editor().SelectedText(), "\r\n");
    EXPECT_EQ(FindNextMatch(editor(), SearchFields{pattern, "", 0}), StepResult::Done(8));
  }
  // Replace all ends: step by step (a replacement ending in a lone lead
  // byte) and in one pass; a CR or LF it inserts is a line break.
  editor().SetSelectionStart(0);
  EXPECT_EQ(ReplaceAll(editor(), SearchFields{"\\r", "\\82", kOptionReplaceAll}), 2);
  EXPECT_EQ(editor().WholeText(),
            "ab\x82"
            "cd\x82");
  // The control selects a match through the final line break, and replaces it whole.
  SetText("ab\r\ncd\r\nef\r\n");
  editor().SetSelectionStart(0);
  EXPECT_EQ(FindNextMatch(editor(), SearchFields{"ef\\r", "", 0}), StepResult::Done(12));
  EXPECT_EQ(FindNextMatch(editor(), SearchFields{"ef\\r", "", 0}), StepResult::NotFound());
  EXPECT_EQ(editor().SelectedText(), "ef\r\n");
  EXPECT_EQ(ReplaceSelection(editor(), SearchFields{"", "x", 0}), StepResult::Done(9));
  EXPECT_EQ(editor().WholeText(), "ab\r\ncd\r\nx");
  SetText("ab\r\ncd\r\nef");
  editor().SetSelectionStart(0);
  EXPECT_EQ(ReplaceAll(editor(), SearchFields{"\\0A", "\\r-\\0A", kOptionReplaceAll}), 2);
  const std::string replaced = "ab\r\n-\r\ncd\r\n-\r\nef";
  EXPECT_EQ(editor().WholeText(), replaced);
  editor().SetSelectionStart(2);
  editor().SetSelectionLength(2);
  EXPECT_EQ(ReplaceSelection(editor(), SearchFields{"", "\\0D", 0}), StepResult::Done(4));
  EXPECT_EQ(editor().WholeText(), replaced);
  EXPECT_EQ(editor().CountLines(), 5);
  TempDir dir;
  editor().SaveTextFile(dir.File("saved.txt"));
  editor().LoadTextFile(dir.File("saved.txt"));
  EXPECT_EQ(editor().WholeText(), replaced);
}

TEST_F(RichEditorTest, EveryEditRaisesTheChangeEvent) {
  SetText("abc");
  editor().SetSelectionStart(3);
  SendMessageW(editor().Handle(), WM_CHAR, 'x', 1);
  EXPECT_EQ(host_.changes(), 1);
  SendMessageW(editor().Handle(), WM_CHAR, L'表', 1);
  EXPECT_EQ(host_.changes(), 2);
  EXPECT_EQ(editor().WholeText(), "abcx表");

  editor().Select(0, 1);
  editor().CutSelection();
  EXPECT_EQ(host_.changes(), 3);
  EXPECT_EQ(editor().WholeText(), "bcx表");
  editor().PasteClipboard();
  EXPECT_EQ(host_.changes(), 4);
  EXPECT_EQ(editor().WholeText(), "abcx表");

  ASSERT_TRUE(editor().UndoAvailable());
  editor().UndoLastEdit();
  EXPECT_EQ(host_.changes(), 5);
  EXPECT_EQ(editor().WholeText(), "bcx表");
}

TEST_F(RichEditorTest, OtherProgramsCanReadTheTextWithWmGetText) {
  SetText("表\r\nabc");
  wchar_t wide[16] = L"";
  EXPECT_EQ(SendMessageW(editor().Handle(), WM_GETTEXTLENGTH, 0, 0), 6);
  EXPECT_EQ(SendMessageW(editor().Handle(), WM_GETTEXT, 16, reinterpret_cast<LPARAM>(wide)), 6);
  EXPECT_STREQ(wide, L"表\r\nabc");
  char narrow[16] = "";
  GetWindowTextA(editor().Handle(), narrow, sizeof narrow);
  EXPECT_STREQ(narrow, "表\r\nabc");
  EXPECT_EQ(SendMessageW(editor().Handle(), WM_GETTEXT, 3, reinterpret_cast<LPARAM>(wide)), 2);
  EXPECT_STREQ(wide, L"表\r");
}

TEST_F(RichEditorTest, CopyGivesWhatTheUserSeesAndPasteWritesWhatTheSystemWrites) {
  SetText("表\x80\xFD\x87\x90\x85\x40ｱ");
  editor().SelectWholeText();
  editor().CopySelection();
  EXPECT_EQ(ClipboardText(), u"表\uFFFD\uFFFD\u2252\uFFFDｱ");
  editor().ClearText();
  editor().PasteClipboard();
  EXPECT_EQ(editor().WholeText(), "表??\x81\xE0?ｱ");
}

TEST_F(RichEditorTest, PastedLineBreaksBecomeCrLfAndForeignCharactersCountAsQuestionMarks) {
  PutOnClipboard(u"a\nb\rc\U0001F600\uAC00d");
  editor().PasteClipboard();
  EXPECT_EQ(editor().WholeText(), "a\r\nb\r\nc??d");
  EXPECT_EQ(editor().SearchText("d", 0, 10, true), 9);
  editor().Select(7, 1);
  EXPECT_EQ(editor().SelectedText(), "?");
  editor().Select(8, 2);
  EXPECT_EQ(editor().SelectedText(), "?d");
  EXPECT_EQ(editor().CountLines(), 3);
}

TEST_F(RichEditorTest, PasteWithoutTextOnTheClipboardDoesNothing) {
  SetText("abc");
  PutOnClipboard(u"");
  editor().PasteClipboard();
  EXPECT_EQ(editor().WholeText(), "abc");
  EXPECT_EQ(host_.changes(), 0);
}

TEST_F(RichEditorTest, TheFontStartsAsTheProgramDescribesIt) {
  EXPECT_EQ(editor().FaceName(), "ＭＳ ゴシック");
  EXPECT_EQ(editor().FontHeight(), -17);
  EXPECT_EQ(editor().PointSize(), PointSizeFromHeight(-17, editor().ScreenDpi()));
  CHARFORMAT2A format = DefaultFormat();
  EXPECT_STREQ(format.szFaceName, "ＭＳ ゴシック");
  EXPECT_EQ(format.bCharSet, SHIFTJIS_CHARSET);
  EXPECT_EQ(format.yHeight, editor().PointSize() * 20);
  EXPECT_TRUE(format.dwEffects & CFE_AUTOCOLOR);
  EXPECT_FALSE(format.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE | CFE_STRIKEOUT));
}

TEST_F(RichEditorTest, PointSizeAt96Dpi) {
  if (editor().ScreenDpi() != 96) GTEST_SKIP() << "the screen is not at 96 dpi";
  EXPECT_EQ(editor().PointSize(), 13);
  editor().SetPointSize(13);
  EXPECT_EQ(editor().FontHeight(), -17);  // unchanged: 13 points is already the size
  editor().SetPointSize(12);
  EXPECT_EQ(editor().FontHeight(), -16);
  EXPECT_EQ(DefaultFormat().yHeight, 240);
}

TEST_F(RichEditorTest, FaceNames) {
  editor().SetFaceName("");
  EXPECT_EQ(editor().FaceName(), "ＭＳ ゴシック");
  editor().SetFaceName("IPAGothic");
  EXPECT_STREQ(DefaultFormat().szFaceName, "IPAGothic");
  editor().SetFaceName(std::string(40, 'x'));
  EXPECT_EQ(editor().FaceName(), std::string(31, 'x'));
  editor().SetFaceName(std::string(30, 'x') + "表");  // 表 would not fit whole
  EXPECT_EQ(editor().FaceName(), std::string(30, 'x'));
}

TEST_F(RichEditorTest, Colors) {
  editor().SetFontColor(0x0000FF);
  CHARFORMAT2A format = DefaultFormat();
  EXPECT_FALSE(format.dwEffects & CFE_AUTOCOLOR);
  EXPECT_EQ(format.crTextColor, 0x0000FFu);
  editor().SetFontColor(kSystemColorFlag | COLOR_HIGHLIGHT);
  EXPECT_EQ(DefaultFormat().crTextColor, GetSysColor(COLOR_HIGHLIGHT));

  // EM_SETBKGNDCOLOR answers with the colour it replaces.
  auto background = [this] {
    auto previous = static_cast<COLORREF>(SendMessageW(editor().Handle(), EM_SETBKGNDCOLOR, 0, 0x010203));
    SendMessageW(editor().Handle(), EM_SETBKGNDCOLOR, 0, previous);
    return previous;
  };
  EXPECT_EQ(background(), GetSysColor(COLOR_WINDOW));
  editor().SetBackColor(0x00FFCC);
  EXPECT_EQ(editor().BackColor(), 0x00FFCC);
  EXPECT_EQ(background(), 0x00FFCCu);
}

TEST_F(RichEditorTest, WordWrapRecreatesTheControlAndKeepsTheText) {
  std::string bytes = "表\x80\xA0\xFD\xFE\xFF\x87\x90\x85\x40\x95\r\n" + std::string(300, 'w') + "ｱ末";
  SetText(bytes);
  editor().SetFontColor(0x123456);
  editor().SetBackColor(0x0000FF);
  SendMessageW(editor().Handle(), EM_SETMODIFY, TRUE, 0);
  editor().FocusEditor();
  HWND before = editor().Handle();
  ASSERT_TRUE(GetWindowLongW(before, GWL_STYLE) & ES_AUTOHSCROLL);

  editor().SetWordWrap(true);
  HWND after = editor().Handle();
  EXPECT_TRUE(editor().WordWrap());
  EXPECT_FALSE(IsWindow(before));
  EXPECT_FALSE(GetWindowLongW(after, GWL_STYLE) & ES_AUTOHSCROLL);
  EXPECT_EQ(editor().WholeText(), bytes);
  EXPECT_EQ(host_.changes(), 0);
  EXPECT_NE(SendMessageW(after, EM_GETMODIFY, 0, 0), 0);
  EXPECT_EQ(GetFocus(), after);
  EXPECT_EQ(DefaultFormat().crTextColor, 0x123456u);
  EXPECT_GT(editor().CountLines(), 2);  // the long line wraps

  editor().SetWordWrap(true);  // no change: the same window
  EXPECT_EQ(editor().Handle(), after);
  editor().SetWordWrap(false);
  EXPECT_EQ(editor().WholeText(), bytes);
  EXPECT_EQ(editor().CountLines(), 2);

  // The new window is the one whose changes count.
  SendMessageW(editor().Handle(), WM_CHAR, 'x', 1);
  EXPECT_EQ(host_.changes(), 1);
}

TEST_F(RichEditorTest, ALongTextGoesInPieceByPieceWithEveryByteAndItsProgressShown) {
  // Some 20 pieces' worth of lines of every length, with marked characters
  // (a duplicate code and a stray byte) and double-byte characters and line
  // breaks at every distance from where a piece may end; first a line longer
  // than two first pieces, which is cut inside, between characters.
  std::string bytes = "a";
  while (bytes.size() < 50000) bytes += bytes.size() % 7 ? "表" : "ｱ";
  bytes += "\r\n";
  for (int line = 0; bytes.size() < 600000; ++line) {
    bytes += std::string(static_cast<std::size_t>(line % 97), 'a') + (line % 5 ? "表ｱ" : "\x87\x90\x80") + "\r\n";
  }
  bytes += "末";  // and no final line break
  TempDir dir;
  const std::string path = dir.File("long.txt");
  for (bool marked : {true, false}) {
    std::string text = marked ? bytes : cp932::Encode(cp932::Decode(bytes).text);  // marks written as the system writes
    WriteBytes(path, text);
    std::vector<int> reports;
    editor().OnProgress = [&](int percent) { reports.push_back(percent); };
    editor().ReportAllProgressForTesting();
    editor().LoadTextFile(path);
    EXPECT_EQ(editor().WholeText(), text) << marked;
    // Copied out a piece at a time, whole, or not at all when told to stop.
    EXPECT_TRUE(editor().CopyText([] { return false; })() == text) << marked;
    EXPECT_FALSE(editor().CopyText([] { return true; })) << marked;
    EXPECT_FALSE(editor().UndoAvailable());
    ASSERT_GE(reports.size(), 10u);
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end() - 1));
    EXPECT_EQ(reports.end()[-2], 100);
    EXPECT_EQ(reports.back(), -1);  // done

    reports.clear();
    editor().SetWordWrap(!editor().WordWrap());
    EXPECT_EQ(editor().WholeText(), text) << marked;
    EXPECT_FALSE(reports.empty());
  }
}

// Edits of many lines are made by writing the resulting text anew; every
// byte around them stays, marks and all, and undo puts back the text and the
// selection from before, after the edits made since.
class ManyLinesTest : public RichEditorTest {
 protected:
  void SetUp() override {
    for (int line = 0; line < 700; ++line) {
      starts_.push_back(static_cast<Position>(bytes_.size()));
      bytes_ += "line " + std::to_string(line) + (line % 3 ? " 表ｱ" : " \x87\x90\x80") + "\r\n";
    }
    starts_.push_back(static_cast<Position>(bytes_.size()));
    SetText(bytes_);
    editor().FocusEditor();
  }
  // Selects lines [first, last) and returns their bytes.
  std::string SelectLines(int first, int last) {
    editor().Select(starts_[first], starts_[last] - starts_[first]);
    return bytes_.substr(starts_[first], starts_[last] - starts_[first]);
  }
  std::string Without(int first, int last, const std::string& inserted = "") {
    return bytes_.substr(0, starts_[first]) + inserted + bytes_.substr(starts_[last]);
  }
  // The text is expected, or where it first differs (the texts are long).
  ::testing::AssertionResult TextIs(const std::string& expected) {
    const std::string& text = editor().WholeText();
    if (text == expected) return ::testing::AssertionSuccess();
    auto differ = std::mismatch(text.begin(), text.end(), expected.begin(), expected.end());
    return ::testing::AssertionFailure() << "the text (" << text.size() << " bytes) differs from the expected ("
                                         << expected.size() << ") from byte " << (differ.first - text.begin());
  }
  // Undo puts the text back, with lines [first, last) selected, and leaves
  // nothing more to undo.
  void ExpectUndoneTo(int first, int last) {
    ASSERT_TRUE(editor().UndoAvailable());
    host_.ResetChanges();
    editor().UndoLastEdit();
    EXPECT_TRUE(TextIs(bytes_));
    EXPECT_EQ(editor().SelectionStart(), starts_[first]);
    EXPECT_EQ(editor().SelectionLength(), starts_[last] - starts_[first]);
    EXPECT_EQ(host_.changes(), 1);
    EXPECT_FALSE(editor().UndoAvailable());
  }

  std::string bytes_;
  std::vector<Position> starts_;
};

TEST_F(ManyLinesTest, DeleteAndBackspaceThenEditsMadeSinceAreUndoneFirst) {
  HWND control = editor().Handle();
  SelectLines(100, 500);
  SendMessageW(control, WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_TRUE(TextIs(Without(100, 500)));
  EXPECT_NE(editor().Handle(), control);                                         // written anew
  EXPECT_GT(SendMessageW(editor().Handle(), EM_GETFIRSTVISIBLELINE, 0, 0), 50);  // scrolled to the caret
  EXPECT_EQ(editor().SelectionStart(), starts_[100]);
  EXPECT_EQ(editor().SelectionLength(), 0);
  EXPECT_EQ(host_.changes(), 1);
  EXPECT_EQ(GetFocus(), editor().Handle());
  SendMessageW(editor().Handle(), WM_CHAR, 'x', 0);  // a small edit, in place
  EXPECT_TRUE(TextIs(Without(100, 500, "x")));
  editor().UndoLastEdit();
  EXPECT_TRUE(TextIs(Without(100, 500)));
  ExpectUndoneTo(100, 500);

  editor().SelectWholeText();
  SendMessageW(editor().Handle(), WM_KEYDOWN, VK_BACK, 0);
  EXPECT_TRUE(TextIs(""));
  ExpectUndoneTo(0, 700);
}

TEST_F(ManyLinesTest, TypingOverManyLinesPutsTheCharacterInTheirPlace) {
  for (auto [typed, bytes] : {std::pair{u'x', "x"}, {u'表', "表"}, {u'\r', "\r\n"}, {u'\t', "\t"}}) {
    SelectLines(1, 650);
    SendMessageW(editor().Handle(), WM_CHAR, typed, 0);
    EXPECT_TRUE(TextIs(Without(1, 650, bytes)));
    EXPECT_EQ(editor().SelectionStart(), starts_[1] + static_cast<Position>(std::strlen(bytes)));
    ExpectUndoneTo(1, 650);
  }
}

TEST_F(ManyLinesTest, CutCopiesTheLinesAndPasteOfManyLinesIsOneUndoStep) {
  const std::string cut = SelectLines(200, 600);
  editor().CutSelection();
  EXPECT_TRUE(ClipboardText() == cp932::Decode(cut).text);
  EXPECT_TRUE(TextIs(Without(200, 600)));
  ExpectUndoneTo(200, 600);

  // Pasted at the caret, its line feeds becoming CR LF.
  std::u16string pasted;
  for (int line = 0; line < 300; ++line) pasted += u"貼\n";
  PutOnClipboard(pasted);
  editor().Select(starts_[5], 0);
  editor().PasteClipboard();
  std::string expected;
  for (int line = 0; line < 300; ++line) expected += "貼\r\n";
  EXPECT_TRUE(TextIs(Without(5, 5, expected)));
  EXPECT_EQ(editor().SelectionStart(), starts_[5] + static_cast<Position>(expected.size()));
  ExpectUndoneTo(5, 5);
}

TEST_F(ManyLinesTest, FewLinesAndOneLongWrappedLineAreEditedInTheControl) {
  HWND control = editor().Handle();
  SelectLines(10, 110);
  SendMessageW(control, WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_TRUE(TextIs(Without(10, 110)));
  EXPECT_EQ(editor().Handle(), control);
  editor().UndoLastEdit();
  EXPECT_TRUE(TextIs(bytes_));

  // Many rows, one line.
  editor().SetWordWrap(true);
  const std::string line(20000, 'w');
  SetText(line + "\r\nend");
  control = editor().Handle();
  ASSERT_GT(SendMessageW(control, EM_GETLINECOUNT, 0, 0), 200);
  editor().Select(10, 19980);
  SendMessageW(control, WM_KEYDOWN, VK_BACK, 0);
  EXPECT_TRUE(TextIs(line.substr(0, 20) + "\r\nend"));
  EXPECT_EQ(editor().Handle(), control);
}

TEST_F(ManyLinesTest, AReplacementOrANewDocumentLeavesNothingToUndo) {
  SelectLines(0, 400);
  SendMessageW(editor().Handle(), WM_KEYDOWN, VK_DELETE, 0);
  editor().SelectWholeText();  // the 300 lines left
  editor().ReplaceSelectedText("new");
  EXPECT_TRUE(TextIs("new"));
  EXPECT_FALSE(editor().UndoAvailable());

  SetText(bytes_);
  SelectLines(0, 400);
  SendMessageW(editor().Handle(), WM_KEYDOWN, VK_DELETE, 0);
  editor().ClearText();
  EXPECT_FALSE(editor().UndoAvailable());
}

TEST_F(ManyLinesTest, AChangeToANewWindowThatFailsLeavesTheOldOneAndTheUndoAsTheyWere) {
  SelectLines(100, 500);
  SendMessageW(editor().Handle(), WM_KEYDOWN, VK_DELETE, 0);
  HWND control = editor().Handle();
  host_.ResetChanges();
  for (auto fault : {RichEditor::SwapFault::kNoWindow, RichEditor::SwapFault::kTextCut}) {
    editor().SetSwapFaultForTesting(fault);
    EXPECT_THROW(editor().UndoLastEdit(), EditorUnavailable);
    editor().SetSwapFaultForTesting(fault);
    EXPECT_THROW(editor().SetFontColor(0x204060), EditorUnavailable);  // the marked text is written anew
    EXPECT_EQ(editor().FontColor(), kClWindowText);
    EXPECT_EQ(editor().Handle(), control);
    EXPECT_TRUE(TextIs(Without(100, 500)));
    EXPECT_EQ(host_.changes(), 0);
  }
  ExpectUndoneTo(100, 500);

  // A long text leaves its window first, and goes back into another.
  std::string lines;
  for (int line = 0; lines.size() < 200000; ++line) lines += "line " + std::to_string(line) + " \x87\x90\x80\r\n";
  SetText(lines);
  editor().Select(10, 5);
  SendMessageW(editor().Handle(), EM_SETMODIFY, TRUE, 0);
  for (auto fault : {RichEditor::SwapFault::kNoWindow, RichEditor::SwapFault::kTextCut}) {
    editor().SetSwapFaultForTesting(fault);
    EXPECT_THROW(editor().SetWordWrap(true), EditorUnavailable);
    EXPECT_FALSE(editor().WordWrap());
    EXPECT_TRUE(TextIs(lines));
    EXPECT_EQ(editor().SelectionStart(), 10);
    EXPECT_EQ(editor().SelectionLength(), 5);
    EXPECT_NE(SendMessageW(editor().Handle(), EM_GETMODIFY, 0, 0), 0);
    EXPECT_EQ(GetFocus(), editor().Handle());
  }
  SendMessageW(editor().Handle(), WM_CHAR, 'x', 0);
  EXPECT_EQ(host_.changes(), 1);
}

TEST_F(RichEditorTest, TheTextReadForPositionsIsReadAgainAfterEveryKindOfEdit) {
  SetText("abc表def");
  HWND control = editor().Handle();
  auto read = [&] {
    std::string text = editor().WholeText();
    return text + "|" + std::to_string(editor().SelectionStart()) + "," + std::to_string(editor().SelectionLength());
  };
  editor().SetSelectionStart(3);
  EXPECT_EQ(read(), "abc表def|3,0");
  SendMessageW(control, WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(read(), "abcdef|3,0");
  SendMessageW(control, WM_KEYDOWN, VK_RIGHT, 0);  // moves the caret only
  EXPECT_EQ(read(), "abcdef|4,0");
  SendMessageW(control, WM_CHAR, L'\u8868', 0);
  EXPECT_EQ(read(), "abcd表ef|6,0");
  SendMessageW(control, EM_UNDO, 0, 0);
  EXPECT_EQ(read(), "abcdef|4,0");
  SendMessageW(control, WM_KEYDOWN, VK_BACK, 0);
  EXPECT_EQ(read(), "abcef|3,0");
  SendMessageW(control, EM_SETSEL, 1, 3);
  EXPECT_EQ(editor().SelectedText(), "bc");
  SendMessageW(control, WM_CUT, 0, 0);
  EXPECT_EQ(read(), "aef|1,0");
}

TEST_F(RichEditorTest, MarkedCharactersTakeTheFontAndColoursOfTheRest) {
  // 纊 from its NEC-selected code, an unassigned code, 纊 from the system's code
  const std::string bytes =
      "a\xED\x40\x85\x40"
      "b\xFA\x5C";
  SetText(bytes);
  editor().SetSelectionStart(static_cast<Position>(bytes.size()));
  SendMessageW(editor().Handle(), WM_CHAR, L'纊', 1);  // typed: written as the system writes it
  const std::string expected = bytes + "\xFA\x5C";
  // A colour a shade off the one before gives no character a mark.
  editor().SetFontColor(GetSysColor(COLOR_WINDOWTEXT) ^ 0x010000);
  EXPECT_EQ(editor().WholeText(), expected);
  editor().SetFaceName("IPAGothic");
  editor().SetPointSize(20);
  editor().SetFontColor(0x204060);
  editor().SetBackColor(0xE0F0FF);
  EXPECT_EQ(editor().WholeText(), expected);
  EXPECT_EQ(host_.changes(), 1);
  for (LONG unit = 0; unit < 6; ++unit) {
    CHARRANGE range{unit, unit + 1};
    SendMessageW(editor().Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMAT2A format = CharFormatOf(editor().Handle(), SCF_SELECTION);
    EXPECT_STREQ(format.szFaceName, "IPAGothic") << unit;
    EXPECT_EQ(format.yHeight, 400) << unit;
    for (int shift : {0, 8, 16}) {
      EXPECT_LE(std::abs(static_cast<int>((format.crTextColor >> shift) & 0xFF) - ((0x204060 >> shift) & 0xFF)), 3);
      if (!(format.dwEffects & CFE_AUTOBACKCOLOR)) {
        EXPECT_LE(std::abs(static_cast<int>((format.crBackColor >> shift) & 0xFF) - ((0xE0F0FF >> shift) & 0xFF)), 3);
      }
    }
  }
}

TEST_F(RichEditorTest, PropertiesSetBeforeTheWindowExistsApplyWhenItIsCreated) {
  RichEditor late;
  late.SetWordWrap(true);
  late.SetFaceName("IPAGothic");
  late.SetBackColor(0x00FF00);
  late.Create(host_.window(), 2);
  EXPECT_FALSE(GetWindowLongW(late.Handle(), GWL_STYLE) & ES_AUTOHSCROLL);
  EXPECT_STREQ(CharFormatOf(late.Handle()).szFaceName, "IPAGothic");
  EXPECT_EQ(SendMessageW(late.Handle(), EM_SETBKGNDCOLOR, 0, 0), 0x00FF00);
  EXPECT_EQ(SendMessageW(late.Handle(), EM_GETLIMITTEXT, 0, 0), RichEditor::kTextLimit);
}

}  // namespace
}  // namespace quolvi::test
