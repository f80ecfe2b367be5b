// Splitting a command line into arguments.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quolvi {

// Arguments are separated by runs of characters 1 to 32; a double quote
// opens a stretch that runs to the next double quote or the end, quotes
// removed and blanks kept; stretches that touch form one argument; a pair
// of quotes at the start of an argument is skipped like a separator. A NUL
// ends the line. Arguments are kept whole, however long. (No double-byte
// rule is needed: neither a quote nor a blank is ever a trail byte.)
std::vector<std::string> SplitCommandLine(std::string_view line);
// The same rules for the command line in UTF-16, as the system keeps it.
std::vector<std::wstring> SplitCommandLine(std::wstring_view line);

}  // namespace quolvi
