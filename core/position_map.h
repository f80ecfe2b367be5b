// Mapping between positions in the editor control, which counts UTF-16 units,
// and positions in the document, which count Shift-JIS bytes.
//
// Each unit of the control's text stands for the bytes that cp932::Encode
// gives it with its mark: one or two, or one "?" for the two units of a
// surrogate pair.
#pragma once

#include <cstddef>
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

}  // namespace quolvi
