#include "tests/support/temp_dir.h"

#include <windows.h>

#include <stdexcept>

#include "tests/support/wait.h"
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

std::wstring Wide(std::string_view text) {
  std::wstring wide(text.size(), L'\0');
  wide.resize(static_cast<std::size_t>(MultiByteToWideChar(932, 0, text.data(), static_cast<int>(text.size()),
                                                           wide.data(), static_cast<int>(wide.size()))));
  return wide;
}

namespace {

std::string Narrow(const std::wstring& text) {
  std::string narrow(2 * text.size(), '\0');
  narrow.resize(
      static_cast<std::size_t>(WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), narrow.data(),
                                                   static_cast<int>(narrow.size()), nullptr, nullptr)));
  return narrow;
}

}  // namespace

void WriteBytes(const std::string& path, std::string_view bytes) { WriteBytes(Wide(path), bytes); }

void WriteBytes(const std::wstring& path, std::string_view bytes) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw std::runtime_error("cannot create " + Narrow(path));
  DWORD written = 0;
  if (!bytes.empty() && (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
                         written != bytes.size())) {
    throw std::runtime_error("cannot write " + Narrow(path));
  }
}

std::string ReadBytes(const std::string& path) { return ReadBytes(Wide(path)); }

std::string ReadBytes(const std::wstring& path) {
  FileHandle file(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw std::runtime_error("cannot open " + Narrow(path));
  std::string bytes(GetFileSize(file.Get(), nullptr), '\0');
  DWORD got = 0;
  if (!bytes.empty() && !ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) {
    throw std::runtime_error("cannot read " + Narrow(path));
  }
  bytes.resize(got);
  return bytes;
}

}  // namespace quolvi::test

namespace quolvi::test {

bool MakeSymbolicLink(const std::string& link, const std::string& target) {
  const std::wstring wideLink = Wide(link);
  const auto made = [&] { return GetFileAttributesW(wideLink.c_str()) != INVALID_FILE_ATTRIBUTES; };
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  using Create = BOOLEAN(WINAPI*)(LPCWSTR, LPCWSTR, DWORD);
  constexpr DWORD kUnprivileged = 2;  // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
  if (auto create =
          reinterpret_cast<Create>(reinterpret_cast<void (*)()>(GetProcAddress(kernel, "CreateSymbolicLinkW")));
      create && create(wideLink.c_str(), Wide(target).c_str(), kUnprivileged) && made()) {
    return true;
  }
  using UnixName = char*(CDECL*)(LPCWSTR);
  auto unixName =
      reinterpret_cast<UnixName>(reinterpret_cast<void (*)()>(GetProcAddress(kernel, "wine_get_unix_file_name")));
  if (!unixName) return false;
  char* unixLink = unixName(wideLink.c_str());
  if (!unixLink) return false;
  std::string command = "/bin/ln -s \"" + target + "\" \"" + unixLink + "\"";
  HeapFree(GetProcessHeap(), 0, unixLink);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return false;
  // Wine hands back no process that can be waited for: the link is waited for.
  if (info.hProcess) CloseHandle(info.hProcess);
  if (info.hThread) CloseHandle(info.hThread);
  return WaitUntil(made, 10000);
}

std::string ReadBytesWhenFree(const std::string& path) { return ReadBytesWhenFree(Wide(path)); }

std::string ReadBytesWhenFree(const std::wstring& path) {
  try {
    return ReadBytes(path);
  } catch (const std::runtime_error&) {
    return "";
  }
}

}  // namespace quolvi::test
