#include "core/text_search.h"

#include <algorithm>
#include <cstddef>

#include "core/cp932.h"

namespace quolvi {
namespace {

// A character as a number: its byte, or lead << 8 | trail.
unsigned CharAt(std::string_view text, std::size_t i, std::size_t length) {
  unsigned first = static_cast<unsigned char>(text[i]);
  return length == 1 ? first : (first << 8) | static_cast<unsigned char>(text[i + 1]);
}

unsigned FoldCase(unsigned c) {
  if (c >= 'A' && c <= 'Z') return c + ('a' - 'A');
  if (c >= 0x8260 && c <= 0x8279) return c + (0x8281 - 0x8260);  // full-width A-Z
  return c;
}

// Whether pattern occurs in text at the character boundary `at`, ending at or
// before `limit`.
bool MatchesAt(std::string_view text, std::size_t at, std::size_t limit, std::string_view pattern, bool matchCase) {
  std::size_t t = at;
  for (std::size_t p = 0; p < pattern.size();) {
    if (t >= limit) return false;
    std::size_t patternLength = cp932::CharLength(pattern, p);
    std::size_t textLength = cp932::CharLength(text, t);
    if (patternLength != textLength || t + textLength > limit) return false;
    unsigned a = CharAt(pattern, p, patternLength);
    unsigned b = CharAt(text, t, textLength);
    if (a != b && (matchCase || FoldCase(a) != FoldCase(b))) return false;
    p += patternLength;
    t += textLength;
  }
  return true;
}

}  // namespace

int FindInText(std::string_view text, std::string_view pattern, int start, int length, bool matchCase, int scanOrigin) {
  if (pattern.empty() || start < 0 || length < 0 || scanOrigin < 0) return -1;
  std::size_t from = static_cast<std::size_t>(start);
  std::size_t limit = std::min(text.size(), from + static_cast<std::size_t>(length));
  if (from >= limit) return -1;
  unsigned char first = static_cast<unsigned char>(pattern[0]);
  bool firstIsLetter = (first | 0x20) >= 'a' && (first | 0x20) <= 'z';
  for (std::size_t i = static_cast<std::size_t>(scanOrigin); i + pattern.size() <= limit;
       i += cp932::CharLength(text, i)) {
    if (i < from) continue;
    unsigned char b = static_cast<unsigned char>(text[i]);
    // Cheap rejection on the first byte before comparing characters. (The
    // two cases of a full-width letter share their first byte.)
    if (b != first && (matchCase || !firstIsLetter || (b | 0x20) != (first | 0x20))) continue;
    if (MatchesAt(text, i, limit, pattern, matchCase)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace quolvi
