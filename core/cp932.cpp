#include "core/cp932.h"

#include <vector>

#include "core/cp932_tables.h"

namespace quolvi::cp932 {
namespace {

constexpr char16_t kHalfWidthKatakana = 0xFF61;  // decodes from 0xA1
constexpr std::uint16_t kNoCode = 0;              // U+0000 is handled apart
constexpr char kUnmappable = '?';

int LeadIndex(unsigned char lead) { return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31; }
int TrailIndex(unsigned char trail) { return trail < 0x7F ? trail - 0x40 : trail - 0x41; }
std::uint16_t PairCode(int lead, int trail) {
  int leadByte = lead < 31 ? lead + 0x81 : lead - 31 + 0xE0;
  int trailByte = trail < 0x3F ? trail + 0x40 : trail + 0x41;
  return static_cast<std::uint16_t>((leadByte << 8) | trailByte);
}

// The conversion tables, built once from the generated ones.
struct Tables {
  char16_t decodePair[kLeadCount * kTrailCount];
  std::vector<std::uint16_t> reservedCodes;   // by reserved character
  std::vector<std::uint16_t> encode;          // by character; kNoCode if none

  Tables() : encode(0x10000, kNoCode) {
    std::vector<bool> nonRoundTrip(kLeadCount * kTrailCount, false);
    for (int i = 0; i < kNonRoundTripCount; ++i) {
      std::uint16_t code = kNonRoundTripCodes[i];
      nonRoundTrip[LeadIndex(static_cast<unsigned char>(code >> 8)) * kTrailCount +
                   TrailIndex(static_cast<unsigned char>(code & 0xFF))] = true;
    }
    for (int lead = 0; lead < kLeadCount; ++lead) {
      for (int trail = 0; trail < kTrailCount; ++trail) {
        int index = lead * kTrailCount + trail;
        char16_t c = kDoubleByteChars[lead][trail];
        std::uint16_t code = PairCode(lead, trail);
        if (c != 0 && !nonRoundTrip[index]) {
          decodePair[index] = c;
          encode[c] = code;
        } else {
          decodePair[index] = static_cast<char16_t>(kReservedPairBase + reservedCodes.size());
          reservedCodes.push_back(code);
        }
      }
    }
    for (int i = 0; i < kBestFitCount; ++i) encode[kBestFit[i].unicode] = kBestFit[i].code;
    for (unsigned b = 1; b < 0x80; ++b) encode[b] = static_cast<std::uint16_t>(b);
    for (unsigned b = 0xA1; b <= 0xDF; ++b) encode[kHalfWidthKatakana + b - 0xA1] = static_cast<std::uint16_t>(b);
    for (unsigned b = 0x80; b <= 0xFF; ++b) encode[kLoneByteBase + b] = static_cast<std::uint16_t>(b);
    for (std::size_t i = 0; i < reservedCodes.size(); ++i) encode[kReservedPairBase + i] = reservedCodes[i];
  }
};

const Tables& GetTables() {
  static const Tables tables;
  return tables;
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::u16string Decode(std::string_view bytes) {
  const Tables& tables = GetTables();
  std::u16string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out.push_back(b);
      ++i;
    } else if (b >= 0xA1 && b <= 0xDF) {
      out.push_back(static_cast<char16_t>(kHalfWidthKatakana + b - 0xA1));
      ++i;
    } else if (CharLength(bytes, i) == 2) {
      unsigned char trail = static_cast<unsigned char>(bytes[i + 1]);
      out.push_back(tables.decodePair[LeadIndex(b) * kTrailCount + TrailIndex(trail)]);
      i += 2;
    } else {
      out.push_back(static_cast<char16_t>(kLoneByteBase + b));
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
      char16_t c = tables.decodePair[LeadIndex(b) * kTrailCount + TrailIndex(static_cast<unsigned char>(bytes[i + 1]))];
      if (c >= kReservedPairBase && c < kReservedPairBase + tables.reservedCodes.size()) return false;
      i += 2;
    } else {
      return false;  // a byte that is a character of its own
    }
  }
  return true;
}

std::string Encode(std::u16string_view text) {
  const Tables& tables = GetTables();
  std::string out;
  out.reserve(text.size() * 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) ++i;
    std::uint16_t code = tables.encode[c];
    if (code == kNoCode) {
      out.push_back(kUnmappable);
    } else if (code < 0x100) {
      out.push_back(static_cast<char>(code));
    } else {
      out.push_back(static_cast<char>(code >> 8));
      out.push_back(static_cast<char>(code & 0xFF));
    }
  }
  return out;
}

std::size_t EncodedLength(std::u16string_view text, std::size_t i, std::size_t* units) {
  char16_t c = text[i];
  *units = 1;
  if (c < 0x80) return 1;
  if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
    *units = 2;
    return 1;
  }
  return GetTables().encode[c] >= 0x100 ? 2 : 1;
}

}  // namespace quolvi::cp932
