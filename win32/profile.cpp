#include "win32/profile.h"

#include <windows.h>

#include "win32/file_names.h"
#include "win32/handles.h"
#include "win32/new_file.h"

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

namespace {

// Cuts the file as the faults say.
void ApplyFaults(const std::wstring& file, const ProfileFaults& faults) {
  if (!faults.cutAfterBytes) return;
  FileHandle handle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(*faults.cutAfterBytes);
  SetFilePointerEx(handle.Get(), at, nullptr, FILE_BEGIN);
  SetEndOfFile(handle.Get());
}

}  // namespace

bool WriteProfileValues(const std::string& file, const char* section,
                        const std::vector<std::pair<std::string, std::string>>& values, const ProfileFaults& faults) {
  const std::wstring wide = WideName(file);
  const std::wstring target = FinalName(wide).value_or(wide);
  std::wstring copy;
  if (!CreateFileBeside(FolderOfName(target), copy)) return false;
  ScopeExit removeCopy([&] { DeleteFileW(copy.c_str()); });
  const std::optional<std::string> copyName = ExactNarrowName(copy);
  if (!copyName) return false;
  // The copy starts as the file, with its other sections; empty when there
  // is no file yet.
  if (!CopyFileW(target.c_str(), copy.c_str(), FALSE) && GetLastError() != ERROR_FILE_NOT_FOUND) return false;
  for (const auto& [key, value] : values) {
    if (!WritePrivateProfileStringA(section, key.c_str(), value.c_str(), copyName->c_str())) return false;
  }
  // Wine keeps the file in memory, and reports success however little of
  // it reached a full disk: letting it go there (the documented flush), the
  // values are read back as the disk holds them.
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, copyName->c_str());
  ApplyFaults(copy, faults);
  for (const auto& [key, value] : values) {
    if (ReadProfileString(*copyName, section, key.c_str(), "\x01") != value) return false;
  }
  {
    FileHandle written(CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!written || !FlushFileBuffers(written.Get())) return false;
  }
  if (!CopySecurity(target, copy) ||
      !MoveFileExW(copy.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return false;
  }
  removeCopy.Dismiss();
  return true;
}

}  // namespace quolvi
