#include "core/pattern.h"

#include "core/cp932.h"
#include "core/hex_digit.h"
#include "core/line_breaks.h"

namespace quolvi {
namespace {

// What a backslash and the character after it stand for, or null when the
// pair is no escape.
const char* EscapedText(char c) {
  switch (c) {
    case '*': return "*";
    case '?': return "?";
    case '\\': return "\\";
    case 'n': return "\r\n";
    case 'r': return "\r";
    case 't': return "\t";
    default: return nullptr;
  }
}

}  // namespace

std::vector<std::string> SplitPattern(std::string_view pattern) {
  std::vector<std::string> tokens;
  std::string segment;
  bool afterBackslash = false;  // the character before is a lone backslash
  for (std::size_t i = 0; i < pattern.size();) {
    std::size_t length = cp932::CharLength(pattern, i);
    char c = pattern[i];
    if (length == 1 && (c == '*' || c == '?') && !afterBackslash) {
      if (!segment.empty()) tokens.push_back(std::move(segment));
      segment.clear();
      tokens.emplace_back(1, c);
    } else {
      segment.append(pattern, i, length);
    }
    // Only the one character before counts: the second backslash of "\\"
    // still escapes a wildcard after it.
    afterBackslash = length == 1 && c == '\\';
    i += length;
  }
  if (!segment.empty()) tokens.push_back(std::move(segment));
  while (!tokens.empty() && IsWildcard(tokens.back())) tokens.pop_back();
  return tokens;
}

std::string UnescapeText(std::string_view raw) {
  std::string out;
  const std::size_t n = raw.size();
  for (std::size_t p = 0; p < n;) {
    if (raw[p] != '\\') {
      std::size_t length = cp932::CharLength(raw, p);
      out.append(raw, p, length);
      p += length;
      continue;
    }
    if (p + 2 < n) {
      int high = HexDigitValue(raw[p + 1]);
      int low = HexDigitValue(raw[p + 2]);
      if (high >= 0 && low >= 0 && (high | low) != 0) {
        out.push_back(static_cast<char>(high * 16 + low));
        p += 3;
        continue;
      }
    }
    if (p + 1 < n) {
      if (const char* text = EscapedText(raw[p + 1])) {
        out += text;
        p += 2;
        continue;
      }
    }
    ++p;  // the backslash is dropped; what follows is taken as it is
  }
  return out;
}

std::string ReplacementText(std::string_view raw) { return NormalizeLineBreaks<char>(UnescapeText(raw)); }

}  // namespace quolvi
