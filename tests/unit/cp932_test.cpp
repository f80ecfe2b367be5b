#include "core/cp932.h"

#include <gtest/gtest.h>

#include <random>
#include <string_view>

namespace quolvi::cp932 {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

std::string RoundTrip(std::string_view bytes) {
  MarkedText decoded = Decode(bytes);
  return Encode(decoded.text, decoded.marks);
}

TEST(Cp932Test, EverySingleByteAndEveryBytePairSurvivesTheTripThroughUtf16) {
  for (int a = 1; a < 0x100; ++a) {
    std::string one = Bytes({a});
    ASSERT_EQ(RoundTrip(one), one) << "byte " << a;
    for (int b = 1; b < 0x100; ++b) {
      std::string two = Bytes({a, b});
      ASSERT_EQ(RoundTrip(two), two) << "bytes " << a << " " << b;
    }
  }
}

TEST(Cp932Test, RandomByteStringsSurviveTheTrip) {
  std::mt19937 random(932);
  std::uniform_int_distribution<int> byte(1, 255);
  for (int round = 0; round < 2000; ++round) {
    std::string s(round % 64, '\0');
    for (char& c : s) c = static_cast<char>(byte(random));
    ASSERT_EQ(RoundTrip(s), s);
  }
}

TEST(Cp932Test, DecodesTheSystemsCharacters) {
  EXPECT_EQ(Decode("日本").text, u"日本");
  EXPECT_EQ(Decode("\\~").text, u"\\~");
  EXPECT_EQ(Decode(Bytes({0xB1, 0xDF})).text, u"\uFF71\uFF9F");  // half-width katakana
  EXPECT_EQ(Decode(Bytes({0x81, 0xE0})).text, u"\u2252");
  EXPECT_EQ(Decode(Bytes({0xF0, 0x40})).text, u"\uE000");  // user-defined area
  EXPECT_TRUE(Decode(Bytes({0x95, 0x5C, 0x81, 0xE0, 0xF0, 0x40})).marks.empty());
}

TEST(Cp932Test, DuplicatesAreTheSystemsCharactersMarkedWithTheirCode) {
  // 0x8790 is the NEC duplicate of 0x81E0, 0xED40 the NEC-selected one of
  // 0xFA5C; both show as the system's character and keep their code.
  MarkedText nec = Decode(Bytes({0x87, 0x90, 0xED, 0x40}));
  EXPECT_EQ(nec.text, u"\u2252\u7E8A");
  EXPECT_EQ(nec.marks.size(), 2u);
  EXPECT_EQ(Encode(nec.text), Bytes({0x81, 0xE0, 0xFA, 0x5C}));  // the system's codes
  EXPECT_EQ(Encode(nec.text, nec.marks), Bytes({0x87, 0x90, 0xED, 0x40}));
  // Two codes that duplicate one character get marks of their own.
  MarkedText not1 = Decode(Bytes({0xEE, 0xF9}));
  MarkedText not2 = Decode(Bytes({0xFA, 0x54}));
  EXPECT_EQ(not1.text, not2.text);
  EXPECT_NE(not1.marks, not2.marks);
  EXPECT_EQ(MarkedCode(not1.text[0], not1.marks[0].value), 0xEEF9);
  EXPECT_EQ(MarkedCode(not2.text[0], not2.marks[0].value), 0xFA54);
}

TEST(Cp932Test, BytesThatAreNoCharacterArePlaceholdersMarkedWithTheirBytes) {
  MarkedText stray = Decode(Bytes({0x80, 0xA0, 0xFD, 0xFF, 'a', 0x95, 0x0D, 0x0A, 0x85, 0x40, 0x95}));
  // A lead byte before CR or at the end stands alone; an unassigned code is
  // one placeholder, so that its second byte is never taken for the ASCII
  // character it equals.
  EXPECT_EQ(stray.text, u"\uFFFD\uFFFD\uFFFD\uFFFDa\uFFFD\r\n\uFFFD\uFFFD");
  EXPECT_EQ(stray.marks.size(), 7u);
  EXPECT_EQ(MarkedCode(kPlaceholder, stray.marks[4].value), 0x95);
  EXPECT_EQ(MarkedCode(kPlaceholder, stray.marks[5].value), 0x8540);
}

TEST(Cp932Test, OnlyAMarkThatBelongsToItsCharacterCounts) {
  // A mark on a character that has none, or a value its character has none of.
  EXPECT_EQ(Encode(u"a\u7E8A", {{0, 1}, {1, 200}}), Bytes({'a', 0xFA, 0x5C}));
  EXPECT_EQ(Encode(u"\u2252", {{0, 2}}), Bytes({0x81, 0xE0}));
  EXPECT_EQ(Encode(u"\uFFFD", {{0, kMaxMarkValue}}), "?");
}

TEST(Cp932Test, CharactersWithoutAMarkNeverBecomeStrayBytes) {
  // The system writes U+0080 and U+F8F0-U+F8F3 as the bytes 0x80, 0xA0 and
  // 0xFD-0xFF; the private-use characters the codec once reserved and the
  // placeholder have no code at all.
  EXPECT_EQ(Encode(u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3\uE800\uF780\uF7FF\uFFFD"), "?????????");
}

TEST(Cp932Test, EncodesForeignCharactersAsTheSystemDoes) {
  EXPECT_EQ(Encode(u"\u00A5"), "\\");                            // best fit
  EXPECT_EQ(Encode(u"\uAC00"), "?");                             // Hangul: not in code page 932
  EXPECT_EQ(Encode(u"a\U0001F600b"), "a?b");                     // a surrogate pair is one "?"
  EXPECT_EQ(Encode(u"\U00010000\U0010FFFF"), "??");              // also the first and the last pair
  EXPECT_EQ(Encode(std::u16string(1, u'\xD800') + u"x"), "?x");  // a lone surrogate
}

TEST(Cp932Test, FindsTheCharactersASaveWouldWriteAsQuestionMarks) {
  // Marked duplicates and stray bytes keep their bytes, and the yen sign is
  // 0x5C: none of them counts. A best fit to another character does, and a
  // surrogate pair is one.
  MarkedText kept = Decode(Bytes({'?', 0x87, 0x90, 0x80, 0x95, 0x5C}));
  kept.text += u"\u00A5\r\n";
  const Unwritable none = FindUnwritable(kept.text, kept.marks);
  EXPECT_EQ(none.count, 0u);
  EXPECT_EQ(none.firstLine, 0u);
  MarkedText lost = kept;
  lost.text += u"a\r\n\U00020BB7\uAC00\U0001F600\uFFFD\u00E9";
  const Unwritable found = FindUnwritable(lost.text, lost.marks);
  EXPECT_EQ(found.count, 5u);
  EXPECT_EQ(found.first, U'\U00020BB7');
  EXPECT_EQ(found.firstLine, 3u);
  EXPECT_EQ(Encode(lost.text, lost.marks).substr(Encode(kept.text, kept.marks).size()), "a\r\n????e");
}

TEST(Cp932Test, EncodedLengthAgreesWithEncode) {
  MarkedText text = Decode(Bytes({'a', 0x87, 0x90, 0x80, 0x85, 0x40, 0x95, 0x5C}));
  text.text += u"\uFF71\U0001F600\uFFFD\uAC00\r\n";
  std::size_t total = 0;
  auto mark = text.marks.begin();
  for (std::size_t i = 0; i < text.text.size();) {
    std::size_t units = 0;
    std::uint16_t value = mark != text.marks.end() && mark->unit == i ? (mark++)->value : 0;
    total += EncodedLength(text.text, i, &units, value);
    i += units;
  }
  EXPECT_EQ(total, Encode(text.text, text.marks).size());
}

TEST(Cp932Test, TellsWhenTheSystemsConversionWouldDecodeAlike) {
  EXPECT_TRUE(SystemDecodesAlike("日本語 text ｱｲｳ\r\n表"));
  EXPECT_TRUE(SystemDecodesAlike(Bytes({0xF0, 0x40})));        // user-defined area
  EXPECT_FALSE(SystemDecodesAlike(Bytes({'a', 0x87, 0x90})));  // an extension duplicate
  EXPECT_FALSE(SystemDecodesAlike(Bytes({0x85, 0x40})));       // unassigned
  EXPECT_FALSE(SystemDecodesAlike(Bytes({'a', 0x80})));        // a byte on its own
  EXPECT_FALSE(SystemDecodesAlike(Bytes({'a', 0x95})));        // a lead byte at the end
}

TEST(Cp932Test, CharLengthFollowsLeadAndTrailBytes) {
  EXPECT_EQ(CharLength("表x", 0), 2u);
  EXPECT_EQ(CharLength(Bytes({0x95}), 0), 1u);        // lead byte at the end
  EXPECT_EQ(CharLength(Bytes({0x95, 0x7F}), 0), 1u);  // 0x7F is no trail byte
  EXPECT_EQ(CharLength(Bytes({0xA0, 0x40}), 0), 1u);  // 0xA0 is no lead byte
}

}  // namespace
}  // namespace quolvi::cp932
