#include "win32/shell.h"

#include <shellapi.h>

#include "win32/file_names.h"
#include "win32/handles.h"

namespace quolvi {

int ShellOpen(HWND owner, const std::string& file) {
  // Wine before 8.17 copies the text after a registry path of 52 characters
  // into a buffer of 1,024 on the stack; a longer text overruns it and ends
  // this program with its document. No file or folder name comes near that
  // length (MAX_PATH), so a longer text is answered as not found without
  // asking the shell, and the caller runs it as a command line.
  if (file.size() > kLongestShellText) return SE_ERR_FNF;
  HINSTANCE result = ShellExecuteA(owner, "open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

int RunCommandLine(const std::string& commandLine) {
  return static_cast<int>(WinExec(commandLine.c_str(), SW_SHOWNORMAL));
}

bool ShowRunDialog(HWND owner) {
  // Exported by its ordinal alone. Six pointer-sized arguments: the owner,
  // then icon, folder, title, prompt and flags, all zero for the standard
  // dialog.
  using RunDialog = void(WINAPI*)(HWND, HICON, LPCVOID, LPCVOID, LPCVOID, UINT_PTR);
  LibraryHandle shell(LoadLibraryA("shell32.dll"));
  if (!shell) return false;
  FARPROC function = GetProcAddress(shell.Get(), MAKEINTRESOURCEA(61));
  if (!function) return false;
  reinterpret_cast<RunDialog>(reinterpret_cast<void (*)()>(function))(owner, nullptr, nullptr, nullptr, nullptr, 0);
  return true;
}

std::wstring ExecutableFileName() {
  // A path may be longer than MAX_PATH; the buffer grows until it fits.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::string ExecutablePath() { return NarrowPath(ExecutableFileName()).value_or(""); }

}  // namespace quolvi
