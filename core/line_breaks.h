// Line-break normalisation: every CR LF pair stays, and every lone CR and
// every lone LF becomes CR LF. Nothing else changes.
//
// The normaliser takes its input in pieces and gives the same result however
// the input is divided: a CR at the end of one piece waits for the first
// character of the next to tell whether it ends a pair. Works on Shift-JIS
// bytes (no trail byte of a double-byte character is ever CR or LF) and on
// UTF-16 units alike.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "core/cp932.h"

namespace quolvi {

template <class Char>
class BasicLineBreakNormalizer {
 public:
  // Appends the normalised form of piece to out.
  void Feed(std::basic_string_view<Char> piece, std::basic_string<Char>& out) {
    const Char* p = piece.data();
    const Char* end = p + piece.size();
    if (p != end && pendingCr_) {
      pendingCr_ = false;
      out.push_back(kCr);
      out.push_back(kLf);
      if (*p == kLf) ++p;
    }
    while (p != end) {
      // Copy the run up to the next CR or LF in one go.
      const Char* q = p;
      while (q != end && *q != kCr && *q != kLf) ++q;
      out.append(p, q);
      if (q == end) break;
      if (*q == kLf) {
        out.push_back(kCr);
        out.push_back(kLf);
        p = q + 1;
      } else if (q + 1 == end) {
        pendingCr_ = true;
        p = end;
      } else {
        out.push_back(kCr);
        out.push_back(kLf);
        p = q[1] == kLf ? q + 2 : q + 1;
      }
    }
  }

  // Ends the input: a CR left waiting becomes CR LF.
  void Finish(std::basic_string<Char>& out) {
    if (pendingCr_) {
      pendingCr_ = false;
      out.push_back(kCr);
      out.push_back(kLf);
    }
  }

 private:
  static constexpr Char kCr = 0x0D;
  static constexpr Char kLf = 0x0A;
  bool pendingCr_ = false;
};

using LineBreakNormalizer = BasicLineBreakNormalizer<char>;

template <class Char>
std::basic_string<Char> NormalizeLineBreaks(std::basic_string_view<Char> text) {
  std::basic_string<Char> out;
  out.reserve(text.size() + text.size() / 16);
  BasicLineBreakNormalizer<Char> normalizer;
  normalizer.Feed(text, out);
  normalizer.Finish(out);
  return out;
}

// Where a piece may end inside a line, at or before a place past from:
// never inside a double-byte character of Shift-JIS bytes, nor inside a
// surrogate pair of UTF-16, nor between the CR and the LF of a line break.
// from is a character's start.
inline std::size_t CharBoundaryBefore(std::string_view text, std::size_t from, std::size_t place) {
  std::size_t boundary = from;
  for (std::size_t next = from; next <= place && next < text.size(); next += cp932::CharLength(text, next)) {
    boundary = next;
  }
  if (place >= text.size()) boundary = text.size();
  if (boundary > from + 1 && boundary < text.size() && text[boundary - 1] == '\r' && text[boundary] == '\n') --boundary;
  return boundary;
}

inline std::size_t CharBoundaryBefore(std::u16string_view text, std::size_t from, std::size_t place) {
  std::size_t boundary = std::min(place, text.size());
  if (boundary > from + 1 && boundary < text.size()) {
    const char16_t before = text[boundary - 1];
    if ((before >= 0xD800 && before <= 0xDBFF && text[boundary] >= 0xDC00 && text[boundary] <= 0xDFFF) ||
        (before == u'\r' && text[boundary] == u'\n')) {
      --boundary;
    }
  }
  return boundary;
}

// Where the piece of text that starts at from ends, when a long text is
// handed on in pieces of at least size units: after the first LF that many
// units on, so never inside a line break or a double-byte character (no trail
// byte is ever LF), or at the end of the text.
//
// A long line is cut once. The control lays a whole line out anew each time
// it grows, so the pieces after its first take the rest of it whole; but where
// a piece would run more than twice its size into a line that starts in it,
// the piece ends before that line, or inside it at a character boundary
// (CharBoundaryBefore) size units on: the first screen of a text that starts
// with a long line is quick, and the line is laid out twice in all, the first
// time short.
template <class Char>
std::size_t PieceEnd(std::basic_string_view<Char> text, std::size_t from, std::size_t size) {
  using View = std::basic_string_view<Char>;
  if (text.size() - from <= size) return text.size();
  const std::size_t lineFeed = text.find(Char('\n'), from + size - 1);
  const std::size_t end = lineFeed == View::npos ? text.size() : lineFeed + 1;
  const bool insideLine = from > 0 && text[from - 1] != Char('\n');
  if (end - from <= 2 * size || insideLine) return end;
  const std::size_t lastLineFeed = text.rfind(Char('\n'), from + size - 1);
  if (lastLineFeed != View::npos && lastLineFeed >= from) return lastLineFeed + 1;
  const std::size_t cut = CharBoundaryBefore(text, from, from + size);
  return cut > from ? cut : end;
}

}  // namespace quolvi
