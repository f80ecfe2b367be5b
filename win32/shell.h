// Handing work to the shell: opening a file, address or program, running a
// command line, and the shell's Run dialog; and the running program's own
// path, for starting it again.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace quolvi {

// The longest text handed to the shell to open, in bytes.
inline constexpr std::size_t kLongestShellText = 960;

// ShellExecuteA with "open", the text as the file, no parameters or
// folder, SW_SHOWNORMAL and owner; its result as a signed integer, above 32
// on success. A text longer than kLongestShellText is not handed on: the
// result is SE_ERR_FNF (2), as for a file that is not found.
int ShellOpen(HWND owner, const std::string& file);

// WinExec of the command line with SW_SHOWNORMAL; above 32 on success, else
// the system's error code (2: the file was not found).
int RunCommandLine(const std::string& commandLine);

// The shell's Run dialog, shell32's export with ordinal 61, owned by owner;
// returns when it is closed. False when shell32 or the export is missing.
bool ShowRunDialog(HWND owner);

// The full path of the running program's executable (GetModuleFileNameW),
// however long it is.
std::wstring ExecutableFileName();
// The same as the narrow file functions take it (NarrowPath); empty when it
// has no such name.
std::string ExecutablePath();

}  // namespace quolvi
