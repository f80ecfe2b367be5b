#include "win32/file_checks.h"

#include <windows.h>

#include "win32/handles.h"

namespace quolvi {

bool PassesExistingFileTest(const std::string& name) {
  WIN32_FIND_DATAA found;
  if (!FindHandle(FindFirstFileA(name.c_str(), &found))) return false;
  if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
  FILETIME local;
  WORD date, time;
  return FileTimeToLocalFileTime(&found.ftLastWriteTime, &local) && FileTimeToDosDateTime(&local, &date, &time);
}

}  // namespace quolvi
