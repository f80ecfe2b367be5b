#include "win32/recovery_file.h"

#include <shlobj.h>

#include <algorithm>
#include <cwchar>
#include <utility>

namespace quolvi {
namespace {

constexpr wchar_t kLock[] = L".lock";
constexpr wchar_t kRecovery[] = L".recovery";
constexpr wchar_t kTemporary[] = L".tmp";

bool EndsWith(const std::wstring& name, const wchar_t* end) {
  std::size_t length = std::wcslen(end);
  return name.size() > length && name.compare(name.size() - length, length, end) == 0;
}

// A file's whole content; nothing when it cannot be read.
std::optional<std::string> ReadAll(const std::wstring& path) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size;
  if (!file || !GetFileSizeEx(file.Get(), &size) || size.HighPart != 0 || size.LowPart > 0x7FFFFFFF) {
    return std::nullopt;
  }
  std::string bytes(size.LowPart, '\0');
  DWORD got = 0;
  if (!bytes.empty() && (!ReadFile(file.Get(), bytes.data(), size.LowPart, &got, nullptr) || got != size.LowPart)) {
    return std::nullopt;
  }
  return bytes;
}

// Whether the program named name has ended: its lock file is gone or no
// longer held. A lock file that outlived its program (the system went down
// before deleting it) is opened and handed back in stale, to be deleted once
// the program's files are dealt with.
bool HasEnded(const std::wstring& name, FileHandle& stale) {
  stale.Reset(
      CreateFileW((name + kLock).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (stale) return true;
  DWORD error = GetLastError();
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

}  // namespace

std::wstring LocalAppDataFolder() {
  wchar_t folder[MAX_PATH * 2];
  DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", folder, MAX_PATH * 2);
  if (length > 0 && length < MAX_PATH * 2) return folder;
  if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) return folder;
  return L"";
}

RecoveryFile::RecoveryFile(const std::wstring& folder) : folder_(folder) {
  InitializeCriticalSection(&section_);
  if (folder_.empty()) return;
  CreateDirectoryW(folder_.c_str(), nullptr);
  // A name no file in the folder has: the process id and the time, and a
  // count should both ever meet an older file.
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  for (unsigned attempt = 0; attempt < 100 && !lock_; ++attempt) {
    wchar_t name[64];
    std::swprintf(name, 64, L"\\%08lx-%08lx-%u", GetCurrentProcessId(), now.dwLowDateTime, attempt);
    name_ = folder_ + name;
    lock_.Reset(CreateFileW((name_ + kLock).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    if (!lock_ && GetLastError() != ERROR_FILE_EXISTS) return;
  }
  if (!lock_) return;
  path_ = name_ + kRecovery;
  wake_.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  idle_.Reset(CreateEventW(nullptr, TRUE, TRUE, nullptr));
  if (wake_ && idle_) thread_.Reset(CreateThread(nullptr, 0, Work, this, 0, nullptr));
  // Never in the way of the window's thread.
  if (thread_) SetThreadPriority(thread_.Get(), THREAD_PRIORITY_BELOW_NORMAL);
}

RecoveryFile::~RecoveryFile() {
  if (thread_) {
    EnterCriticalSection(&section_);
    stopping_ = true;
    LeaveCriticalSection(&section_);
    SetEvent(wake_.Get());
    WaitForSingleObject(thread_.Get(), INFINITE);
  }
  DeleteCriticalSection(&section_);
}

DWORD WINAPI RecoveryFile::Work(void* self) {
  auto* file = static_cast<RecoveryFile*>(self);
  for (;;) {
    WaitForSingleObject(file->wake_.Get(), INFINITE);
    for (;;) {
      EnterCriticalSection(&file->section_);
      if (!file->pending_) {
        const bool stopping = file->stopping_;
        SetEvent(file->idle_.Get());
        LeaveCriticalSection(&file->section_);
        if (stopping) return 0;
        break;
      }
      std::function<std::string()> makeBytes = std::move(file->pending_);
      file->pending_ = nullptr;
      LeaveCriticalSection(&file->section_);
      try {
        file->Write(makeBytes());
      } catch (...) {
        // Not even the bytes could be made (no memory for them): the file
        // keeps what it held, and the next change tries again.
      }
    }
  }
}

void RecoveryFile::Write(const std::string& bytes) {
  // A new file, flushed, then moved over the old one: the recovery file is
  // at every moment either the last one written or the one before it.
  const std::wstring temporary = name_ + kTemporary;
  bool written = false;
  {
    FileHandle file(
        CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    written = true;
    for (std::size_t done = 0; written && done < bytes.size();) {
      DWORD count = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
      DWORD wrote = 0;
      written = WriteFile(file.Get(), bytes.data() + done, count, &wrote, nullptr) && wrote == count;
      done += count;
    }
    written = written && FlushFileBuffers(file.Get());
  }
  if (!written || !MoveFileExW(temporary.c_str(), path_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temporary.c_str());
  }
}

void RecoveryFile::WaitUntilIdle() {
  if (thread_) WaitForSingleObject(idle_.Get(), INFINITE);
}

void RecoveryFile::Keep(std::function<std::string()> makeBytes) {
  if (!thread_) return;
  EnterCriticalSection(&section_);
  pending_ = std::move(makeBytes);
  ResetEvent(idle_.Get());
  LeaveCriticalSection(&section_);
  SetEvent(wake_.Get());
}

void RecoveryFile::Remove() {
  if (!thread_) return;
  EnterCriticalSection(&section_);
  pending_ = nullptr;
  LeaveCriticalSection(&section_);
  WaitUntilIdle();
  DeleteFileW(path_.c_str());
}

std::optional<std::string> RecoveryFile::ClaimOrphan() {
  if (!thread_) return std::nullopt;
  WaitUntilIdle();
  // A file under this program's own name was left by an earlier program of
  // the same name, whose lock went with it.
  if (GetFileAttributesW(path_.c_str()) != INVALID_FILE_ATTRIBUTES) return ReadAll(path_).value_or("");
  WIN32_FIND_DATAW found;
  FindHandle search(FindFirstFileW((folder_ + L"\\*").c_str(), &found));
  if (!search) return std::nullopt;
  std::optional<std::string> claimed;
  do {
    const std::wstring file = found.cFileName;
    const bool recovery = EndsWith(file, kRecovery);
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !(recovery || EndsWith(file, kTemporary))) continue;
    const std::wstring name =
        folder_ + L"\\" + file.substr(0, file.size() - std::wcslen(recovery ? kRecovery : kTemporary));
    FileHandle stale;
    if (name == name_ || !HasEnded(name, stale)) continue;
    if (!recovery) {
      DeleteFileW((folder_ + L"\\" + file).c_str());  // half written when its program ended
    } else if (!claimed && MoveFileW((folder_ + L"\\" + file).c_str(), path_.c_str())) {
      // The stale lock is held until the rename is done: a program starting
      // meanwhile takes the orphan for a running program's and leaves it.
      claimed = ReadAll(path_).value_or("");
    }
    if (stale) {
      stale.Reset();
      DeleteFileW((name + kLock).c_str());
    }
  } while (FindNextFileW(search.Get(), &found));
  return claimed;
}

}  // namespace quolvi
