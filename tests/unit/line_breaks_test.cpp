#include "core/line_breaks.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "core/cp932.h"

namespace quolvi {
namespace {

std::string Normalize(std::string_view s) { return NormalizeLineBreaks<char>(s); }

TEST(LineBreaksTest, EveryKindOfLineBreakBecomesCrLf) {
  EXPECT_EQ(Normalize("a\nb\rc\r\nd"), "a\r\nb\r\nc\r\nd");
  EXPECT_EQ(Normalize("end\r"), "end\r\n");
  EXPECT_EQ(Normalize("\n\n"), "\r\n\r\n");
  EXPECT_EQ(Normalize("\r\r\n\n\r"), "\r\n\r\n\r\n\r\n");
  EXPECT_EQ(Normalize("\n\r"), "\r\n\r\n");
  EXPECT_EQ(Normalize(""), "");
  EXPECT_EQ(Normalize("表\tソ"), "表\tソ");
}

TEST(LineBreaksTest, TheResultDoesNotDependOnHowTheInputIsDivided) {
  const std::string input = "a\r\nb\rc\nd\r\r\n\n\re表\r\n\r";
  const std::string expected = Normalize(input);
  for (std::size_t first = 0; first <= input.size(); ++first) {
    for (std::size_t second = first; second <= input.size(); ++second) {
      LineBreakNormalizer normalizer;
      std::string out;
      normalizer.Feed(std::string_view(input).substr(0, first), out);
      normalizer.Feed(std::string_view(input).substr(first, second - first), out);
      normalizer.Feed(std::string_view(input).substr(second), out);
      normalizer.Finish(out);
      ASSERT_EQ(out, expected) << "divided at " << first << " and " << second;
    }
  }
  LineBreakNormalizer normalizer;
  std::string out;
  for (char c : input) normalizer.Feed(std::string_view(&c, 1), out);
  normalizer.Finish(out);
  EXPECT_EQ(out, expected);
}

TEST(LineBreaksTest, WorksOnUtf16Too) { EXPECT_EQ(NormalizeLineBreaks<char16_t>(u"日\n本\r"), u"日\r\n本\r\n"); }

TEST(LineBreaksTest, PiecesEndAfterALineFeedAtLeastTheirSizeOn) {
  std::string_view text = "ab\r\n表\r\n\r\nxyz";
  std::vector<std::size_t> ends;
  for (std::size_t from = 0; from < text.size(); from = ends.back()) ends.push_back(PieceEnd(text, from, 3));
  EXPECT_EQ(ends, (std::vector<std::size_t>{4, 8, 13}));
  EXPECT_EQ(PieceEnd(text, 0, 2), 4u);
  EXPECT_EQ(PieceEnd(text, 10, 3), 13u);  // the rest, however short
  EXPECT_EQ(PieceEnd(std::u16string_view(u"日本\r\n語"), 0, 2), 4u);
}

// The ends of the pieces of text, each at least size units on.
template <class Char>
std::vector<std::size_t> PieceEnds(std::basic_string_view<Char> text, std::size_t size) {
  std::vector<std::size_t> ends;
  for (std::size_t from = 0; from < text.size(); from = ends.back()) ends.push_back(PieceEnd(text, from, size));
  return ends;
}

TEST(LineBreaksTest, ALongLineIsCutOnceAtACharacterBoundary) {
  // A piece that would run more than twice its size into a line that starts
  // in it ends before the line, or inside it, its size on; the rest of the
  // line goes in whole; a line that is not long goes in whole.
  std::string text = "ab\r\n" + std::string(100, 'c') + "\r\n" + std::string(50, 'd') + "\r\nef\r\n";
  EXPECT_EQ(PieceEnds(std::string_view(text), 10), (std::vector<std::size_t>{4, 14, 106, 116, 158, 162}));
  EXPECT_EQ(PieceEnds(std::string_view("abcdef\r\nij"), 4), (std::vector<std::size_t>{8, 10}));

  // Never inside a double-byte character: whichever byte the cut would fall
  // on, the piece ends before the character.
  for (std::string lead : {"", "a", "ab"}) {
    std::string japanese = lead;
    for (int i = 0; i < 300; ++i) japanese += i % 7 ? "表" : "ｱ";
    std::size_t from = 0;
    for (std::size_t end : PieceEnds(std::string_view(japanese), 15)) {
      EXPECT_EQ(cp932::Decode(japanese.substr(from, end - from)).marks.size(), 0u) << lead.size() << " " << end;
      from = end;
    }
  }
  // Never inside a surrogate pair, nor between a CR and its LF.
  std::u16string pairs = u"a";
  for (int i = 0; i < 40; ++i) pairs += u"\U00020B9F";
  for (std::size_t end : PieceEnds(std::u16string_view(pairs), 4)) {
    EXPECT_FALSE(end < pairs.size() && pairs[end] >= 0xDC00 && pairs[end] <= 0xDFFF) << end;
  }
  EXPECT_EQ(CharBoundaryBefore(std::string_view("ab\r\ncd"), 0, 3), 2u);
  EXPECT_EQ(CharBoundaryBefore(std::u16string_view(u"ab\r\ncd"), 0, 3), 2u);
  EXPECT_EQ(CharBoundaryBefore(std::string_view("a\x95\x5c"), 0, 2), 1u);
}

}  // namespace
}  // namespace quolvi
