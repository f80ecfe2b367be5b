#include "core/marked_rtf.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace quolvi {
namespace {

// Every placeholder and duplicate mark there is, among ordinary text.
cp932::MarkedText EveryMark() {
  cp932::MarkedText all = cp932::Decode("a\t{\\}\r\n\x87\x90\xEE\xF9\xFA\x54\r\x95\n");
  for (std::uint16_t value = 1; value <= cp932::kMaxMarkValue; ++value) {
    if (!cp932::MarkedCode(cp932::kPlaceholder, value)) continue;
    all.marks.push_back({all.text.size(), value});
    all.text += cp932::kPlaceholder;
    all.text += u"日\U0001F600";
  }
  return all;
}

TEST(MarkedRtfTest, MarksComeBackFromTheRtfTheyWereWrittenAs) {
  const cp932::MarkedText all = EveryMark();
  for (MarkColors colors : {MarkColors{0x000000, true, 0xFFFFFF}, MarkColors{0x123456, false, 0x00FF00}}) {
    std::string rtf = MarkedTextToRtf(all, colors);
    ASSERT_EQ(rtf.compare(0, 5, "{\\rtf"), 0);
    // Read with the other document's colours, the differences are no marks.
    EXPECT_EQ(MarksFromRtf(rtf, all.text, colors), all.marks);
  }
}

TEST(MarkedRtfTest, MarkedColoursDifferFromTheDocumentsByNoMoreThanThreeInEachComponent) {
  const MarkColors colors{0x808080, false, 0x202020};
  const std::string rtf = MarkedTextToRtf(EveryMark(), colors);
  int entries = 0;
  for (std::size_t at = rtf.find("\\red"); at != std::string::npos; at = rtf.find("\\red", at + 1), ++entries) {
    int components[3];
    ASSERT_EQ(
        std::sscanf(rtf.c_str() + at, "\\red%d\\green%d\\blue%d;", &components[0], &components[1], &components[2]), 3);
    std::uint32_t base = components[0] >= 0x60 ? colors.text : colors.back;
    for (int component = 0; component < 3; ++component) {
      EXPECT_LE(std::abs(components[component] - static_cast<int>((base >> (8 * component)) & 0xFF)), 3)
          << rtf.substr(at, 30);
    }
  }
  // Few enough for any control's colour table.
  EXPECT_GT(entries, 1);
  EXPECT_LT(entries, 100);
}

TEST(MarkedRtfTest, ReadsWhatTheControlWrites) {
  // As the control writes a text with a duplicate, a placeholder with a
  // colour and a background, a surrogate pair, a shaded character that
  // stands for no other bytes (no mark) and a final paragraph mark.
  const std::string written =
      "{\\rtf1\\ansi\\ansicpg932\\uc1\\deff0\\deflang1041\\deflangfe1041{\\fonttbl{\\f0\\fcharset128 "
      "\\'82\\'6c\\'82\\'72 \\'83\\'53\\'83\\'56\\'83\\'62\\'83\\'4e;}}\r\n"
      "{\\colortbl;\\red0\\green0\\blue1;\\red2\\green0\\blue1;\\red255\\green255\\blue254;}\r\n"
      "{\\*\\generator Wine Riched20 2.0;}\r\n"
      "\\pard\\sl-240\\slmult1 \\lang1041\\fs20\\f0 a\\{\\cf1 \\'fa\\'5c\\cf0 \\'81\\'e0\\par\r\n"
      "\\tab\\u-10179?\\u-8704?\\'b1\\highlight3\\cf2 \\u-3?\\highlight0\\cf1 e\\cf0\\par\r\n}";
  const std::u16string text = u"a{\u7E8A\u2252\r\n\t\U0001F600\uFF71\uFFFDe";
  const MarkColors colors{0x000000, true, 0xFFFFFF};
  // Without \uc a \u character stands for one byte, as with \uc1.
  std::string withoutUc = written;
  withoutUc.erase(withoutUc.find("\\uc1"), 4);
  for (const std::string& rtf : {written, withoutUc}) {
    std::vector<cp932::Mark> marks = MarksFromRtf(rtf, text, colors);
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0].unit, 2u);
    EXPECT_EQ(cp932::MarkedCode(text[2], marks[0].value), 0xED40);
    EXPECT_EQ(marks[1].unit, 10u);
    EXPECT_EQ(cp932::MarkedCode(text[10], marks[1].value), 0xE0);  // a lone lead byte
  }
}

}  // namespace
}  // namespace quolvi
