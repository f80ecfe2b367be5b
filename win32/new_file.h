// A new file made beside an old one, to take its place.
#pragma once

#include <string>

#include "win32/handles.h"

namespace quolvi {

// Creates a new, empty file of a name of its own ("qlv", eight hexadecimal
// digits, ".tmp") in folder (empty: the current folder), open for reading
// and writing without sharing, trying further names while a name is taken;
// name is set to its full name. An invalid handle when no file can be made
// there: GetLastError tells why (ERROR_ACCESS_DENIED where the folder
// refuses new files).
FileHandle CreateFileBeside(const std::wstring& folder, std::wstring& name);

}  // namespace quolvi
