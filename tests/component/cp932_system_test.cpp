// The codec's tables against the system's own conversion, character by
// character: wherever the system carries a character through UTF-16 and
// back, the codec must do the same.
#include <windows.h>

#include <gtest/gtest.h>

#include "core/cp932.h"

namespace quolvi::test {
namespace {

TEST(Cp932SystemTest, DecodingAgreesWithTheSystemWhereTheSystemRoundTrips) {
  int compared = 0;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!cp932::IsLeadByte(static_cast<unsigned char>(lead))) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      wchar_t system = 0;
      if (MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, pair, 2, &system, 1) != 1) continue;
      char back[2];
      BOOL usedDefault = FALSE;
      int n = WideCharToMultiByte(932, 0, &system, 1, back, 2, nullptr, &usedDefault);
      if (n != 2 || back[0] != pair[0] || back[1] != pair[1]) continue;
      ASSERT_EQ(cp932::Decode(std::string_view(pair, 2)), std::u16string(1, static_cast<char16_t>(system)))
          << std::hex << lead << " " << trail;
      ++compared;
    }
  }
  EXPECT_EQ(compared, 9604 - 398);
}

TEST(Cp932SystemTest, EncodingAgreesWithTheSystemForEveryOtherCharacter) {
  for (unsigned c = 1; c < 0x10000; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    if ((c >= cp932::kReservedPairBase && c < cp932::kReservedPairBase + 0x900) ||
        (c >= cp932::kLoneByteBase + 0x80u && c <= cp932::kLoneByteBase + 0xFFu)) {
      continue;  // the codec's own characters
    }
    wchar_t wide = static_cast<wchar_t>(c);
    char system[4];
    BOOL usedDefault = FALSE;
    int n = WideCharToMultiByte(932, 0, &wide, 1, system, sizeof system, nullptr, &usedDefault);
    std::string expected = usedDefault || n <= 0 ? "?" : std::string(system, n);
    ASSERT_EQ(cp932::Encode(std::u16string(1, static_cast<char16_t>(c))), expected) << std::hex << c;
  }
}

}  // namespace
}  // namespace quolvi::test
