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

std::string ExecutablePath() {
  // A path may be longer than MAX_PATH; the buffer grows until it fits.
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace quolvi
