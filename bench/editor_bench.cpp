// Loading and saving a large Shift-JIS file through the editor, measured
// against the bare rich-edit control streaming the same bytes in the same
// run. Prints one line per measurement:
//   bench <name> size=<bytes> ours_s=<seconds> base_s=<seconds> ratio=<ours/base>
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

#include "win32/handles.h"
#include "win32/rich_editor.h"

namespace {

using quolvi::FileHandle;

double Seconds(const std::function<void()>& work) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  work();
  QueryPerformanceCounter(&end);
  return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The best of a few runs, to keep noise out of the ratio.
double Best(int runs, const std::function<void()>& work) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) best = std::min(best, Seconds(work));
  return best;
}

// Japanese prose-like text: double-byte characters, ASCII and half-width
// katakana in lines of varying length, CR LF line breaks.
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

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD written;
  WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

struct FileStream {
  HANDLE file;
  static DWORD CALLBACK Read(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* got) {
    DWORD n = 0;
    BOOL ok = ReadFile(reinterpret_cast<FileStream*>(cookie)->file, buffer, size, &n, nullptr);
    *got = static_cast<LONG>(n);
    return ok ? 0 : 1;
  }
  static DWORD CALLBACK Write(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
    DWORD n = 0;
    BOOL ok = WriteFile(reinterpret_cast<FileStream*>(cookie)->file, buffer, size, &n, nullptr);
    *done = static_cast<LONG>(n);
    return ok ? 0 : 1;
  }
};

// The bare control, as a program would use it without the editor: the file
// streamed in and out as plain ANSI text.
void BareLoad(HWND control, const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  FileStream stream{file.Get()};
  EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&stream), 0, FileStream::Read};
  SendMessageA(control, EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&es));
}

void BareSave(HWND control, const std::string& path) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  FileStream stream{file.Get()};
  EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&stream), 0, FileStream::Write};
  SendMessageA(control, EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&es));
}

void Report(const char* name, std::size_t size, double ours, double base) {
  std::printf("bench %s size=%zu ours_s=%.3f base_s=%.3f ratio=%.2f\n", name, size, ours, base, ours / base);
  std::fflush(stdout);
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t size = argc > 1 ? std::stoul(argv[1]) : quolvi::kMaxDocumentBytes - 4096;  // the largest document
  int runs = argc > 2 ? std::stoi(argv[2]) : 3;

  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = HostProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "QuolviBench";
  RegisterClassA(&windowClass);
  quolvi::WindowHandle host(CreateWindowExA(0, "QuolviBench", "bench", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr,
                                            nullptr, windowClass.hInstance, nullptr));
  quolvi::RichEditor editor;
  editor.SetBounds(RECT{0, 0, 580, 380});
  editor.Create(host.Get(), 1);
  quolvi::LibraryHandle library(LoadLibraryA("RICHED32.DLL"));
  // The bare control has the editor's window styles and text limit, so that
  // the difference is what the editor adds. Each load goes into a new one:
  // the control deletes a long text in time quadratic in its lines.
  quolvi::WindowHandle bare;
  auto newBare = [&] {
    bare.Reset(CreateWindowExA(
        WS_EX_CLIENTEDGE, "RICHEDIT", "",
        WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL,
        0, 0, 580, 380, host.Get(), nullptr, windowClass.hInstance, nullptr));
    SendMessageA(bare.Get(), EM_LIMITTEXT, quolvi::RichEditor::kTextLimit, 0);
  };

  char tempPath[MAX_PATH];
  GetTempPathA(MAX_PATH, tempPath);
  const std::string in = std::string(tempPath) + "quolvi-bench-in.txt";
  const std::string out = std::string(tempPath) + "quolvi-bench-out.txt";
  const std::string text = MakeText(size);
  WriteFileBytes(in, text);

  double oursLoad = Best(runs, [&] { editor.LoadTextFile(in); });
  double baseLoad = Best(runs, [&] {
    newBare();
    BareLoad(bare.Get(), in);
  });
  Report("load-4MB", text.size(), oursLoad, baseLoad);

  double oursSave = Best(runs, [&] { editor.SaveTextFile(out); });
  double baseSave = Best(runs, [&] { BareSave(bare.Get(), out); });
  Report("save-4MB", text.size(), oursSave, baseSave);

  double oursText = Best(runs, [&] { (void)editor.WholeText(); });
  double baseText = Best(runs, [&] {
    auto n = static_cast<std::size_t>(SendMessageA(bare.Get(), WM_GETTEXTLENGTH, 0, 0));
    std::string buffer(n + 1, '\0');
    SendMessageA(bare.Get(), WM_GETTEXT, n + 1, reinterpret_cast<LPARAM>(buffer.data()));
  });
  Report("wholetext-4MB", text.size(), oursText, baseText);

  // The same text with an extension duplicate (≒ as 0x8790, which the
  // system writes as 0x81E0) in every line, against the text without.
  std::string marked;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find("\r\n", start);
    end = end == std::string::npos ? text.size() : end + 2;
    marked += "\x87\x90";
    marked.append(text, start, end - start);
    start = end;
  }
  WriteFileBytes(in, marked);
  double markedLoad = Best(runs, [&] { editor.LoadTextFile(in); });
  Report("load-marked-10MB", marked.size(), markedLoad, oursLoad);
  double markedSave = Best(runs, [&] { editor.SaveTextFile(out); });
  Report("save-marked-10MB", marked.size(), markedSave, oursSave);
  editor.LoadTextFile(in);
  WriteFileBytes(in, text);
  editor.LoadTextFile(in);

  editor.SetSelectionStart(static_cast<int>(text.size() / 2));
  double oursPosition = Best(runs, [&] { (void)editor.SelectionStart(); });
  double basePosition = Best(runs, [&] {
    CHARRANGE range;
    SendMessageA(bare.Get(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  });
  std::printf("bench selection-start-4MB size=%zu ours_s=%.4f base_s=%.6f (position mapping walks the text)\n",
              text.size(), oursPosition, basePosition);

  DeleteFileA(in.c_str());
  DeleteFileA(out.c_str());
  return 0;
}
