// Line-break normalisation: every CR LF pair stays, and every lone CR and
// every lone LF becomes CR LF. Nothing else changes.
//
// The normaliser takes its input in pieces and gives the same result however
// the input is divided: a CR at the end of one piece waits for the first
// character of the next to tell whether it ends a pair. Works on Shift-JIS
// bytes (no trail byte of a double-byte character is ever CR or LF) and on
// UTF-16 units alike.
#pragma once

#include <string>
#include <string_view>

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

// Where the piece of text that starts at from ends, when a long text is
// handed on in pieces of at least size units: after the first LF that many
// units on, so never inside a line break or a double-byte character (no trail
// byte is ever LF), or at the end of the text.
template <class Char>
std::size_t PieceEnd(std::basic_string_view<Char> text, std::size_t from, std::size_t size) {
  if (text.size() - from <= size) return text.size();
  std::size_t lineFeed = text.find(Char('\n'), from + size - 1);
  return lineFeed == std::basic_string_view<Char>::npos ? text.size() : lineFeed + 1;
}

}  // namespace quolvi
