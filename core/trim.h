// Trimming as the menus judge a selection: every byte of 32 or less (blanks,
// tabs, line breaks and other control characters) comes off both ends.
// Bytes of 128 and above never do, so double-byte characters, the
// ideographic space among them, always stay.
#pragma once

#include <string>
#include <string_view>

namespace quolvi {

constexpr std::string_view Trim(std::string_view text) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// The selection as it is handed to the shell: every byte below 32 (line
// breaks, tabs, other control characters) becomes one blank, then the
// result is trimmed. Trail bytes of double-byte characters are never below
// 64, so those characters pass whole.
inline std::string TextToRun(std::string_view selected) {
  std::string text(selected);
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 32) c = ' ';
  }
  return std::string(Trim(text));
}

}  // namespace quolvi
