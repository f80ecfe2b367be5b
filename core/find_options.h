// The search options: one bit for each option of the find and replace
// dialogs, from the flags that a dialog reports with its notification.
#pragma once

#include <cstdint>

namespace quolvi {

// FindOptions from the FINDREPLACE flags: bit n is set when the flag of row
// n is (search down, find next, hide match case, hide whole word, hide
// up/down, match case, no match case, no up/down, no whole word, replace,
// replace all, whole word, show help).
std::uint16_t FindOptionsFromFlags(std::uint32_t flags);

}  // namespace quolvi
