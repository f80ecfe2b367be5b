#include "core/position_map.h"

#include <gtest/gtest.h>

#include "core/cp932.h"

namespace quolvi {
namespace {

TEST(PositionMapTest, UnitsMapToByteOffsets) {
  std::u16string text = u"日本\r\nabc";
  EXPECT_EQ(ByteOffsetOfUnit(text, 0), 0u);
  EXPECT_EQ(ByteOffsetOfUnit(text, 1), 2u);
  EXPECT_EQ(ByteOffsetOfUnit(text, 4), 6u);  // where the control finds "abc"
  EXPECT_EQ(ByteOffsetOfUnit(text, 7), 9u);
  EXPECT_EQ(ByteOffsetOfUnit(text, 11), 9u);  // past the end
}

TEST(PositionMapTest, ByteOffsetsMapToUnitsAndRoundInsideACharacter) {
  std::u16string text = u"日本\r\nabc";
  EXPECT_EQ(UnitOfByteOffset(text, 6, Rounding::kDown), 4u);
  EXPECT_EQ(UnitOfByteOffset(text, 1, Rounding::kDown), 0u);
  EXPECT_EQ(UnitOfByteOffset(text, 1, Rounding::kUp), 1u);
  EXPECT_EQ(UnitOfByteOffset(text, 3, Rounding::kUp), 2u);
  EXPECT_EQ(UnitOfByteOffset(text, 100, Rounding::kDown), 7u);
}

TEST(PositionMapTest, EveryKindOfCharacterCountsItsEncodedBytes) {
  // half-width katakana 1, lone byte 1, duplicate 2, unassigned code 2,
  // surrogate pair 1 ("?"), Hangul 1 ("?"), an unmarked placeholder 1 ("?")
  cp932::MarkedText text = cp932::Decode("\xB1\x80\x87\x90\x85\x40");
  text.text += u"\U0001F600\uAC00\uFFFDx";
  const auto& marks = text.marks;
  EXPECT_EQ(ByteOffsetOfUnit(text.text, 2, marks), 2u);
  EXPECT_EQ(ByteOffsetOfUnit(text.text, 3, marks), 4u);
  EXPECT_EQ(ByteOffsetOfUnit(text.text, 4, marks), 6u);
  EXPECT_EQ(ByteOffsetOfUnit(text.text, 5, marks), 6u);  // between the halves of the pair
  EXPECT_EQ(ByteOffsetOfUnit(text.text, 6, marks), 7u);
  EXPECT_EQ(ByteOffsetOfUnit(text.text, 9, marks), 10u);
  EXPECT_EQ(ByteOffsetOfUnit(text.text, 4), 5u);  // without its mark the placeholder is one "?"
  EXPECT_EQ(UnitOfByteOffset(text.text, 5, Rounding::kDown, marks), 3u);
  EXPECT_EQ(UnitOfByteOffset(text.text, 5, Rounding::kUp, marks), 4u);
  EXPECT_EQ(UnitOfByteOffset(text.text, 7, Rounding::kDown, marks), 6u);
  EXPECT_EQ(cp932::Encode(text.text, marks).size(), ByteOffsetOfUnit(text.text, text.text.size(), marks));
}

TEST(PositionMapTest, MappingBackAndForthIsStableOnBoundaries) {
  cp932::MarkedText text = cp932::Decode(
      "a表\x80\xFD\x95"
      "b\r\n\x85\x40ｱ");
  for (std::size_t unit = 0; unit <= text.text.size(); ++unit) {
    std::size_t offset = ByteOffsetOfUnit(text.text, unit, text.marks);
    EXPECT_EQ(UnitOfByteOffset(text.text, offset, Rounding::kDown, text.marks), unit);
    EXPECT_EQ(UnitOfByteOffset(text.text, offset, Rounding::kUp, text.marks), unit);
  }
}

TEST(PositionMapTest, AnIndexedTextAnswersAsTheWalkOverTheWholeTextDoes) {
  // Long enough for many stops, with every kind of character, marks and
  // surrogate pairs falling on and around the stops.
  cp932::MarkedText text;
  for (int i = 0; i < 400; ++i) {
    cp932::MarkedText piece = cp932::Decode(i % 7 == 0 ? "\x87\x90\x80" : (i % 3 ? "表ｱa" : "\r\n\x85\x40"));
    for (const cp932::Mark& mark : piece.marks) text.marks.push_back({mark.unit + text.text.size(), mark.value});
    text.text += piece.text;
    if (i % 50 == 0) text.text += u"\U0001F600";
  }
  IndexedText indexed(text);
  ASSERT_EQ(indexed.Bytes(), cp932::Encode(text.text, text.marks));
  for (std::size_t unit = 0; unit <= text.text.size() + 1; ++unit) {
    ASSERT_EQ(indexed.ByteOffsetOfUnit(unit), ByteOffsetOfUnit(text.text, unit, text.marks)) << unit;
  }
  for (std::size_t offset = 0; offset <= indexed.Bytes().size() + 1; ++offset) {
    for (Rounding rounding : {Rounding::kDown, Rounding::kUp}) {
      ASSERT_EQ(indexed.UnitOfByteOffset(offset, rounding), UnitOfByteOffset(text.text, offset, rounding, text.marks))
          << offset;
    }
  }
  EXPECT_EQ(IndexedText().UnitOfByteOffset(3, Rounding::kUp), 0u);
}

}  // namespace
}  // namespace quolvi
