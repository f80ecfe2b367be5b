// Names of files as the program keeps them: narrow strings in the ANSI code
// page (Shift-JIS), which the narrow file functions take.
#pragma once

#include <string>

namespace quolvi {

// The full path of name, relative names taken from the current folder
// (GetFullPathName); name itself when the system cannot tell.
std::string FullPathName(const std::string& name);

}  // namespace quolvi
