// Names of files as the program keeps them: narrow strings in the ANSI code
// page (Shift-JIS), which the narrow file functions take. The system names
// files in UTF-16, and not every name can be written in the code page; such
// a name is never turned into another one (as the system's best fit turns
// "café" into "cafe"), but reached through its short name or not at all.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quolvi {

// A narrow name in UTF-16, as the narrow file functions read it.
std::wstring WideName(std::string_view name);

// The name in the code page when it converts exactly, character for
// character and back; nothing otherwise.
std::optional<std::string> ExactNarrowName(std::wstring_view name);

// A narrow name that the narrow file functions take to the very file or
// folder path names: the path itself when it converts exactly; else its
// short name (GetShortPathName), for a file or folder that exists; else, for
// a file still to be made whose own name converts, the short name of its
// folder and that name; else nothing. (Short names may be missing: a
// volume need not keep them.)
std::optional<std::string> NarrowPath(const std::wstring& path);

// The name for a message: each character that the code page lacks as "?".
std::string ShownName(std::wstring_view name);

// The folder of a name in UTF-16, with its final backslash; empty for a
// bare name.
std::wstring FolderOfName(const std::wstring& name);

// The full path of name, relative names taken from the current folder
// (GetFullPathName); name itself when the system cannot tell.
std::wstring FullPathName(const std::wstring& name);

}  // namespace quolvi
