#include "win32/documents_folder.h"

#include <windows.h>

#include <vector>

#include "win32/handles.h"

namespace quolvi {
namespace {

constexpr char kExplorerKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";

// The value "Personal" of a subkey, up to its first NUL; empty when the
// subkey or the value is missing, or the value is not a string.
std::string ReadPersonal(HKEY parent, const char* subkey) {
  RegKey key;
  if (RegOpenKeyExA(parent, subkey, 0, KEY_ALL_ACCESS, key.Put()) != ERROR_SUCCESS &&
      RegOpenKeyExA(parent, subkey, 0, KEY_READ, key.Put()) != ERROR_SUCCESS) {
    return "";
  }
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key.Get(), "Personal", nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return "";
  if ((type != REG_SZ && type != REG_EXPAND_SZ) || size == 0) return "";
  std::vector<char> data(size + 1, '\0');
  if (RegQueryValueExA(key.Get(), "Personal", nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
      ERROR_SUCCESS) {
    return "";
  }
  return std::string(data.data());  // up to the first NUL
}

}  // namespace

bool IsExistingDirectory(const std::string& path) {
  if (path.empty()) return false;
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string FindDocumentsFolder() {
  // The Explorer key is created if it is missing; when it cannot be opened,
  // the subkeys are looked up under HKEY_CURRENT_USER itself.
  RegKey explorer;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kExplorerKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, explorer.Put(),
                      nullptr) != ERROR_SUCCESS) {
    explorer.Reset();
  }
  HKEY parent = explorer ? explorer.Get() : HKEY_CURRENT_USER;
  std::string folder = ReadPersonal(parent, "Shell Folders");
  if (!IsExistingDirectory(folder)) folder = ReadPersonal(parent, "User Shell Folders");
  return IsExistingDirectory(folder) ? folder : std::string();
}

}  // namespace quolvi
