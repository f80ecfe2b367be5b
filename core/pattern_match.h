// Matching a search pattern in a text: the one walk over the pattern's
// tokens that Find Next (core/matcher.h) and the one-pass replace all
// (core/replace_all.h) share.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/pattern.h"
#include "core/search_target.h"

namespace quolvi {

// A match of a pattern: [start, end) of the text.
struct PatternMatch {
  Position start = 0;
  Position end = 0;
};

// A match that begins or ends between the CR and the LF of a line break
// (a pattern such as "\r", "\0D" or "\0A" finds half of one) takes in the
// whole line break, since the editor cannot select half of it: a selection
// that cut it would shrink, and the next search would start where this one
// did. So a match is selected, and replaced, whole, and the next step always
// starts after it. text is the text the match lies in.
template <class Text>
void WidenOverLineBreaks(const Text& text, Position textLength, Position& start, Position& end) {
  auto splitsLineBreak = [&](Position p) { return p > 0 && p < textLength && text[p - 1] == '\r' && text[p] == '\n'; };
  if (splitsLineBreak(start)) --start;
  if (splitsLineBreak(end)) ++end;
}

// A search pattern (core/pattern.h) split into its tokens once, each literal
// unescaped, to be matched as often as needed.
class CompiledPattern {
 public:
  explicit CompiledPattern(std::string_view pattern) {
    for (const std::string& token : SplitPattern(pattern)) {
      if (token == "*") tokens_.push_back({Kind::kAnyRun, ""});
      else if (token == "?") tokens_.push_back({Kind::kOneOrMore, ""});
      else tokens_.push_back({Kind::kLiteral, UnescapeText(token)});
    }
  }

  // The earliest match that starts at or after from, widened over a line
  // break it cuts; none when from is at or after the end of the text. Each
  // literal is taken at its first occurrence at or after the scan position,
  // left to right with no backtracking; "*" places no constraint, "?" moves
  // the scan on by one byte (inside a double-byte character the search then
  // goes on from the next one). The match starts at the first literal when
  // the pattern starts with one, else at from. A pattern with no literal, or
  // whose last literal unescapes to nothing, matches nothing.
  //
  // text gives size(), the byte at a position (operator[]) and
  // Search(literal, at, matchCase): the first occurrence of literal that
  // starts at a character boundary at or after at, or -1.
  template <class Text>
  std::optional<PatternMatch> FindIn(const Text& text, Position from, bool matchCase) const;

 private:
  enum class Kind { kAnyRun, kOneOrMore, kLiteral };  // "*", "?", text
  struct Token {
    Kind kind;
    std::string literal;  // unescaped
  };
  std::vector<Token> tokens_;
};

template <class Text>
std::optional<PatternMatch> CompiledPattern::FindIn(const Text& text, Position from, bool matchCase) const {
  const Position size = text.size();
  if (from >= size) return std::nullopt;
  Position start = from;
  Position pos = from;
  bool matchedLiteral = false;
  for (std::size_t k = 0; k < tokens_.size(); ++k) {
    const Token& token = tokens_[k];
    if (token.kind == Kind::kAnyRun) continue;
    if (token.kind == Kind::kOneOrMore) {
      ++pos;
      continue;
    }
    // A last literal that unescapes to nothing ("\" or "*\") would make a
    // match of no length, which is never selected.
    const Position found = token.literal.empty() || pos >= size ? -1 : text.Search(token.literal, pos, matchCase);
    if (found < 0) return std::nullopt;
    if (k == 0) start = found;
    pos = found + static_cast<Position>(token.literal.size());
    matchedLiteral = true;
  }
  // A pattern of wildcards alone has nothing to find.
  if (!matchedLiteral) return std::nullopt;
  WidenOverLineBreaks(text, size, start, pos);
  return PatternMatch{start, pos};
}

}  // namespace quolvi
