// Reading an integer of the settings file, against a plain reference of the
// same rules that leans on the standard library's conversions instead.
#include <cstdint>
#include <optional>
#include <string>

#include "core/settings_value.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

bool AllOf(const std::string& s, const char* allowed) {
  return !s.empty() && s.find_first_not_of(allowed) == std::string::npos;
}

std::string WithoutLeadingZeros(const std::string& digits) {
  const std::size_t first = digits.find_first_not_of('0');
  return first == std::string::npos ? "" : digits.substr(first);
}

// The value, or nothing where the key's default stands.
std::optional<std::int32_t> RefRead(std::string s) {
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s = "$" + s.substr(2);
  const std::size_t text = s.find_first_not_of(' ');
  s.erase(0, text == std::string::npos ? s.size() : text);
  if (!s.empty() && s[0] == '$') {
    const std::string digits = s.substr(1);
    if (!AllOf(digits, "0123456789abcdefABCDEF")) return std::nullopt;
    const std::string significant = WithoutLeadingZeros(digits);
    if (significant.size() > 8) return std::nullopt;
    if (significant.empty()) return 0;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(std::stoul(significant, nullptr, 16)));
  }
  bool negative = false;
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) {
    negative = s[0] == '-';
    s.erase(0, 1);
  }
  if (!AllOf(s, "0123456789")) return std::nullopt;
  const std::string significant = WithoutLeadingZeros(s);
  if (significant.size() > 10) return std::nullopt;
  long long value = significant.empty() ? 0 : std::stoll(significant);
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string value(reinterpret_cast<const char*>(data), size);
  const std::optional<std::int32_t> expected = RefRead(value);
  // Two defaults, so that a value read is never mistaken for the default.
  for (std::int32_t fallback : {std::int32_t{-1}, std::int32_t{0x5A5A5A5A}}) {
    quolvi::fuzz::Check(quolvi::ReadSettingsInteger(value, fallback) == expected.value_or(fallback),
                        "the readers differ");
  }
  return 0;
}
