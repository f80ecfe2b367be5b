// Reading and writing the document's files.
#pragma once

#include <string>
#include <string_view>

#include "win32/handles.h"

namespace quolvi {

// Reads the whole file, every line break made CR LF. Opens it for reading
// without sharing. Throws FileError when the file cannot be opened or read,
// and when it holds a NUL byte, which the document cannot hold.
std::string ReadTextFile(const std::string& path);

// Creates the file anew (emptying an existing one), without sharing. Throws
// FileError when it cannot be created.
FileHandle CreateTextFile(const std::string& path);

// Writes bytes to the file; throws FileError, naming path, when a write fails.
void WriteTextFile(const FileHandle& file, std::string_view bytes, const std::string& path);

}  // namespace quolvi
