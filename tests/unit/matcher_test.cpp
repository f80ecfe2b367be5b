#include "core/matcher.h"

#include <gtest/gtest.h>

#include "tests/unit/memory_editor.h"

namespace quolvi {
namespace {

using test::MemoryEditor;

SearchFields Find(std::string pattern, std::uint16_t options = 0) {
  return SearchFields{std::move(pattern), "", options};
}

std::string Selected(MemoryEditor& editor) { return editor.SelectedText(); }

TEST(MatcherTest, FindsOccurrencesOneAfterAnother) {
  MemoryEditor editor("xxabcabcyy");
  EXPECT_EQ(FindNextMatch(editor, Find("abc")), StepResult::Done(5));
  EXPECT_EQ(editor.SelectionStart(), 2);
  EXPECT_EQ(editor.SelectionLength(), 3);
  EXPECT_EQ(editor.focusCount, 1);
  EXPECT_EQ(FindNextMatch(editor, Find("abc")), StepResult::Done(8));
  EXPECT_EQ(editor.SelectionStart(), 5);
  EXPECT_EQ(FindNextMatch(editor, Find("abc")), StepResult::NotFound());
  EXPECT_EQ(editor.SelectionStart(), 5);  // unchanged
  EXPECT_EQ(editor.focusCount, 2);
}

TEST(MatcherTest, NothingToSearchAndNothingAfterTheEnd) {
  MemoryEditor editor("xxabcabc");
  EXPECT_EQ(FindNextMatch(editor, Find("abc")), StepResult::Done(5));
  EXPECT_EQ(FindNextMatch(editor, Find("abc")), StepResult::Done(8));
  EXPECT_EQ(FindNextMatch(editor, Find("abc")), StepResult::NotFound());  // the selection ends at the end
  EXPECT_EQ(editor.SelectionStart(), 5);
  EXPECT_EQ(editor.SelectionLength(), 3);
  EXPECT_EQ(FindNextMatch(editor, Find("")), StepResult::NothingToDo());
  MemoryEditor empty;
  EXPECT_EQ(FindNextMatch(empty, Find("a")), StepResult::NothingToDo());
}

TEST(MatcherTest, Wildcards) {
  MemoryEditor editor("a--b ab a-b");
  EXPECT_EQ(FindNextMatch(editor, Find("a*b")), StepResult::Done(4));
  EXPECT_EQ(Selected(editor), "a--b");
  EXPECT_EQ(FindNextMatch(editor, Find("a*b")), StepResult::Done(7));
  EXPECT_EQ(Selected(editor), "ab");
  editor.SetSelectionStart(0);
  EXPECT_EQ(FindNextMatch(editor, Find("a?b")), StepResult::Done(4));  // "a--b": b begins two after a
  editor.SetSelectionStart(5);
  EXPECT_EQ(FindNextMatch(editor, Find("a?b")), StepResult::Done(11));  // not "ab"
  EXPECT_EQ(Selected(editor), "ab a-b");
}

TEST(MatcherTest, TrailingWildcardsAreDroppedAndLeadingOnesStartAtTheCaret) {
  MemoryEditor editor("xyz abc");
  EXPECT_EQ(FindNextMatch(editor, Find("a*")), StepResult::Done(5));
  EXPECT_EQ(Selected(editor), "a");
  editor.SetSelectionStart(1);
  EXPECT_EQ(FindNextMatch(editor, Find("*abc")), StepResult::Done(7));
  EXPECT_EQ(Selected(editor), "yz abc");
  editor.SetSelectionStart(4);
  EXPECT_EQ(FindNextMatch(editor, Find("?abc")), StepResult::NotFound());  // abc begins right at the caret
}

TEST(MatcherTest, PatternsWithNothingToMatchSelectNothing) {
  MemoryEditor editor("a*b\\c");
  for (const char* pattern : {"*", "?", "*?*", "\\", "*\\"}) {
    editor.SetSelectionStart(0);
    EXPECT_EQ(FindNextMatch(editor, Find(pattern)), StepResult::NotFound()) << pattern;
    EXPECT_EQ(editor.SelectionLength(), 0) << pattern;
  }
}

TEST(MatcherTest, EscapesInPatterns) {
  MemoryEditor editor("1*2\\*3A00q\r\n");
  EXPECT_EQ(FindNextMatch(editor, Find("\\*")), StepResult::Done(2));
  editor.SetSelectionStart(0);
  EXPECT_EQ(FindNextMatch(editor, Find("\\2A")), StepResult::Done(2));
  editor.SetSelectionStart(0);
  EXPECT_EQ(FindNextMatch(editor, Find("\\\\*")), StepResult::Done(5));  // backslash and asterisk
  editor.SetSelectionStart(0);
  EXPECT_EQ(FindNextMatch(editor, Find("\\41")), StepResult::Done(7));
  EXPECT_EQ(FindNextMatch(editor, Find("\\00")), StepResult::Done(9));
  EXPECT_EQ(FindNextMatch(editor, Find("\\q")), StepResult::Done(10));
  EXPECT_EQ(FindNextMatch(editor, Find("\\n")), StepResult::Done(12));
}

TEST(MatcherTest, MatchCase) {
  MemoryEditor editor("abc ABC");
  EXPECT_EQ(FindNextMatch(editor, Find("ABC")), StepResult::Done(3));
  editor.SetSelectionStart(0);
  EXPECT_EQ(FindNextMatch(editor, Find("ABC", kOptionMatchCase)), StepResult::Done(7));
}

TEST(MatcherTest, DoubleByteCharactersMatchWhole) {
  MemoryEditor editor("x表\\y表z");
  EXPECT_EQ(FindNextMatch(editor, Find("\\\\")), StepResult::Done(4));  // never the second byte of 表
  editor.SetSelectionStart(0);
  EXPECT_EQ(FindNextMatch(editor, Find("表*z")), StepResult::Done(8));
  EXPECT_EQ(Selected(editor), "表\\y表z");
  // A "?" that lands inside 表 goes on from the next character.
  editor.SetSelectionStart(0);
  EXPECT_EQ(FindNextMatch(editor, Find("x?\\\\")), StepResult::Done(4));
}

TEST(MatcherTest, HalfALineBreakIsFoundAsTheWholeOneAndTheNextSearchGoesOn) {
  // The editor cannot select the CR or the LF of a line break alone.
  for (const char* pattern : {"\\r", "\\0D", "\\0d", "\\0A", "\\n", "\\0D\\0A"}) {
    SCOPED_TRACE(pattern);
    MemoryEditor editor("ab\r\ncd\r\n");
    EXPECT_EQ(FindNextMatch(editor, Find(pattern)), StepResult::Done(4));
    EXPECT_EQ(Selected(editor), "\r\n");
    EXPECT_EQ(FindNextMatch(editor, Find(pattern)), StepResult::Done(8));
    EXPECT_EQ(editor.SelectionStart(), 6);
    EXPECT_EQ(FindNextMatch(editor, Find(pattern)), StepResult::NotFound());  // at the end
  }
  MemoryEditor editor("ab\r\ncd");
  EXPECT_EQ(FindNextMatch(editor, Find("b\\r")), StepResult::Done(4));
  EXPECT_EQ(Selected(editor), "b\r\n");
  editor.SetSelectionStart(0);
  EXPECT_EQ(FindNextMatch(editor, Find("\\0Ac")), StepResult::Done(5));
  EXPECT_EQ(Selected(editor), "\r\nc");
}

TEST(MatcherTest, ReplaceSelection) {
  MemoryEditor editor("one two");
  EXPECT_EQ(ReplaceSelection(editor, SearchFields{"", "x", 0}), StepResult::NothingToDo());  // nothing selected
  EXPECT_EQ(editor.WholeText(), "one two");
  editor.SetSelectionStart(4);
  editor.SetSelectionLength(3);
  EXPECT_EQ(ReplaceSelection(editor, SearchFields{"", "*?\\t\\n表", 0}), StepResult::Done(11));
  EXPECT_EQ(editor.WholeText(), "one *?\t\r\n表");
  EXPECT_EQ(editor.SelectionLength(), 0);
  editor.SetSelectionStart(0);
  editor.SetSelectionLength(4);
  EXPECT_EQ(ReplaceSelection(editor, SearchFields{"", "", 0}), StepResult::Done(0));
  EXPECT_EQ(editor.WholeText(), "*?\t\r\n表");
  MemoryEditor empty;
  EXPECT_EQ(ReplaceSelection(empty, SearchFields{"", "x", 0}), StepResult::NothingToDo());
}

TEST(MatcherTest, EveryCrOrLfAReplacementInsertsIsALineBreak) {
  for (auto [replacement, inserted] :
       std::initializer_list<std::pair<const char*, const char*>>{{"\\r", "\r\n"},
                                                                  {"\\0D", "\r\n"},
                                                                  {"\\0A", "\r\n"},
                                                                  {"\\n", "\r\n"},
                                                                  {"\\r\\n", "\r\n\r\n"},
                                                                  {"\\0D\\0A", "\r\n"},
                                                                  {"a\\0Ab\\r", "a\r\nb\r\n"}}) {
    SCOPED_TRACE(replacement);
    MemoryEditor editor("x-y");
    editor.SetSelectionStart(1);
    editor.SetSelectionLength(1);
    const std::string expected = std::string("x") + inserted + "y";
    EXPECT_EQ(ReplaceSelection(editor, SearchFields{"", replacement, 0}),
              StepResult::Done(static_cast<Position>(expected.size()) - 1));
    EXPECT_EQ(editor.WholeText(), expected);
  }
}

}  // namespace
}  // namespace quolvi
