#include "core/position_map.h"

namespace quolvi {
namespace {

// Walks the text character by character with the length each one encodes to.
class EncodedWalk {
 public:
  EncodedWalk(std::u16string_view text, const std::vector<cp932::Mark>& marks) : text_(text), marks_(marks) {}

  bool AtEnd() const { return unit_ >= text_.size(); }
  std::size_t Unit() const { return unit_; }
  // Bytes and units of the character at the current unit.
  std::size_t Length(std::size_t* units) {
    *units = 1;
    if (text_[unit_] < 0x80) return 1;
    while (mark_ < marks_.size() && marks_[mark_].unit < unit_) ++mark_;
    std::uint16_t value = mark_ < marks_.size() && marks_[mark_].unit == unit_ ? marks_[mark_].value : 0;
    return cp932::EncodedLength(text_, unit_, units, value);
  }
  void Advance(std::size_t units) { unit_ += units; }

 private:
  std::u16string_view text_;
  const std::vector<cp932::Mark>& marks_;
  std::size_t unit_ = 0;
  std::size_t mark_ = 0;
};

}  // namespace

std::size_t ByteOffsetOfUnit(std::u16string_view text, std::size_t unit, const std::vector<cp932::Mark>& marks) {
  std::size_t bytes = 0;
  for (EncodedWalk walk(text, marks); !walk.AtEnd() && walk.Unit() < unit;) {
    std::size_t units = 1;
    std::size_t length = walk.Length(&units);
    if (walk.Unit() + units > unit) break;  // between the halves of a surrogate pair
    bytes += length;
    walk.Advance(units);
  }
  return bytes;
}

std::size_t UnitOfByteOffset(std::u16string_view text, std::size_t offset, Rounding rounding,
                             const std::vector<cp932::Mark>& marks) {
  std::size_t bytes = 0;
  EncodedWalk walk(text, marks);
  while (!walk.AtEnd() && bytes < offset) {
    std::size_t units = 1;
    std::size_t length = walk.Length(&units);
    if (bytes + length > offset) return rounding == Rounding::kDown ? walk.Unit() : walk.Unit() + units;
    bytes += length;
    walk.Advance(units);
  }
  return walk.Unit();
}

}  // namespace quolvi
