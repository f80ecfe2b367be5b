// What the user sees first, from outside the program, one line each:
//   bench <name> size=<bytes> ours_s=<seconds> base_s=<seconds> ratio=<ours/base>
//
// first-screen-<size>: from launching quolvi.exe with a file of that size to
//   its first screen, against the same for a tiny file. The first screen is
//   there when the main window is shown, its editor is shown and holds text,
//   and the screen itself shows that text: at least kTextPixels pixels of the
//   editor's client area, read back from the screen, are dark (the window's
//   background is light).
// caption-<size>: from launching to the caption naming the file (the last
//   piece in), less the same for a tiny file, against the bare control's
//   fill of the same text in a program of its own.
// word-wrap-<on|off>-first-screen-<size>: from the word-wrap command to the
//   first screen of the new window (a new editor window shown, holding text,
//   drawn), against the bare control's fill of the same text with word wrap
//   so.
//
// The program runs from a copy in a folder of its own, with the default
// settings and a recovery folder of its own. Each figure is the median of
// kRuns launches.
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/commands.h"
#include "bench/bench_support.h"
#include "win32/handles.h"

namespace {

using namespace quolvi::bench;
using quolvi::FileHandle;
using quolvi::KernelHandle;
using quolvi::WindowHandle;

constexpr int kRuns = 3;
constexpr int kTextPixels = 100;  // more than a caret's
constexpr double kDeadline = 600;

std::string SelfPath() {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  return self;
}

// --- The bare control, in a process of its own -----------------------------

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

// The bare control with the editor's font, filled the fastest way found:
// the file read whole, then streamed in as ANSI in pieces of 64 KB, each at
// the end, redraw off. Prints the seconds it took.
int RunBare(const std::string& path, bool wrap) {
  quolvi::LibraryHandle library(LoadLibraryA("RICHED32.DLL"));
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = HostProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "QuolviFirstScreenBench";
  RegisterClassA(&windowClass);
  WindowHandle host(CreateWindowExA(0, windowClass.lpszClassName, "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 491,
                                    391, nullptr, nullptr, windowClass.hInstance, nullptr));
  WindowHandle control(quolvi::bench::NewBare(host.Get(), wrap, 475, 310));
  const double start = Now();
  quolvi::bench::BareOpen(control.Get(), path);
  RedrawWindow(control.Get(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  std::printf("%.4f\n", Now() - start);
  return 0;
}

// Runs this program as "bare" and reads the seconds it prints.
double BareFill(const std::string& path, bool wrap) {
  const std::vector<double> figures =
      FiguresOfChild(std::string("bare ") + (wrap ? "wrap" : "nowrap") + " \"" + path + "\"");
  if (figures.size() != 1) throw std::runtime_error("the bare fill failed");
  return figures[0];
}

// --- The real program, seen from outside --------------------------------------

struct Find {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindMain(HWND hwnd, LPARAM lParam) {
  auto* find = reinterpret_cast<Find*>(lParam);
  DWORD id = 0;
  GetWindowThreadProcessId(hwnd, &id);
  char name[32] = "";
  GetClassNameA(hwnd, name, sizeof name);
  if (id != find->processId || std::string(name) != "TFLumoSub1") return TRUE;
  find->found = hwnd;
  return FALSE;
}

// Whether the screen shows text in the editor's client area.
bool ScreenShowsText(HWND editor) {
  RECT area;
  if (!GetClientRect(editor, &area)) return false;
  MapWindowPoints(editor, nullptr, reinterpret_cast<POINT*>(&area), 2);
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return false;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  quolvi::GdiObject bitmap(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  HGDIOBJ old = SelectObject(memory, bitmap.Get());
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (!bits) return false;
  int dark = 0;
  const auto* pixel = static_cast<const unsigned char*>(bits);
  for (int i = 0; i < width * height && dark < kTextPixels; ++i, pixel += 4) {
    if (pixel[0] + pixel[1] + pixel[2] < 3 * 128) ++dark;
  }
  return dark >= kTextPixels;
}

// The editor window is shown and holds text, and the screen shows it.
bool FirstScreen(HWND editor) {
  if (!editor || !IsWindowVisible(editor)) return false;
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(editor, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 1000, &length) || length == 0) return false;
  return ScreenShowsText(editor);
}

std::string Caption(HWND window) {
  char text[MAX_PATH + 64] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// Polls every pollMs: often enough for the figure, and seldom enough not to
// slow the program down on a machine of two cores.
void WaitUntil(const std::function<bool()>& done, const char* what, DWORD pollMs) {
  for (double deadline = Now() + kDeadline; !done(); Sleep(pollMs)) {
    if (Now() > deadline) throw std::runtime_error(std::string("timed out waiting for ") + what);
  }
}

// A process that is ended when it goes.
struct Running {
  KernelHandle process;
  ~Running() {
    if (!process) return;
    TerminateProcess(process.Get(), 0);
    WaitForSingleObject(process.Get(), 10000);
  }
};

class Program {
 public:
  // Starts the program with the file and waits for its first screen and its
  // caption, timing both from the launch.
  Program(const std::string& exe, const std::string& path, const std::string& environment) {
    std::string commandLine = "\"" + exe + "\" \"" + path + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::string block = environment;
    const double start = Now();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, block.data(), nullptr, &startup,
                        &info)) {
      throw std::runtime_error("cannot start " + commandLine);
    }
    process_.process.Reset(info.hProcess);
    KernelHandle thread(info.hThread);
    Find find{info.dwProcessId, nullptr};
    WaitUntil(
        [&] {
          if (!window_) {
            EnumWindows(FindMain, reinterpret_cast<LPARAM>(&find));
            window_ = find.found;
          }
          return window_ && IsWindowVisible(window_) && FirstScreen(EditorOf(window_));
        },
        "the first screen", 2);
    firstScreen = Now() - start;
    const std::string caption = "Vessaro - " + path;
    WaitUntil([&] { return Caption(window_) == caption; }, "the caption", 20);
    captionShown = Now() - start;
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // From the word-wrap command to the first screen of the new window.
  double SwitchWordWrap() {
    HWND before = EditorOf(window_);
    const double start = Now();
    PostMessageA(window_, WM_COMMAND, quolvi::mnWordWrap, 0);
    WaitUntil(
        [&] {
          HWND editor = EditorOf(window_);
          return editor != before && FirstScreen(editor);
        },
        "the new window", 10);
    return Now() - start;
  }

  double firstScreen = 0;
  double captionShown = 0;

 private:
  Running process_;
  HWND window_ = nullptr;
};

// This program's environment with LOCALAPPDATA set to folder, as a block
// for CreateProcess.
std::string EnvironmentWith(const std::string& folder) {
  std::string block;
  const char* strings = GetEnvironmentStringsA();
  for (const char* entry = strings; *entry; entry += strlen(entry) + 1) {
    if (_strnicmp(entry, "LOCALAPPDATA=", 13) != 0) block.append(entry).push_back('\0');
  }
  FreeEnvironmentStringsA(const_cast<char*>(strings));
  block.append("LOCALAPPDATA=" + folder).push_back('\0');
  block.push_back('\0');
  return block;
}

int RunAll() {
  // A copy of the program in a folder of its own: no settings file but the
  // one it writes, and none is written (the programs are ended).
  const std::string folder = TempFile("quolvi-first-screen");
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string exe = folder + "\\quolvi.exe";
  std::string built = SelfPath();
  built.resize(built.find_last_of('\\') + 1);
  if (!CopyFileA((built + "..\\app\\quolvi.exe").c_str(), exe.c_str(), FALSE)) {
    throw std::runtime_error("cannot copy the program to " + folder);
  }
  const std::string appData = folder + "\\LocalAppData";
  CreateDirectoryA(appData.c_str(), nullptr);
  const std::string environment = EnvironmentWith(appData);
  const std::string path = folder + "\\document.txt";

  struct Launch {
    double firstScreen, caption;
  };
  auto launch = [&](const std::string& text) {
    WriteBytes(path, text);
    std::vector<double> first, caption;
    for (int run = 0; run < kRuns; ++run) {
      Program program(exe, path, environment);
      first.push_back(program.firstScreen);
      caption.push_back(program.captionShown);
    }
    return Launch{Median(first), Median(caption)};
  };
  const Launch tiny = launch("A tiny document,\r\nof two short lines.\r\n");
  for (std::size_t megabytes : {1, 5, 10}) {
    const std::string text = MakeText(megabytes * 1000000);
    const Launch large = launch(text);
    const double bare = BareFill(path, false);
    const std::string size = std::to_string(megabytes) + "MB";
    Report(("first-screen-" + size).c_str(), text.size(), large.firstScreen, tiny.firstScreen);
    Report(("caption-" + size).c_str(), text.size(), large.caption - tiny.caption, bare);
    if (megabytes != 10) continue;
    const double bareWrapped = BareFill(path, true);
    Program program(exe, path, environment);
    Report(("word-wrap-on-first-screen-" + size).c_str(), text.size(), program.SwitchWordWrap(), bareWrapped);
    Report(("word-wrap-off-first-screen-" + size).c_str(), text.size(), program.SwitchWordWrap(), bare);
  }
  DeleteFileA(path.c_str());
  DeleteFileA(exe.c_str());
  RemoveDirectoryA((appData + "\\Quolvi").c_str());
  RemoveDirectoryA(appData.c_str());
  RemoveDirectoryA(folder.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "bare" && argc > 3) return RunBare(argv[3], std::string(argv[2]) == "wrap");
    return RunAll();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench failed: %s\n", error.what());
    return 1;
  }
}
