// The codec's tables against the system's own conversion, character by
// character: the codec shows every code as the system's character, and
// writes every character without a mark as the system does.
#include <windows.h>

#include <gtest/gtest.h>

#include "core/cp932.h"

namespace quolvi::test {
namespace {

TEST(Cp932SystemTest, EveryCodeDecodesToTheSystemsCharacter) {
  int compared = 0;
  int marked = 0;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!cp932::IsLeadByte(static_cast<unsigned char>(lead))) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      wchar_t system = 0;
      if (MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, pair, 2, &system, 1) != 1) continue;
      cp932::MarkedText decoded = cp932::Decode(std::string_view(pair, 2));
      ASSERT_EQ(decoded.text, std::u16string(1, static_cast<char16_t>(system))) << std::hex << lead << " " << trail;
      // Marked exactly where the system writes the character back otherwise.
      char back[2];
      int n = WideCharToMultiByte(932, 0, &system, 1, back, 2, nullptr, nullptr);
      bool roundTrips = n == 2 && back[0] == pair[0] && back[1] == pair[1];
      ASSERT_EQ(decoded.marks.empty(), roundTrips) << std::hex << lead << " " << trail;
      marked += roundTrips ? 0 : 1;
      ++compared;
    }
  }
  EXPECT_EQ(compared, 9604);
  EXPECT_EQ(marked, 398);
}

TEST(Cp932SystemTest, EncodingAgreesWithTheSystemForEveryCharacterButStrayBytes) {
  for (unsigned c = 1; c < 0x10000; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    wchar_t wide = static_cast<wchar_t>(c);
    char system[4];
    BOOL usedDefault = FALSE;
    int n = WideCharToMultiByte(932, 0, &wide, 1, system, sizeof system, nullptr, &usedDefault);
    std::string expected = usedDefault || n <= 0 ? "?" : std::string(system, n);
    // A character the system writes as a byte that is no character of the
    // code page is "?": typing it must not make a stray byte.
    if (expected.size() == 1 && static_cast<unsigned char>(expected[0]) >= 0x80 &&
        !(static_cast<unsigned char>(expected[0]) >= 0xA1 && static_cast<unsigned char>(expected[0]) <= 0xDF)) {
      expected = "?";
    }
    ASSERT_EQ(cp932::Encode(std::u16string(1, static_cast<char16_t>(c))), expected) << std::hex << c;
  }
}

}  // namespace
}  // namespace quolvi::test
