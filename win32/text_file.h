// Reading and writing the document's files.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "win32/handles.h"

namespace quolvi {

// Reads the whole file, every line break made CR LF. Opens it for reading
// without sharing. Throws FileError when the file cannot be opened or read,
// when it holds a NUL byte, which the document cannot hold, and when it or
// its text is larger than maxBytes (checked before the file is read).
std::string ReadTextFile(const std::string& path, std::size_t maxBytes);

// Faults put in the way of writing, for tests: the system's own failures
// (a disk that fills up, a drive that goes away, a folder in which nothing
// new may be created) cannot be brought about at will.
struct WriteFaults {
  // A write fails once this many bytes of the file have been written.
  std::optional<std::size_t> failAfterBytes;
  // The target's folder refuses new files, as its permissions may (the
  // system's error for that: access denied).
  bool noNewFileInFolder = false;
};

// Puts bytes in place of the file's contents so that at every moment either
// the old file or the complete new one is on disk: the bytes are written to
// a new file in the same folder, flushed, given the old file's owner, group
// and access list, and only then moved over the old one, which keeps its
// name as it is spelt on disk. A symbolic link is followed: the file it
// leads to is replaced, and the link stays. The new file never outlives a
// failure. Throws FileError: kCreate when the file cannot be created,
// secured or replaced, kWrite when writing fails.
//
// Where the folder refuses new files, the file is written in place instead,
// which a failure half-way leaves cut.
void ReplaceFileContents(const std::string& path, std::string_view bytes, const WriteFaults& faults = {});

}  // namespace quolvi
