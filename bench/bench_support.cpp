#include "bench/bench_support.h"

#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string_view>

#include "core/cp932.h"
#include "core/font_size.h"
#include "win32/rich_editor.h"

namespace quolvi::bench {
namespace {

struct PieceSource {
  std::string_view text;
  static DWORD CALLBACK Read(DWORD_PTR cookie, LPBYTE buffer, LONG capacity, LONG* got) {
    auto* self = reinterpret_cast<PieceSource*>(cookie);
    std::size_t n = std::min(self->text.size(), static_cast<std::size_t>(capacity));
    // Whole lines, so that no character and no line break is cut; of a line
    // longer than the buffer, whole characters, never a CR without its LF.
    if (n < self->text.size()) {
      std::size_t lineEnd = self->text.rfind('\n', n - 1);
      if (lineEnd != std::string_view::npos) {
        n = lineEnd + 1;
      } else {
        std::size_t end = 0;
        while (end + quolvi::cp932::CharLength(self->text, end) <= n) end += quolvi::cp932::CharLength(self->text, end);
        n = end > 1 && self->text[end - 1] == '\r' ? end - 1 : end;
      }
    }
    std::copy_n(self->text.data(), n, buffer);
    self->text.remove_prefix(n);
    *got = static_cast<LONG>(n);
    return 0;
  }
};

BOOL CALLBACK FindShown(HWND hwnd, LPARAM lParam) {
  auto* started = reinterpret_cast<Started*>(lParam);
  DWORD id = 0;
  GetWindowThreadProcessId(hwnd, &id);
  if (id != GetProcessId(started->process.Get()) || !IsWindowVisible(hwnd)) return TRUE;
  if (started->withEditor && !EditorOf(hwnd)) return TRUE;
  started->window = hwnd;
  return FALSE;
}

}  // namespace

double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Seconds(const std::function<void()>& work) {
  double start = Now();
  work();
  return Now() - start;
}

std::string MakeText(std::size_t size) {
  static const char* const words[] = {"日本語の", "文章を",       "編集する", "ｶﾀｶﾅ", "text ",  "表示", "、",
                                      "。",       "ソフトウェア", "能力",     "予定", "十分な", "123 "};
  std::string text;
  text.reserve(size + 64);
  unsigned state = 1;
  std::size_t lineStart = 0;
  while (text.size() < size) {
    state = state * 1103515245u + 12345u;
    text += words[(state >> 16) % 13];
    if (text.size() - lineStart > 40 + (state >> 8) % 60) {
      text += "\r\n";
      lineStart = text.size();
    }
  }
  return text;
}

std::string TempFile(const char* name) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + name;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written = 0;
  if (!file || !WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
    throw std::runtime_error("cannot write " + path);
  }
}

void Report(const char* name, std::size_t size, double ours, double base) {
  std::printf("bench %s size=%zu ours_s=%.4f base_s=%.4f ratio=%.2f\n", name, size, ours, base, ours / base);
  std::fflush(stdout);
}

std::vector<double> FiguresOfChild(const std::string& arguments) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string output = TempFile("quolvi-bench-child.txt");
  {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    FileHandle out(CreateFileA(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr));
    std::string commandLine = "\"" + std::string(self) + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out.Get();
    startup.hStdError = out.Get();
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &info)) {
      throw std::runtime_error("cannot start " + commandLine);
    }
    KernelHandle process(info.hProcess), thread(info.hThread);
    WaitForSingleObject(process.Get(), INFINITE);
  }
  std::vector<double> figures;
  if (FILE* in = std::fopen(output.c_str(), "r")) {
    for (double figure; std::fscanf(in, "%lf", &figure) == 1;) figures.push_back(figure);
    std::fclose(in);
  }
  DeleteFileA(output.c_str());
  return figures;
}

void BareOpen(HWND control, const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  std::string text(GetFileSize(file.Get(), nullptr), '\0');
  DWORD got = 0;
  ReadFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &got, nullptr);
  BareFill(control, text);
}

void BareFill(HWND control, std::string_view text) {
  SendMessageA(control, WM_SETREDRAW, FALSE, 0);
  for (std::size_t from = 0; from < text.size();) {
    // Whole lines of 64 KB and more; a longer line in one stream, which the
    // control lays out once (streamed in pieces, it lays the line out anew
    // after each).
    std::size_t lineFeed = text.size() - from > 64 * 1024 ? text.find('\n', from + 64 * 1024 - 1) : text.npos;
    std::size_t to = lineFeed == text.npos ? text.size() : lineFeed + 1;
    if (from > 0) SendMessageA(control, EM_SETSEL, -1, -1);
    PieceSource source{text.substr(from, to - from)};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, PieceSource::Read};
    SendMessageA(control, EM_STREAMIN, SF_TEXT | (from > 0 ? SFF_SELECTION : 0), reinterpret_cast<LPARAM>(&stream));
    from = to;
  }
  SendMessageA(control, EM_EMPTYUNDOBUFFER, 0, 0);
  SendMessageA(control, WM_SETREDRAW, TRUE, 0);
}

HWND NewBare(HWND host, bool wrap, int width, int height) {
  HWND control = CreateWindowExA(WS_EX_CLIENTEDGE, "RICHEDIT", "",
                                 WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                                     ES_NOHIDESEL | (wrap ? 0 : ES_AUTOHSCROLL),
                                 0, 0, width, height, host, nullptr, GetModuleHandleA(nullptr), nullptr);
  SendMessageA(control, EM_LIMITTEXT, quolvi::RichEditor::kTextLimit, 0);
  // The editor's font, which its layout measures.
  quolvi::RichEditor defaults;
  CHARFORMATA format{};
  format.cbSize = sizeof format;
  format.dwMask = CFM_FACE | CFM_SIZE | CFM_CHARSET;
  lstrcpynA(format.szFaceName, defaults.FaceName().c_str(), LF_FACESIZE);
  format.yHeight = quolvi::TwipsFromPointSize(defaults.PointSize());
  format.bCharSet = SHIFTJIS_CHARSET;
  SendMessageA(control, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  return control;
}

HWND EditorOf(HWND main) { return FindWindowExA(main, nullptr, "RICHEDIT", nullptr); }

Started Start(const std::string& commandLine, bool withEditor, double timeoutSeconds) {
  std::string line = commandLine;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    throw std::runtime_error("cannot start " + commandLine);
  }
  Started started;
  started.withEditor = withEditor;
  started.process.Reset(info.hProcess);
  KernelHandle thread(info.hThread);
  const auto waitMs = static_cast<DWORD>(timeoutSeconds * 1000);
  WaitForInputIdle(started.process.Get(), waitMs);
  for (double deadline = Now() + timeoutSeconds; !started.window && Now() < deadline; Sleep(0)) {
    EnumWindows(FindShown, reinterpret_cast<LPARAM>(&started));
  }
  if (!started.window) throw std::runtime_error("no window from " + commandLine);
  WaitForInputIdle(started.process.Get(), waitMs);
  return started;
}

void Stop(Started& started) {
  TerminateProcess(started.process.Get(), 0);
  WaitForSingleObject(started.process.Get(), 10000);
}

DWORD Selection(HWND editor) { return static_cast<DWORD>(SendMessageA(editor, EM_GETSEL, 0, 0)); }

void Settle(const Started& app) {
  WaitForInputIdle(app.process.Get(), 600000);
  DWORD_PTR result;
  SendMessageTimeoutA(app.window, WM_NULL, 0, 0, SMTO_NORMAL, 600000, &result);
}

void WaitLoaded(const Started& app, const std::string& path, double timeoutSeconds) {
  const std::string name = path.substr(path.find_last_of("\\/") + 1);
  for (double deadline = Now() + timeoutSeconds;; Sleep(1)) {
    char caption[MAX_PATH * 2] = "";
    GetWindowTextA(app.window, caption, sizeof caption);
    if (std::string_view(caption).find(name) != std::string_view::npos) return;
    if (Now() > deadline) throw std::runtime_error("the file was not loaded");
  }
}

void WaitUntilDrawn(const Started& app, double timeoutSeconds) {
  // A window's update region goes as it starts painting; the message sent
  // after it is handled once the painting is done.
  for (double deadline = Now() + timeoutSeconds; Now() < deadline; Sleep(1)) {
    HWND editor = EditorOf(app.window);
    if (!GetUpdateRect(app.window, nullptr, FALSE) && !(editor && GetUpdateRect(editor, nullptr, FALSE))) break;
  }
  DWORD_PTR result;
  SendMessageTimeoutA(app.window, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(timeoutSeconds * 1000), &result);
}

void Activate(const Started& app) {
  const DWORD thread = GetWindowThreadProcessId(app.window, nullptr);
  for (double deadline = Now() + 10; Now() < deadline; Sleep(10)) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetForegroundWindow() == app.window && GetGUIThreadInfo(thread, &info) && info.hwndActive == app.window) {
      Settle(app);
      return;
    }
    SetForegroundWindow(app.window);
  }
  throw std::runtime_error("the program's window did not become the active window");
}

double TimeUntil(const Started& app, const std::function<void()>& action, const std::function<bool()>& done,
                 double timeoutSeconds) {
  Settle(app);
  double start = Now();
  action();
  while (!done()) {
    if (Now() - start > timeoutSeconds) throw std::runtime_error("an action did not end");
  }
  return Now() - start;
}

void PressKey(WORD key, bool ctrl) {
  std::vector<INPUT> inputs;
  auto add = [&inputs](WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  if (ctrl) add(VK_CONTROL, false);
  add(key, false);
  add(key, true);
  if (ctrl) add(VK_CONTROL, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

std::string ProgramPath() {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string folder(self);
  folder.resize(folder.find_last_of('\\') + 1);
  return folder + "..\\app\\quolvi.exe";
}

}  // namespace quolvi::bench
