// Folder names as the file dialogs take them.
#pragma once

#include <string>
#include <string_view>

namespace quolvi {

// A start folder is kept without a final backslash: of a folder of two or
// more bytes, one final backslash is dropped, unless a colon stands before
// it (a drive's root keeps it). The second byte of a double-byte character
// is never a backslash here.
std::string StartFolder(std::string_view folder);

// The folder of a path: up to its last backslash or colon (the second byte
// of a double-byte character is no backslash); the backslash is dropped
// unless it is the first character or follows a colon or a backslash.
// Empty for a bare file name.
std::string FolderOf(std::string_view path);

}  // namespace quolvi
