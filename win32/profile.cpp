#include "win32/profile.h"

#include <windows.h>

namespace quolvi {

std::string ReadProfileString(const std::string& file, const char* section, const char* key,
                              const std::string& fallback) {
  char value[1024] = "";
  GetPrivateProfileStringA(section, key, fallback.c_str(), value, sizeof value, file.c_str());
  // A value cut to the buffer is counted as filling it, though the system
  // may have stopped short of its end to keep a double-byte character
  // whole: the value runs to the first NUL, which no value holds.
  return std::string(value);
}

bool WriteProfileString(const std::string& file, const char* section, const char* key, const std::string& value) {
  return WritePrivateProfileStringA(section, key, value.c_str(), file.c_str()) != FALSE;
}

}  // namespace quolvi
