#include "core/replace_all.h"

#include <gtest/gtest.h>

#include <random>

#include "core/line_breaks.h"
#include "tests/unit/memory_editor.h"

namespace quolvi {
namespace {

using test::MemoryEditor;

// The replace command's loop, step by step, as the reference; -1 when it
// would not end.
int Loop(SearchTarget& editor, const SearchFields& fields) {
  int count = 0;
  for (int steps = 0; steps < 100000; ++steps) {
    if (ReplaceSelection(editor, fields).done()) ++count;
    if (!FindNextMatch(editor, fields).done() || (fields.FindOptions & kOptionReplace)) return count;
  }
  return -1;
}

TEST(ReplaceAllTest, EveryAFromTheCaretBecomesTwo) {
  MemoryEditor editor("aaa");
  EXPECT_EQ(ReplaceAll(editor, SearchFields{"a", "aa", kOptionReplaceAll}), 3);
  EXPECT_EQ(editor.WholeText(), "aaaaaa");
  EXPECT_EQ(editor.SelectionStart(), 6);
  EXPECT_EQ(editor.SelectionLength(), 0);
}

TEST(ReplaceAllTest, TheSelectionIsReplacedFirstAndNothingBeforeItIsTouched) {
  MemoryEditor editor("a xa a");
  editor.SetSelectionStart(2);
  editor.SetSelectionLength(1);
  EXPECT_EQ(ReplaceAll(editor, SearchFields{"a", "b", kOptionReplaceAll}), 3);
  EXPECT_EQ(editor.WholeText(), "a bb b");
}

TEST(ReplaceAllTest, NoMatchAndNothingSelectedChangesNothing) {
  MemoryEditor editor("abc");
  EXPECT_EQ(ReplaceAll(editor, SearchFields{"z", "y", kOptionReplaceAll}), 0);
  EXPECT_EQ(editor.WholeText(), "abc");
  EXPECT_EQ(editor.focusCount, 0);
}

TEST(ReplaceAllTest, HalfALineBreakIsReplacedWholeAndReplacingEnds) {
  // Each line break is replaced once, whether the replacement ends in a
  // lone lead byte (done step by step) or not (in one pass).
  for (const char* pattern : {"\\r", "\\0A"}) {
    SCOPED_TRACE(pattern);
    MemoryEditor lead("ab\r\ncd\r\n");
    EXPECT_EQ(ReplaceAll(lead, SearchFields{pattern, "\\82", kOptionReplaceAll}), 2);
    EXPECT_EQ(lead.WholeText(),
              "ab\x82"
              "cd\x82");
    MemoryEditor onePass("ab\r\ncd\r\n");
    EXPECT_EQ(ReplaceAll(onePass, SearchFields{pattern, "\\r", kOptionReplaceAll}), 2);
    EXPECT_EQ(onePass.WholeText(), "ab\r\ncd\r\n");
    EXPECT_EQ(onePass.SelectionStart(), 8);
  }
}

TEST(ReplaceAllTest, TheLongestPatternsEveryByteMatchingAndAReplacementHoldingThePattern) {
  // 255 bytes, the most the dialogs take: backslashes (127 escaped ones and
  // a lone last one, dropped), wildcards alone (nothing to find), and
  // hexadecimal escapes.
  MemoryEditor backslashes(std::string(300, '\\'));
  EXPECT_EQ(ReplaceAll(backslashes, SearchFields{std::string(255, '\\'), "x", kOptionReplaceAll}), 2);
  EXPECT_EQ(backslashes.WholeText(), "xx" + std::string(300 - 2 * 127, '\\'));
  MemoryEditor wildcards("abc");
  EXPECT_EQ(ReplaceAll(wildcards, SearchFields{std::string(255, '*'), "x", kOptionReplaceAll}), 0);
  EXPECT_EQ(ReplaceAll(wildcards, SearchFields{std::string(255, '?'), "x", kOptionReplaceAll}), 0);
  EXPECT_EQ(wildcards.WholeText(), "abc");
  std::string hex;
  while (hex.size() < 255) hex += "\\41";
  MemoryEditor letters(std::string(170, 'A'));
  EXPECT_EQ(ReplaceAll(letters, SearchFields{hex, "", kOptionReplaceAll}), 2);
  EXPECT_EQ(letters.WholeText(), "");
  // Every byte matches, and each replacement holds the pattern.
  MemoryEditor every(std::string(100000, 'a'));
  EXPECT_EQ(ReplaceAll(every, SearchFields{"a", "<a>", kOptionReplaceAll}), 100000);
  EXPECT_EQ(every.WholeText().size(), 300000u);
  EXPECT_EQ(every.WholeText().substr(0, 6), "<a><a>");
}

TEST(ReplaceAllTest, OnePassGivesExactlyWhatTheLoopGives) {
  const char* const textPieces[] = {"a", "b", "ab",   "A", "表", "ソ",   "\\",
                                    "*", "?", "\r\n", "ｱ", "x",  "\x95", "\x81\x40"};
  const char* const patternPieces[] = {"a",   "b",  "A", "*",  "?",    "\\\\", "\\*",  "表",  "\\5C",
                                       "\\n", "ab", "x", "\\", "\\95", "\\r",  "\\0A", "\\0D"};
  const char* const replacements[] = {"",     "a",    "aa", "表",   "\\t", "\\n",  "*?",
                                      "\\41", "\\95", "ソ", "ab\\", "\\r", "x\\0A"};
  std::mt19937 random(4242);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  int replaced = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    for (int i = pick(25); i > 0; --i) text += textPieces[pick(14)];
    std::string pattern;
    for (int i = 1 + pick(4); i > 0; --i) pattern += patternPieces[pick(17)];
    SearchFields fields{pattern, replacements[pick(13)],
                        static_cast<std::uint16_t>((pick(2) ? kOptionMatchCase : 0) |
                                                   (pick(4) == 0 ? kOptionReplace : kOptionReplaceAll))};
    MemoryEditor loop(text), onePass(text);
    const int start = pick(static_cast<int>(text.size()) + 1);
    const int length = pick(4) == 0 ? pick(static_cast<int>(text.size()) - start + 1) : 0;
    for (MemoryEditor* editor : {&loop, &onePass}) {
      editor->SetSelectionStart(start);
      editor->SetSelectionLength(length);
    }
    const int loopCount = Loop(loop, fields);
    const int onePassCount = ReplaceAll(onePass, fields);
    SCOPED_TRACE(::testing::Message() << "text " << ::testing::PrintToString(text) << " pattern "
                                      << ::testing::PrintToString(pattern) << " replacement "
                                      << ::testing::PrintToString(fields.ReplacePattern) << " selection " << start
                                      << "+" << length << " options " << fields.FindOptions);
    ASSERT_GE(loopCount, 0) << "the loop does not end";
    ASSERT_EQ(onePass.WholeText(), loop.WholeText());
    ASSERT_EQ(onePassCount, loopCount);
    ASSERT_EQ(NormalizeLineBreaks<char>(loop.WholeText()), loop.WholeText()) << "a lone CR or LF";
    ASSERT_EQ(onePass.SelectionStart(), loop.SelectionStart());
    ASSERT_EQ(onePass.SelectionLength(), loop.SelectionLength());
    replaced += loopCount;
  }
  EXPECT_GT(replaced, 2000);  // the cases do replace, thousands of times
}

}  // namespace
}  // namespace quolvi
