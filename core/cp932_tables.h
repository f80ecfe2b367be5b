// Tables of the system's code page 932 (Shift-JIS) conversion, generated once
// from the system itself by tools/dump_cp932.cpp and tools/gen_cp932_tables.py.
#pragma once

#include <cstdint>

namespace quolvi::cp932 {

// Structurally valid double-byte codes: a lead byte 0x81-0x9F or 0xE0-0xFC
// followed by a trail byte 0x40-0x7E or 0x80-0xFC.
inline constexpr int kLeadCount = 60;
inline constexpr int kTrailCount = 188;

// The character each double-byte code decodes to, by lead row and trail
// column; 0 where the code is unassigned.
extern const std::uint16_t kDoubleByteChars[kLeadCount][kTrailCount];

// Codes whose character the system encodes back to a different code (the NEC
// and IBM extension duplicates), in ascending order.
extern const int kNonRoundTripCount;
extern const std::uint16_t kNonRoundTripCodes[];

// Characters beyond ASCII and the half-width katakana that no double-byte
// code decodes to but that the system still encodes: by best fit (U+00A5 to
// 0x5C, for example) or to a single byte (U+0080 to 0x80). A code below 0x100
// is a single byte.
struct BestFit {
  std::uint16_t unicode;
  std::uint16_t code;
};
extern const int kBestFitCount;
extern const BestFit kBestFit[];

}  // namespace quolvi::cp932
