// Replace all: 100,000 replacements in a 2 MB Shift-JIS document, measured
// against the time the editor needs to load the same document, in one run:
//   bench replace-all-100k size=<bytes> ours_s=<seconds> base_s=<seconds> ratio=<ours/base>
#include <windows.h>

#include <cstdio>
#include <string>

#include "core/replace_all.h"
#include "win32/handles.h"
#include "win32/rich_editor.h"

namespace {

double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

int main() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = HostProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "QuolviReplaceBench";
  RegisterClassA(&windowClass);
  quolvi::WindowHandle host(CreateWindowExA(0, windowClass.lpszClassName, "bench", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400,
                                            nullptr, nullptr, windowClass.hInstance, nullptr));
  quolvi::RichEditor editor;
  editor.SetBounds(RECT{0, 0, 580, 380});
  editor.Create(host.Get(), 1);

  // 100,000 lines of Japanese text, each with one "ab" to replace.
  std::string text;
  for (int i = 0; i < 100000; ++i) text += (i % 2 ? "表示ab日本語の文\r\n" : "ソフトab能力十分予定\r\n");
  char tempPath[MAX_PATH];
  GetTempPathA(MAX_PATH, tempPath);
  const std::string path = std::string(tempPath) + "quolvi-replace-bench.txt";
  {
    quolvi::FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written;
    WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }

  double start = Now();
  editor.LoadTextFile(path);
  double base = Now() - start;

  editor.SetSelectionStart(0);
  start = Now();
  int count = quolvi::ReplaceAll(editor, quolvi::SearchFields{"ab", "xyz", quolvi::kOptionReplaceAll});
  double ours = Now() - start;

  std::printf("bench replace-all-100k size=%zu ours_s=%.3f base_s=%.3f ratio=%.2f (replacements=%d)\n", text.size(),
              ours, base, ours / base, count);
  DeleteFileA(path.c_str());
  return count == 100000 ? 0 : 1;
}
