// Trimming as the menus judge a selection: every byte of 32 or less (blanks,
// tabs, line breaks and other control characters) comes off both ends.
// Bytes of 128 and above never do, so double-byte characters, the
// ideographic space among them, always stay.
#pragma once

#include <string_view>

namespace quolvi {

constexpr std::string_view Trim(std::string_view text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace quolvi
