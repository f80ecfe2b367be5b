// Profile (INI) files through the system's functions.
#pragma once

#include <string>

namespace quolvi {

// The value of key in section of the profile file, as
// GetPrivateProfileStringA gives it into a buffer of 1024 bytes (so at most
// 1023 bytes); fallback when the file, the section or the key is missing.
std::string ReadProfileString(const std::string& file, const char* section, const char* key,
                              const std::string& fallback);

// Sets key in section of the profile file to value, creating the section
// and the file as needed; false when WritePrivateProfileStringA fails.
bool WriteProfileString(const std::string& file, const char* section, const char* key, const std::string& value);

}  // namespace quolvi
