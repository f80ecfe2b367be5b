#include "win32/new_file.h"

#include <windows.h>

#include <cwchar>

namespace quolvi {

FileHandle CreateFileBeside(const std::wstring& folder, std::wstring& name) {
  // Made here rather than by GetTempFileName, which under Wine reports a
  // name it could not create as made.
  const std::wstring prefix = folder.empty() || folder.back() == L'\\' ? folder : folder + L'\\';
  DWORD seed = GetTickCount() ^ (GetCurrentProcessId() << 16);
  for (int attempt = 0; attempt < 1000; ++attempt) {
    wchar_t leaf[16];
    std::swprintf(leaf, 16, L"qlv%08lx.tmp", static_cast<unsigned long>(seed + attempt * 0x9E3779B9u));
    name = prefix + leaf;
    FileHandle file(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file || (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)) return file;
  }
  return FileHandle();
}

}  // namespace quolvi
