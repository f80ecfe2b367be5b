#include "core/cp932.h"

#include <algorithm>
#include <vector>

#include "core/cp932_tables.h"

namespace quolvi::cp932 {
namespace {

constexpr char16_t kHalfWidthKatakana = 0xFF61;  // decodes from 0xA1
constexpr std::uint16_t kNoCode = 0;             // U+0000 is handled apart
constexpr char kUnmappable = '?';

int LeadIndex(unsigned char lead) { return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31; }
int TrailIndex(unsigned char trail) { return trail < 0x7F ? trail - 0x40 : trail - 0x41; }
std::uint16_t PairCode(int lead, int trail) {
  int leadByte = lead < 31 ? lead + 0x81 : lead - 31 + 0xE0;
  int trailByte = trail < 0x3F ? trail + 0x40 : trail + 0x41;
  return static_cast<std::uint16_t>((leadByte << 8) | trailByte);
}
bool IsStrayByte(unsigned code) { return code >= 0x80 && code < 0x100 && !(code >= 0xA1 && code <= 0xDF); }

// A code whose character the system writes as another code.
struct Duplicate {
  char16_t c;
  std::uint16_t value;
  std::uint16_t code;
  bool operator<(const Duplicate& other) const { return c != other.c ? c < other.c : value < other.value; }
};

// The conversion tables, built once from the generated ones.
struct Tables {
  char16_t decodePair[kLeadCount * kTrailCount];
  std::uint16_t pairMark[kLeadCount * kTrailCount];  // 0: none
  // By mark value - 1: the single bytes 0x80 to 0xFF (0 for the katakana,
  // which are characters), then the unassigned double-byte codes.
  std::vector<std::uint16_t> placeholderCodes;
  std::vector<Duplicate> duplicates;  // ordered by character and value
  std::vector<std::uint16_t> encode;  // by character; kNoCode if none

  Tables() : encode(0x10000, kNoCode) {
    std::vector<bool> nonRoundTrip(kLeadCount * kTrailCount, false);
    for (int i = 0; i < kNonRoundTripCount; ++i) {
      std::uint16_t code = kNonRoundTripCodes[i];
      nonRoundTrip[LeadIndex(static_cast<unsigned char>(code >> 8)) * kTrailCount +
                   TrailIndex(static_cast<unsigned char>(code & 0xFF))] = true;
    }
    for (unsigned b = 0x80; b <= 0xFF; ++b)
      placeholderCodes.push_back(IsStrayByte(b) ? static_cast<std::uint16_t>(b) : 0);
    for (int lead = 0; lead < kLeadCount; ++lead) {
      for (int trail = 0; trail < kTrailCount; ++trail) {
        int index = lead * kTrailCount + trail;
        char16_t c = kDoubleByteChars[lead][trail];
        std::uint16_t code = PairCode(lead, trail);
        pairMark[index] = 0;
        if (c == 0) {
          decodePair[index] = kPlaceholder;
          placeholderCodes.push_back(code);
          pairMark[index] = static_cast<std::uint16_t>(placeholderCodes.size());
        } else if (nonRoundTrip[index]) {
          decodePair[index] = c;
          auto value = static_cast<std::uint16_t>(
              1 + std::count_if(duplicates.begin(), duplicates.end(), [c](const Duplicate& d) { return d.c == c; }));
          duplicates.push_back({c, value, code});
          pairMark[index] = value;
        } else {
          decodePair[index] = c;
          encode[c] = code;
        }
      }
    }
    std::sort(duplicates.begin(), duplicates.end());
    for (int i = 0; i < kBestFitCount; ++i) {
      // A best fit to a byte that is no character would write a stray byte.
      if (!IsStrayByte(kBestFit[i].code)) encode[kBestFit[i].unicode] = kBestFit[i].code;
    }
    for (unsigned b = 1; b < 0x80; ++b) encode[b] = static_cast<std::uint16_t>(b);
    for (unsigned b = 0xA1; b <= 0xDF; ++b) encode[kHalfWidthKatakana + b - 0xA1] = static_cast<std::uint16_t>(b);
  }
};

const Tables& GetTables() {
  static const Tables tables;
  return tables;
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void AppendCode(std::string& out, std::uint16_t code) {
  if (code < 0x100) {
    out.push_back(static_cast<char>(code));
  } else {
    out.push_back(static_cast<char>(code >> 8));
    out.push_back(static_cast<char>(code & 0xFF));
  }
}

}  // namespace

std::uint16_t MarkedCode(char16_t c, std::uint16_t value) {
  if (value == 0) return 0;
  const Tables& tables = GetTables();
  if (c == kPlaceholder) return value <= tables.placeholderCodes.size() ? tables.placeholderCodes[value - 1] : 0;
  auto found = std::lower_bound(tables.duplicates.begin(), tables.duplicates.end(), Duplicate{c, value, 0});
  return found != tables.duplicates.end() && found->c == c && found->value == value ? found->code : 0;
}

MarkedText Decode(std::string_view bytes) {
  const Tables& tables = GetTables();
  MarkedText out;
  out.text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out.text.push_back(b);
      ++i;
    } else if (b >= 0xA1 && b <= 0xDF) {
      out.text.push_back(static_cast<char16_t>(kHalfWidthKatakana + b - 0xA1));
      ++i;
    } else if (CharLength(bytes, i) == 2) {
      int index = LeadIndex(b) * kTrailCount + TrailIndex(static_cast<unsigned char>(bytes[i + 1]));
      if (tables.pairMark[index] != 0) out.marks.push_back({out.text.size(), tables.pairMark[index]});
      out.text.push_back(tables.decodePair[index]);
      i += 2;
    } else {
      out.marks.push_back({out.text.size(), static_cast<std::uint16_t>(1 + b - 0x80)});
      out.text.push_back(kPlaceholder);
      ++i;
    }
  }
  return out;
}

bool SystemDecodesAlike(std::string_view bytes) {
  const Tables& tables = GetTables();
  for (std::size_t i = 0; i < bytes.size();) {
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80 || (b >= 0xA1 && b <= 0xDF)) {
      ++i;
    } else if (CharLength(bytes, i) == 2) {
      if (tables.pairMark[LeadIndex(b) * kTrailCount + TrailIndex(static_cast<unsigned char>(bytes[i + 1]))]) {
        return false;
      }
      i += 2;
    } else {
      return false;  // a byte that is no character
    }
  }
  return true;
}

std::size_t AppendEncoded(std::u16string_view text, std::size_t i, std::uint16_t mark, std::string& out) {
  const char16_t c = text[i];
  if (std::uint16_t code = mark ? MarkedCode(c, mark) : 0) {
    AppendCode(out, code);
    return 1;
  }
  // A surrogate pair is one character outside the code page.
  const std::size_t units = IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]) ? 2 : 1;
  std::uint16_t code = GetTables().encode[c];
  if (code == kNoCode) {
    out.push_back(kUnmappable);
  } else {
    AppendCode(out, code);
  }
  return units;
}

namespace {

// Whether bytes read back as the character they were written for. A best
// fit (é written as "e") does not; the yen sign and the overline written as
// 0x5C and 0x7E do, being what those bytes mean in Japanese text.
bool ReadsBackAs(const std::string& bytes, char16_t c) {
  if (bytes.size() == 1 && ((bytes[0] == '\\' && c == 0x00A5) || (bytes[0] == '~' && c == 0x203E))) return true;
  const MarkedText back = Decode(bytes);
  return back.marks.empty() && back.text.size() == 1 && back.text[0] == c;
}

// For each character of the basic plane, whether a save writes it as itself
// (unmarked); worked out once, as a text may hold millions of characters.
const std::vector<bool>& WrittenAsItself() {
  static const std::vector<bool> table = [] {
    std::vector<bool> itself(0x10000, true);
    std::string bytes;
    for (char32_t c = 0x80; c < 0x10000; ++c) {
      const std::u16string one(1, static_cast<char16_t>(c));
      bytes.clear();
      AppendEncoded(one, 0, 0, bytes);
      itself[c] = ReadsBackAs(bytes, static_cast<char16_t>(c));
    }
    return itself;
  }();
  return table;
}

}  // namespace

Unwritable FindUnwritable(std::u16string_view text, const std::vector<Mark>& marks) {
  Unwritable found;
  std::size_t line = 1;
  std::size_t mark = 0;
  for (std::size_t i = 0; i < text.size();) {
    const char16_t c = text[i];
    if (c < 0x80) {
      if (c == u'\r') ++line;  // every line break is CR LF
      ++i;
      continue;
    }
    while (mark < marks.size() && marks[mark].unit < i) ++mark;
    const bool marked = mark < marks.size() && marks[mark].unit == i;
    const bool pair = IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]);
    const std::size_t units = pair ? 2 : 1;
    // A marked character writes the bytes it came from; a surrogate pair is
    // never in the code page.
    if (!marked && (pair || !WrittenAsItself()[c])) {
      if (found.count++ == 0) {
        found.first = units == 2 ? 0x10000 + ((char32_t{c} - 0xD800) << 10) + (char32_t{text[i + 1]} - 0xDC00) : c;
        found.firstLine = line;
      }
    }
    i += units;
  }
  return found;
}

std::size_t EncodedLength(std::u16string_view text, std::size_t i, std::size_t* units, std::uint16_t mark) {
  char16_t c = text[i];
  *units = 1;
  if (c < 0x80) return 1;
  if (std::uint16_t code = MarkedCode(c, mark)) return code < 0x100 ? 1 : 2;
  if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
    *units = 2;
    return 1;
  }
  return GetTables().encode[c] >= 0x100 ? 2 : 1;
}

}  // namespace quolvi::cp932
