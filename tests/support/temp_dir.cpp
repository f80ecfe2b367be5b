#include "tests/support/temp_dir.h"

#include <windows.h>

#include <stdexcept>

#include "win32/handles.h"

namespace quolvi::test {

TempDir::TempDir() {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  static unsigned counter = 0;
  for (;;) {
    path_ =
        std::string(base) + "quolvi-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
    if (CreateDirectoryA(path_.c_str(), nullptr)) break;
    if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create " + path_);
  }
}

namespace {

// Removes a folder with everything in it.
void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  if (FindHandle search(FindFirstFileA((folder + "\\*").c_str(), &found)); search) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string entry = folder + "\\" + name;
      SetFileAttributesA(entry.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(entry);
      } else {
        DeleteFileA(entry.c_str());
      }
    } while (FindNextFileA(search.Get(), &found));
  }
  RemoveDirectoryA(folder.c_str());
}

}  // namespace

TempDir::~TempDir() { RemoveTree(path_); }

std::string TempDir::File(std::string_view name) const { return path_ + "\\" + std::string(name); }

void WriteBytes(const std::string& path, std::string_view bytes) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw std::runtime_error("cannot create " + path);
  DWORD written = 0;
  if (!bytes.empty() && (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
                         written != bytes.size())) {
    throw std::runtime_error("cannot write " + path);
  }
}

std::string ReadBytes(const std::string& path) {
  FileHandle file(
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw std::runtime_error("cannot open " + path);
  std::string bytes(GetFileSize(file.Get(), nullptr), '\0');
  DWORD got = 0;
  if (!bytes.empty() && !ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) {
    throw std::runtime_error("cannot read " + path);
  }
  bytes.resize(got);
  return bytes;
}

}  // namespace quolvi::test

namespace quolvi::test {

std::string ReadBytesWhenFree(const std::string& path) {
  try {
    return ReadBytes(path);
  } catch (const std::runtime_error&) {
    return "";
  }
}

}  // namespace quolvi::test
