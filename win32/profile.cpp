#include "win32/profile.h"

#include <windows.h>

namespace quolvi {

std::string ReadProfileString(const std::string& file, const char* section, const char* key,
                              const std::string& fallback) {
  char value[1024] = "";
  DWORD length = GetPrivateProfileStringA(section, key, fallback.c_str(), value, sizeof value, file.c_str());
  return std::string(value, length);
}

bool WriteProfileString(const std::string& file, const char* section, const char* key, const std::string& value) {
  return WritePrivateProfileStringA(section, key, value.c_str(), file.c_str()) != FALSE;
}

}  // namespace quolvi
