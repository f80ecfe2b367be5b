// Dumps the system's code page 932 conversion, as the Windows API performs it,
// in a line format that gen_cp932_tables.py turns into the codec's tables.
//
//   D <code> <unicode> <back>   a double-byte code, the character it decodes to,
//                               and the code that character encodes back to
//   E <unicode> <code>          a character that encodes to a code although no
//                               double-byte code decodes to it (a best fit, or
//                               a single byte such as 0x80)
//
// Build with mingw-w64 and run under Wine with LANG=ja_JP.UTF-8 (or on a
// Japanese Windows), redirecting the output to a file.
#include <windows.h>
#include <cstdio>
#include <set>

static bool IsLead(unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
static bool IsTrail(unsigned b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

static unsigned Encode(wchar_t u) {
  char out[4];
  BOOL usedDefault = FALSE;
  int n = WideCharToMultiByte(932, 0, &u, 1, out, sizeof out, nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return 0x10000;  // not representable
  if (n == 1) return static_cast<unsigned char>(out[0]);
  return (static_cast<unsigned char>(out[0]) << 8) | static_cast<unsigned char>(out[1]);
}

int main() {
  std::set<unsigned> decoded;
  for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLead(lead)) continue;
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      if (!IsTrail(trail)) continue;
      char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      wchar_t u[2];
      int n = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, in, 2, u, 2);
      if (n != 1) continue;
      decoded.insert(u[0]);
      std::printf("D %04X %04X %04X\n", (lead << 8) | trail, unsigned(u[0]), Encode(u[0]));
    }
  }
  // ASCII and the half-width katakana are the codec's own; everything else
  // that encodes without a double-byte code decoding to it is listed.
  for (unsigned u = 0x80; u < 0x10000; ++u) {
    if (u >= 0xD800 && u <= 0xDFFF) continue;
    if (u >= 0xFF61 && u <= 0xFF9F) continue;
    if (decoded.count(u)) continue;
    unsigned code = Encode(static_cast<wchar_t>(u));
    if (code < 0x10000) std::printf("E %04X %04X\n", u, code);
  }
  return 0;
}
