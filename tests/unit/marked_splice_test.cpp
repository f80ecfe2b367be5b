#include "core/marked_splice.h"

#include <gtest/gtest.h>

#include "core/position_map.h"

namespace quolvi::cp932 {
namespace {

// Every stretch between two characters of a text with marks of every kind,
// replaced by a text with marks of its own (or by nothing), encodes to the
// bytes around the stretch with the inserted bytes between them.
TEST(MarkedSpliceTest, EveryStretchReplacedKeepsEveryByteAroundIt) {
  const std::string bytes = "a\x80\x87\x90\r\n\xED\x40\xB1\x85\x40z\xFF";
  const MarkedText text = Decode(bytes);
  ASSERT_GE(text.marks.size(), 4u);
  for (const std::string& inserted : {std::string(), std::string("\xA0x\xFA\x5C\x81")}) {
    const MarkedText insertedText = Decode(inserted);
    for (std::size_t from = 0; from <= text.text.size(); ++from) {
      for (std::size_t to = from; to <= text.text.size(); ++to) {
        const std::size_t fromByte = ByteOffsetOfUnit(text.text, from, text.marks);
        const std::size_t toByte = ByteOffsetOfUnit(text.text, to, text.marks);
        const MarkedText spliced = Splice(text, from, to, insertedText);
        EXPECT_EQ(Encode(spliced.text, spliced.marks), bytes.substr(0, fromByte) + inserted + bytes.substr(toByte))
            << from << ".." << to;
      }
    }
  }
}

TEST(MarkedSpliceTest, AStretchPastTheEndIsCutAtTheEnd) {
  const MarkedText text = Decode("ab\x80");
  const MarkedText spliced = Splice(text, 1, 99, Decode("\x80"));
  EXPECT_EQ(Encode(spliced.text, spliced.marks), "a\x80");
  EXPECT_EQ(Encode(Splice(text, 50, 60, Decode("c")).text), "ab?c");
}

}  // namespace
}  // namespace quolvi::cp932
