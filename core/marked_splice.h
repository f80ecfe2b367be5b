// Replacing a stretch of a text that carries marks.
#pragma once

#include <cstddef>

#include "core/cp932.h"

namespace quolvi::cp932 {

// The text with its units [from, to) replaced by inserted: the marks before
// the stretch stay, those inside it go, the inserted text brings its own and
// those after it move with their characters. from and to are clamped to the
// text.
MarkedText Splice(const MarkedText& text, std::size_t from, std::size_t to, const MarkedText& inserted);

}  // namespace quolvi::cp932
