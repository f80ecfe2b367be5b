#include "core/position_map.h"

#include <algorithm>
#include <utility>

namespace quolvi {
namespace {

// Walks the text character by character with the length each one encodes
// to, from a character's start.
class EncodedWalk {
 public:
  EncodedWalk(std::u16string_view text, const std::vector<cp932::Mark>& marks, std::size_t unit = 0,
              std::size_t byte = 0, std::size_t mark = 0)
      : text_(text), marks_(marks), unit_(unit), byte_(byte), mark_(mark) {}

  bool AtEnd() const { return unit_ >= text_.size(); }
  std::size_t Unit() const { return unit_; }
  std::size_t Byte() const { return byte_; }
  std::size_t Mark() const { return mark_; }
  // Bytes and units of the character at the current unit.
  std::size_t Length(std::size_t* units) {
    *units = 1;
    if (text_[unit_] < 0x80) return 1;
    while (mark_ < marks_.size() && marks_[mark_].unit < unit_) ++mark_;
    std::uint16_t value = mark_ < marks_.size() && marks_[mark_].unit == unit_ ? marks_[mark_].value : 0;
    return cp932::EncodedLength(text_, unit_, units, value);
  }
  void Advance(std::size_t units, std::size_t bytes) {
    unit_ += units;
    byte_ += bytes;
  }

  // Walks on to the byte offset of unit.
  std::size_t ToUnit(std::size_t unit) {
    while (!AtEnd() && unit_ < unit) {
      std::size_t units = 1;
      std::size_t length = Length(&units);
      if (unit_ + units > unit) break;  // between the halves of a surrogate pair
      Advance(units, length);
    }
    return byte_;
  }

  // Walks on to the unit of the byte offset.
  std::size_t ToByte(std::size_t offset, Rounding rounding) {
    while (!AtEnd() && byte_ < offset) {
      std::size_t units = 1;
      std::size_t length = Length(&units);
      if (byte_ + length > offset) return rounding == Rounding::kDown ? unit_ : unit_ + units;
      Advance(units, length);
    }
    return unit_;
  }

 private:
  std::u16string_view text_;
  const std::vector<cp932::Mark>& marks_;
  std::size_t unit_;
  std::size_t byte_;
  std::size_t mark_;
};

}  // namespace

std::size_t ByteOffsetOfUnit(std::u16string_view text, std::size_t unit, const std::vector<cp932::Mark>& marks) {
  return EncodedWalk(text, marks).ToUnit(unit);
}

std::size_t UnitOfByteOffset(std::u16string_view text, std::size_t offset, Rounding rounding,
                             const std::vector<cp932::Mark>& marks) {
  return EncodedWalk(text, marks).ToByte(offset, rounding);
}

IndexedText::IndexedText(cp932::MarkedText content) : content_(std::move(content)) {
  // The stops are taken while the text is encoded, in one pass.
  bytes_.reserve(content_.text.size() * 2);
  cp932::EncodeInto(content_.text, content_.marks, bytes_, [this](std::size_t unit, std::size_t mark) {
    if (unit - stops_.back().unit >= kStride) stops_.push_back({unit, bytes_.size(), mark});
  });
}

std::size_t IndexedText::ByteOffsetOfUnit(std::size_t unit) const {
  auto stop =
      std::upper_bound(stops_.begin(), stops_.end(), unit, [](std::size_t u, const Stop& s) { return u < s.unit; }) - 1;
  return EncodedWalk(content_.text, content_.marks, stop->unit, stop->byte, stop->mark).ToUnit(unit);
}

std::size_t IndexedText::UnitOfByteOffset(std::size_t offset, Rounding rounding) const {
  auto stop =
      std::upper_bound(stops_.begin(), stops_.end(), offset, [](std::size_t b, const Stop& s) { return b < s.byte; }) -
      1;
  return EncodedWalk(content_.text, content_.marks, stop->unit, stop->byte, stop->mark).ToByte(offset, rounding);
}

}  // namespace quolvi
