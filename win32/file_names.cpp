#include "win32/file_names.h"

#include <windows.h>

namespace quolvi {

std::string FullPathName(const std::string& name) {
  std::string full(MAX_PATH, '\0');
  for (;;) {
    DWORD length = GetFullPathNameA(name.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return name;
    if (length < full.size()) {
      full.resize(length);
      return full;
    }
    full.resize(length);  // the room it needs, with its NUL
  }
}

}  // namespace quolvi
