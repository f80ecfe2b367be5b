// One step of a search or of a replacement on the document in the editor.
#pragma once

#include <cstdint>
#include <string>

#include "editor/editor.h"

namespace quolvi {

// The search state the find and replace commands fill before each step.
struct SearchFields {
  std::string FindPattern;     // raw, wildcards and escapes unresolved
  std::string ReplacePattern;  // raw, escapes unresolved
  std::uint16_t FindOptions = 0;
};

// Bits of FindOptions.
inline constexpr std::uint16_t kOptionMatchCase = 1 << 5;
inline constexpr std::uint16_t kOptionReplace = 1 << 9;
inline constexpr std::uint16_t kOptionReplaceAll = 1 << 10;

// Searches forward from the end of the selection for the next match of
// FindPattern and selects it. Returns -1 when there was nothing to search
// (no pattern, an empty document, the selection ending at the end), -2 when
// nothing matches, else the position just after the match.
int FindNextMatch(Editor& editor, const SearchFields& fields);

// Replaces the selection with the unescaped ReplacePattern and leaves the
// caret after it. Returns -1 when nothing is selected or the document is
// empty, else the caret position.
int ReplaceSelection(Editor& editor, const SearchFields& fields);

}  // namespace quolvi
