// Mapping between positions in the editor control, which counts UTF-16 units,
// and positions in the document, which count Shift-JIS bytes.
//
// Each unit of the control's text stands for the bytes that cp932::Encode
// gives it with its mark: one or two, or one "?" for the two units of a
// surrogate pair.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/cp932.h"

namespace quolvi {

// Byte offset of the unit index `unit` of text. An index past the end maps to
// the end; an index between the two units of a surrogate pair maps to the
// start of that pair's byte.
std::size_t ByteOffsetOfUnit(std::u16string_view text, std::size_t unit, const std::vector<cp932::Mark>& marks = {});

// Which way a byte offset that falls inside a double-byte character moves.
enum class Rounding { kDown, kUp };

// Unit index of the byte offset `offset` of text's encoding. An offset past
// the end maps to the end; an offset inside a double-byte character moves to
// that character's start (kDown) or past it (kUp).
std::size_t UnitOfByteOffset(std::u16string_view text, std::size_t offset, Rounding rounding,
                             const std::vector<cp932::Mark>& marks = {});

// A text of the control together with its encoding, for many questions
// about the same text: made in two passes over it, after which each mapping
// walks at most kStride units, however long the text. Answers as the
// functions above do.
class IndexedText {
 public:
  static constexpr std::size_t kStride = 256;

  IndexedText() = default;
  explicit IndexedText(cp932::MarkedText content);

  const cp932::MarkedText& Content() const { return content_; }
  const std::string& Bytes() const { return bytes_; }
  std::size_t ByteOffsetOfUnit(std::size_t unit) const;
  std::size_t UnitOfByteOffset(std::size_t offset, Rounding rounding) const;

 private:
  // Where a character starts: its unit, its byte offset and the index of
  // the first mark at or after it.
  struct Stop {
    std::size_t unit = 0;
    std::size_t byte = 0;
    std::size_t mark = 0;
  };

  cp932::MarkedText content_;
  std::string bytes_;
  std::vector<Stop> stops_{Stop{}};  // the first at 0, then one at most kStride units after the one before
};

}  // namespace quolvi
