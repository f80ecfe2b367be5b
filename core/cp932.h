// The Shift-JIS (code page 932) codec behind the editor.
//
// The editor control holds UTF-16 while the document is a sequence of
// Shift-JIS bytes, and the two must convert into each other without loss:
// a file the user opens has to save back byte for byte, whatever it holds.
// The system's own conversion cannot promise that (it folds the NEC and IBM
// duplicates onto one code and replaces bytes that are not Shift-JIS), so the
// codec decodes every byte sequence to characters that encode back to exactly
// those bytes:
//
//  - a byte below 0x80 is itself; 0xA1-0xDF are the half-width katakana;
//  - a lead byte (0x81-0x9F, 0xE0-0xFC) followed by a trail byte (0x40-0x7E,
//    0x80-0xFC) is one double-byte character. Its character is the system's
//    when that character encodes back to the same code; the other codes (the
//    extension duplicates, and codes the system leaves unassigned) decode to
//    reserved private-use characters U+E800 and up, one for each code;
//  - every other byte (0x80, 0xA0, 0xFD-0xFF, a lead byte without its trail)
//    is a character of its own, the reserved U+F700 plus the byte.
//
// Encoding is the inverse, and takes any other character as the system's
// conversion does (best fit where it has one), or else as one "?" byte. A
// surrogate pair, a character outside code page 932 by definition, is one "?".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quolvi::cp932 {

constexpr bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

constexpr bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// Length in bytes (1 or 2) of the character that starts at text[i].
inline std::size_t CharLength(std::string_view text, std::size_t i) {
  return IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() &&
                 IsTrailByte(static_cast<unsigned char>(text[i + 1]))
             ? 2
             : 1;
}

// First private-use character of the bytes that are characters on their own.
inline constexpr char16_t kLoneByteBase = 0xF700;
// First private-use character of the double-byte codes the system cannot
// carry through UTF-16.
inline constexpr char16_t kReservedPairBase = 0xE800;

std::u16string Decode(std::string_view bytes);
std::string Encode(std::u16string_view text);

// Whether the system's own conversion carries every character of bytes into
// UTF-16 exactly as Decode does (no character needs a reserved one).
bool SystemDecodesAlike(std::string_view bytes);

// Byte length of the character at text[i] once encoded; *units receives the
// number of UTF-16 units it takes (2 for a surrogate pair, else 1).
std::size_t EncodedLength(std::u16string_view text, std::size_t i, std::size_t* units);

}  // namespace quolvi::cp932
