// A new file made beside an old one, to take its place.
#pragma once

#include <optional>
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

// The name of the file that path leads to, through symbolic links, in its
// own spelling (GetFinalPathNameByHandle); nothing where the system cannot
// tell (the file is not there, or the system has no such call).
std::optional<std::wstring> FinalName(const std::wstring& path);

// Gives file the owner, group and access list of model, where they differ
// (the owner only where the system lets it be given). True when they are the
// same now, or when there is no model; false when they cannot be read or set.
bool CopySecurity(const std::wstring& model, const std::wstring& file);

}  // namespace quolvi
