#include "core/settings_value.h"

#include "core/folder_rules.h"
#include "core/hex_digit.h"

namespace quolvi {

std::string SettingsFilePath(std::string_view executablePath) { return FolderOf(executablePath) + "\\vessaro.ini"; }

std::int32_t ReadSettingsInteger(std::string_view value, std::int32_t fallback) {
  bool hex = false;
  if (value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X')) {
    hex = true;
    value.remove_prefix(2);
  } else {
    while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
    if (!value.empty() && value.front() == '$') {
      hex = true;
      value.remove_prefix(1);
    }
  }
  if (hex) {
    if (value.empty()) return fallback;
    std::uint32_t pattern = 0;
    int significant = 0;
    for (char c : value) {
      int digit = HexDigitValue(c);
      if (digit < 0) return fallback;
      if (significant > 0 || digit != 0) ++significant;
      if (significant > 8) return fallback;
      pattern = pattern << 4 | static_cast<std::uint32_t>(digit);
    }
    return static_cast<std::int32_t>(pattern);
  }
  bool negative = false;
  if (!value.empty() && (value.front() == '-' || value.front() == '+')) {
    negative = value.front() == '-';
    value.remove_prefix(1);
  }
  if (value.empty()) return fallback;
  // The magnitude may reach 2^31 for a negative value only.
  const std::int64_t limit = negative ? std::int64_t{1} << 31 : (std::int64_t{1} << 31) - 1;
  std::int64_t magnitude = 0;
  for (char c : value) {
    if (c < '0' || c > '9') return fallback;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > limit) return fallback;
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace quolvi
