#include "core/cp932.h"

#include <gtest/gtest.h>

#include <random>

#include "core/cp932_tables.h"

namespace quolvi::cp932 {
namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(static_cast<char>(v));
  return s;
}

TEST(Cp932Test, EverySingleByteAndEveryBytePairSurvivesTheTripThroughUtf16) {
  for (int a = 1; a < 0x100; ++a) {
    std::string one = Bytes({a});
    ASSERT_EQ(Encode(Decode(one)), one) << "byte " << a;
    for (int b = 1; b < 0x100; ++b) {
      std::string two = Bytes({a, b});
      ASSERT_EQ(Encode(Decode(two)), two) << "bytes " << a << " " << b;
    }
  }
}

TEST(Cp932Test, RandomByteStringsSurviveTheTrip) {
  std::mt19937 random(932);
  std::uniform_int_distribution<int> byte(1, 255);
  for (int round = 0; round < 2000; ++round) {
    std::string s(round % 64, '\0');
    for (char& c : s) c = static_cast<char>(byte(random));
    ASSERT_EQ(Encode(Decode(s)), s);
  }
}

TEST(Cp932Test, DecodesTheSystemsCharacters) {
  EXPECT_EQ(Decode("日本"), u"日本");
  EXPECT_EQ(Decode("\\~"), u"\\~");
  EXPECT_EQ(Decode(Bytes({0xB1, 0xDF})), u"\uFF71\uFF9F");  // half-width katakana
  EXPECT_EQ(Decode(Bytes({0x81, 0xE0})), u"\u2252");
  EXPECT_EQ(Decode(Bytes({0xF0, 0x40})), u"\uE000");        // user-defined area
  EXPECT_EQ(Decode(Bytes({0x95, 0x5C})), u"表");
}

TEST(Cp932Test, CodesTheSystemCannotCarryGetReservedCharacters) {
  // 0x8790 is a duplicate of 0x81E0; both must keep their identity.
  std::u16string duplicate = Decode(Bytes({0x87, 0x90}));
  ASSERT_EQ(duplicate.size(), 1u);
  EXPECT_GE(duplicate[0], kReservedPairBase);
  EXPECT_NE(duplicate, Decode(Bytes({0x81, 0xE0})));
  // An unassigned code is one character too, so that its second byte is
  // never taken for the ASCII character it equals.
  EXPECT_EQ(Decode(Bytes({0x85, 0x40})).size(), 1u);
  // Bytes that are no character of code page 932 stand on their own.
  EXPECT_EQ(Decode(Bytes({0x80, 0xA0, 0xFD, 0xFF})), u"\uF780\uF7A0\uF7FD\uF7FF");
  EXPECT_EQ(Decode(Bytes({'a', 0x95})), u"a\uF795");             // lead byte at the end
  EXPECT_EQ(Decode(Bytes({0x95, 0x0D, 0x0A})), u"\uF795\r\n");   // lead byte before CR
}

TEST(Cp932Test, ReservedCharactersAreNoneOfTheSystemsOwn) {
  auto reserved = [](unsigned c) {
    return (c >= kReservedPairBase && c < kReservedPairBase + 0x900) ||
           (c >= kLoneByteBase + 0x80u && c <= kLoneByteBase + 0xFFu);
  };
  for (const auto& row : kDoubleByteChars) {
    for (std::uint16_t c : row) EXPECT_FALSE(reserved(c)) << std::hex << c;
  }
  for (int i = 0; i < kBestFitCount; ++i) EXPECT_FALSE(reserved(kBestFit[i].unicode)) << std::hex << kBestFit[i].unicode;
}

TEST(Cp932Test, EncodesForeignCharactersAsTheSystemDoes) {
  EXPECT_EQ(Encode(u"\u00A5"), "\\");                     // best fit
  EXPECT_EQ(Encode(u"\uAC00"), "?");                      // Hangul: not in code page 932
  EXPECT_EQ(Encode(u"a\U0001F600b"), "a?b");              // a surrogate pair is one "?"
  EXPECT_EQ(Encode(std::u16string(1, u'\xD800') + u"x"), "?x");  // a lone surrogate
}

TEST(Cp932Test, EncodedLengthAgreesWithEncode) {
  std::u16string text = u"a日\uFF71\U0001F600\uF780" + Decode(Bytes({0x87, 0x90})) + u"\uAC00\r\n";
  std::size_t total = 0;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t units = 0;
    total += EncodedLength(text, i, &units);
    i += units;
  }
  EXPECT_EQ(total, Encode(text).size());
}

TEST(Cp932Test, TellsWhenTheSystemsConversionWouldDecodeAlike) {
  EXPECT_TRUE(SystemDecodesAlike("日本語 text ｱｲｳ\r\n表"));
  EXPECT_TRUE(SystemDecodesAlike(Bytes({0xF0, 0x40})));         // user-defined area
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
