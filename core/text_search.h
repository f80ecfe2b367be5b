// Forward search in Shift-JIS text, character by character.
#pragma once

#include <string_view>

namespace quolvi {

// Position of the first occurrence of pattern that starts at or after start
// and ends at or before start + length, or -1 when there is none (and for an
// empty pattern). An occurrence begins and ends on character boundaries, so
// a single-byte pattern never matches the second byte of a double-byte
// character. Without matchCase, the ASCII letters and the full-width Latin
// letters compare regardless of case, and nothing else does.
//
// Characters are counted from scanOrigin, which must be a character boundary
// at or before start (the text's start unless the caller knows a later one).
int FindInText(std::string_view text, std::string_view pattern, int start, int length, bool matchCase,
               int scanOrigin = 0);

}  // namespace quolvi
