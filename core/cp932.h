// The Shift-JIS (code page 932) codec behind the editor.
//
// The editor control holds UTF-16 while the document is a sequence of
// Shift-JIS bytes. The user must see and copy every character as the
// system's own conversion gives it, and a file must still save back byte for
// byte, whatever it holds. The system's conversion alone cannot promise the
// second: it folds the NEC and IBM extension duplicates onto one code, and it
// has no character for bytes that are not Shift-JIS. So the codec decodes
// bytes to the system's characters plus marks, and a mark says which other
// bytes its character stands for:
//
//  - a byte below 0x80 is itself; 0xA1-0xDF are the half-width katakana;
//  - a lead byte (0x81-0x9F, 0xE0-0xFC) followed by a trail byte (0x40-0x7E,
//    0x80-0xFC) is one double-byte character, the system's character for the
//    code. Where the system writes that character back as another code (the
//    398 extension duplicates: 0xED40 is 纊, which the system writes as
//    0xFA5C), the character is marked with its code. A code the system leaves
//    unassigned is one placeholder U+FFFD, marked with the code;
//  - every other byte (0x80, 0xA0, 0xFD-0xFF, a lead byte without its trail)
//    is one placeholder U+FFFD, marked with the byte.
//
// Encoding is the inverse: a character whose mark belongs to it is written as
// the mark's bytes; every other character as the system's conversion writes
// it (best fit where it has one), or else as one "?" byte. A character the
// system would write as a byte that is not Shift-JIS (U+0080, U+F8F0-U+F8F3)
// is "?" too, so that nothing typed can become a stray byte; a surrogate pair,
// a character outside code page 932 by definition, is one "?".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quolvi::cp932 {

constexpr bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

constexpr bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// Length in bytes (1 or 2) of the character that starts at text[i].
inline std::size_t CharLength(std::string_view text, std::size_t i) {
  return IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() &&
                 IsTrailByte(static_cast<unsigned char>(text[i + 1]))
             ? 2
             : 1;
}

// The character that stands for bytes that are no character.
inline constexpr char16_t kPlaceholder = 0xFFFD;

// The mark of the character at text[unit]: value says which bytes it stands
// for (see MarkedCode). Values run from 1 to kMaxMarkValue.
struct Mark {
  std::size_t unit;
  std::uint16_t value;
  bool operator==(const Mark& other) const { return unit == other.unit && value == other.value; }
};
inline constexpr std::uint16_t kMaxMarkValue = 2047;

// Text with its marks, in ascending order of unit.
struct MarkedText {
  std::u16string text;
  std::vector<Mark> marks;
};

MarkedText Decode(std::string_view bytes);

// Appends the bytes of the character at text[i] (not below 0x80), carrying
// the mark value (0: none), to out; returns the UTF-16 units it takes.
std::size_t AppendEncoded(std::u16string_view text, std::size_t i, std::uint16_t mark, std::string& out);

// Encodes text, calling afterCharacter(unit, mark) after each character with
// the unit the next one starts at and the index of the first mark that may
// still belong to a character at or after it (out holds its bytes so far).
template <class AfterCharacter>
void EncodeInto(std::u16string_view text, const std::vector<Mark>& marks, std::string& out,
                AfterCharacter afterCharacter) {
  std::size_t mark = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] < 0x80) {
      out.push_back(static_cast<char>(text[i]));
      ++i;
    } else {
      while (mark < marks.size() && marks[mark].unit < i) ++mark;
      i += AppendEncoded(text, i, mark < marks.size() && marks[mark].unit == i ? marks[mark].value : 0, out);
    }
    afterCharacter(i, mark);
  }
}

inline std::string Encode(std::u16string_view text, const std::vector<Mark>& marks = {}) {
  std::string out;
  out.reserve(text.size() * 2);
  EncodeInto(text, marks, out, [](std::size_t, std::size_t) {});
  return out;
}

// The code (one byte below 0x100, else two) that the mark value gives the
// character c; 0 when the value is no mark of c.
std::uint16_t MarkedCode(char16_t c, std::uint16_t value);

// The characters of a text that a save cannot write as themselves: those no
// code of the code page holds, which encoding writes as "?", and those it
// writes by best fit as another character (é as "e"). How many there are,
// and the first of them (its code point, and its line counted from 1). A
// character that carries its own bytes in a mark is not one of them, nor the
// yen sign and the overline, which Japanese text writes as 0x5C and 0x7E.
struct Unwritable {
  std::size_t count = 0;
  char32_t first = 0;
  std::size_t firstLine = 0;
};
Unwritable FindUnwritable(std::u16string_view text, const std::vector<Mark>& marks);

// Whether the system's own conversion carries every character of bytes into
// UTF-16 exactly as Decode does (Decode gives no marks).
bool SystemDecodesAlike(std::string_view bytes);

// Byte length of the character at text[i], carrying the mark value (0: none),
// once encoded; *units receives the number of UTF-16 units it takes (2 for a
// surrogate pair, else 1).
std::size_t EncodedLength(std::u16string_view text, std::size_t i, std::size_t* units, std::uint16_t mark = 0);

}  // namespace quolvi::cp932
