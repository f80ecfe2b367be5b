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
  // half-width katakana 1, reserved lone byte 1, reserved pair 2,
  // surrogate pair 1 ("?"), Hangul 1 ("?")
  std::u16string text = u"\uFF71\uF780" + cp932::Decode("\x87\x90") + u"\U0001F600\uAC00x";
  EXPECT_EQ(ByteOffsetOfUnit(text, 2), 2u);
  EXPECT_EQ(ByteOffsetOfUnit(text, 3), 4u);
  EXPECT_EQ(ByteOffsetOfUnit(text, 4), 4u);  // between the halves of the pair
  EXPECT_EQ(ByteOffsetOfUnit(text, 5), 5u);
  EXPECT_EQ(ByteOffsetOfUnit(text, 7), 7u);
  EXPECT_EQ(UnitOfByteOffset(text, 5, Rounding::kDown), 5u);
  EXPECT_EQ(UnitOfByteOffset(text, 6, Rounding::kDown), 6u);
  EXPECT_EQ(cp932::Encode(text).size(), ByteOffsetOfUnit(text, text.size()));
}

TEST(PositionMapTest, MappingBackAndForthIsStableOnBoundaries) {
  std::u16string text = cp932::Decode("a表\x80\xFD\x95" "b\r\n\x85\x40ｱ");
  for (std::size_t unit = 0; unit <= text.size(); ++unit) {
    std::size_t offset = ByteOffsetOfUnit(text, unit);
    EXPECT_EQ(UnitOfByteOffset(text, offset, Rounding::kDown), unit);
    EXPECT_EQ(UnitOfByteOffset(text, offset, Rounding::kUp), unit);
  }
}

}  // namespace
}  // namespace quolvi
