#include "core/find_options.h"

namespace quolvi {
namespace {

// The FINDREPLACE flag of each bit, in bit order.
constexpr std::uint32_t kFlagOfBit[] = {
    0x1,      // FR_DOWN
    0x8,      // FR_FINDNEXT
    0x8000,   // FR_HIDEMATCHCASE
    0x10000,  // FR_HIDEWHOLEWORD
    0x4000,   // FR_HIDEUPDOWN
    0x4,      // FR_MATCHCASE
    0x800,    // FR_NOMATCHCASE
    0x400,    // FR_NOUPDOWN
    0x1000,   // FR_NOWHOLEWORD
    0x10,     // FR_REPLACE
    0x20,     // FR_REPLACEALL
    0x2,      // FR_WHOLEWORD
    0x80,     // FR_SHOWHELP
};

}  // namespace

std::uint16_t FindOptionsFromFlags(std::uint32_t flags) {
  std::uint16_t options = 0;
  for (int bit = 0; bit < 13; ++bit) {
    if (flags & kFlagOfBit[bit]) options |= static_cast<std::uint16_t>(1u << bit);
  }
  return options;
}

}  // namespace quolvi
