#include "core/line_breaks.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

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
  EXPECT_EQ(PieceEnd(text, 0, 1), 4u);
  EXPECT_EQ(PieceEnd(text, 10, 3), 13u);  // the rest, however short
  EXPECT_EQ(PieceEnd(std::u16string_view(u"日本\r\n語"), 0, 2), 4u);
}

}  // namespace
}  // namespace quolvi
