#include "core/position_map.h"

#include "core/cp932.h"

namespace quolvi {

std::size_t ByteOffsetOfUnit(std::u16string_view text, std::size_t unit) {
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < text.size() && i < unit;) {
    std::size_t units = 1;
    std::size_t length = text[i] < 0x80 ? 1 : cp932::EncodedLength(text, i, &units);
    if (i + units > unit) break;  // between the halves of a surrogate pair
    bytes += length;
    i += units;
  }
  return bytes;
}

std::size_t UnitOfByteOffset(std::u16string_view text, std::size_t offset, Rounding rounding) {
  std::size_t bytes = 0;
  std::size_t i = 0;
  while (i < text.size() && bytes < offset) {
    std::size_t units = 1;
    std::size_t length = text[i] < 0x80 ? 1 : cp932::EncodedLength(text, i, &units);
    if (bytes + length > offset) return rounding == Rounding::kDown ? i : i + units;
    bytes += length;
    i += units;
  }
  return i;
}

}  // namespace quolvi
