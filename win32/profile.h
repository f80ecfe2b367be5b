// Profile (INI) files through the system's functions.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quolvi {

// The value of key in section of the profile file, as
// GetPrivateProfileStringA gives it into a buffer of 1024 bytes (so at most
// 1023 bytes); fallback when the file, the section or the key is missing.
std::string ReadProfileString(const std::string& file, const char* section, const char* key,
                              const std::string& fallback);

// Faults put in the way of writing a profile file, for tests: a disk that
// fills up cannot be had at will.
struct ProfileFaults {
  // What the profile functions wrote reaches the disk only up to this many
  // bytes, as Wine leaves it on a full disk while it reports success.
  std::optional<std::size_t> cutAfterBytes;
};

// Sets each key of section in the profile file to its value, all of them
// or none: they are written with WritePrivateProfileString into a copy of
// the file beside it, read back from the disk, and only then does the copy,
// flushed and given the file's owner, group and access list, take the
// file's place (through a symbolic link, the place of the file it leads
// to). False when any step fails: the file is then as it was, and no copy
// is left.
bool WriteProfileValues(const std::string& file, const char* section,
                        const std::vector<std::pair<std::string, std::string>>& values,
                        const ProfileFaults& faults = {});

}  // namespace quolvi
