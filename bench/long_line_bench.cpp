// Long lines: each action on a text without a line break, in the running
// program, against the same action in a bare program that holds the bare
// control with the same line (the control's own floor), one line each:
//   bench long-line-<action>-<text> size=<bytes> ours_s=<seconds> base_s=<seconds> ratio=<ours/base>
//
// The texts are one line each, with "MATCH" at its end: 512 KB of ASCII and
// 512 KB of Japanese; others by name (1MB-ascii: the bare control alone
// takes minutes over some of its actions). The actions, as a person meets
// them:
//   open: from launch until the text is in and drawn (ours: the caption
//     names the file; the bare program's says it is filled)
//   find-end: F3 from the start until the match at the end is selected
//     (the bare program: EM_FINDTEXTEX, the selection and the scroll), the
//     second time: the first search (through the find dialog) gives the text
//   word-wrap-on, word-wrap-off: until the new window holds the text and
//     is drawn (the bare program: a new control of the other style, filled)
//   type-end: Ctrl+End and a typed character, until the text holds it
//   close: until the program has ended, the document unchanged
// Keys go through the input queue to the program in the foreground. Each
// program starts from a folder of its own, so that the settings it writes
// as it closes reach no other.
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/messages.h"
#include "bench/bench_support.h"
#include "core/cp932.h"
#include "core/line_breaks.h"

namespace {

using namespace quolvi::bench;
using quolvi::FileHandle;
using quolvi::WindowHandle;

// How long one action may take before the bench gives up.
constexpr double kActionSeconds = 1800;

constexpr UINT kSwitchWrap = WM_APP + 1;
constexpr UINT kFindEnd = WM_APP + 2;
constexpr char kMarker[] = "MATCH";
// The main window's size.
constexpr int kWidth = 491;
constexpr int kHeight = 391;

// --- The bare program -------------------------------------------------------

struct BareProgram {
  HWND host = nullptr;
  HWND control = nullptr;
  HWND statusBar = nullptr;
  quolvi::FontHandle statusFont;
  std::string text;
  bool wrap = false;

  void Fill(bool wrapOn) {
    if (control) DestroyWindow(control);
    wrap = wrapOn;
    RECT client;
    GetClientRect(host, &client);
    control = NewBare(host, wrap, client.right, client.bottom - StatusBarHeight());
    BareFill(control, text);
    SetFocus(control);
    InvalidateRect(control, nullptr, TRUE);
    UpdateWindow(control);
  }

  // A status bar as the program's: its font, at least 20 pixels high
  // inside, placed by itself; the editor goes above its real height.
  void MakeStatusBar() {
    LOGFONTA font{};
    font.lfHeight = -17;
    font.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpynA(font.lfFaceName, "MS UI Gothic", LF_FACESIZE);
    statusFont = quolvi::FontHandle(CreateFontIndirectA(&font));
    statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, host, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    SendMessageA(statusBar, WM_SETFONT, reinterpret_cast<WPARAM>(statusFont.Get()), FALSE);
  }
  int StatusBarHeight() const {
    SendMessageA(statusBar, SB_SETMINHEIGHT, 20, 0);
    SendMessageA(statusBar, WM_SIZE, 0, 0);
    RECT bar;
    return GetWindowRect(statusBar, &bar) ? bar.bottom - bar.top : 0;
  }
};

BareProgram* bare = nullptr;

LRESULT CALLBACK BareProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SETFOCUS:
      if (bare->control) SetFocus(bare->control);
      return 0;
    case kSwitchWrap:
      bare->Fill(!bare->wrap);
      SetWindowTextA(hwnd, bare->wrap ? "wrapped" : "unwrapped");
      return 0;
    case kFindEnd: {
      CHARRANGE selection{};
      SendMessageA(bare->control, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
      FINDTEXTEXA find{{selection.cpMax, -1}, kMarker, {}};
      if (SendMessageA(bare->control, EM_FINDTEXTEX, FR_DOWN | FR_MATCHCASE, reinterpret_cast<LPARAM>(&find)) >= 0) {
        SendMessageA(bare->control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&find.chrgText));
        SendMessageA(bare->control, WM_USER + 49, 0, 0);  // EM_SCROLLCARET of the rich-edit control
      }
      return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

// The bare program: a window of the main window's size with the bare
// control above a strip of the status bar's height, filled with the file's
// text the fastest way found; its caption says "filled" once the text is in
// and drawn. It switches word wrap (kSwitchWrap) and finds the marker
// (kFindEnd) when asked.
int RunBare(const std::string& path) {
  quolvi::LibraryHandle library(LoadLibraryA("RICHED32.DLL"));
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  BareProgram program;
  bare = &program;
  {
    FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    program.text.resize(GetFileSize(file.Get(), nullptr));
    DWORD got = 0;
    ReadFile(file.Get(), program.text.data(), static_cast<DWORD>(program.text.size()), &got, nullptr);
  }
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = BareProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = "QuolviBareLine";
  RegisterClassA(&windowClass);
  program.host = CreateWindowExA(0, windowClass.lpszClassName, "bare", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 100, 100,
                                 kWidth, kHeight, nullptr, nullptr, windowClass.hInstance, nullptr);
  program.MakeStatusBar();
  ShowWindow(program.host, SW_SHOW);
  UpdateWindow(program.host);
  program.Fill(false);
  SetWindowTextA(program.host, "filled");
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

// --- Measuring -----------------------------------------------------------------

std::string CaptionOf(HWND window) {
  char caption[512] = "";
  GetWindowTextA(window, caption, sizeof caption);
  return caption;
}

LRESULT TextLength(HWND editor) { return SendMessageW(editor, WM_GETTEXTLENGTH, 0, 0); }

struct Figures {
  double open = 0, findEnd = 0, wrapOn = 0, wrapOff = 0, typeEnd = 0, close = 0;
};

// A program holding the text, started from its own folder: quolvi.exe
// (ours) or this bench as the bare program.
class Program {
 public:
  Program(bool ours, const std::string& path) : ours_(ours) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    folder_ = TempFile(ours ? "quolvi-bench-long-ours" : "quolvi-bench-long-bare");
    CreateDirectoryA(folder_.c_str(), nullptr);
    exe_ = folder_ + "\\program.exe";
    if (!CopyFileA(ours ? ProgramPath().c_str() : self, exe_.c_str(), FALSE)) throw std::runtime_error("cannot copy");
    commandLine_ = "\"" + exe_ + "\" " + (ours ? "" : "bare ") + "\"" + path + "\"";
  }
  ~Program() {
    if (app_.process) Stop(app_);
    DeleteFileA(exe_.c_str());
    DeleteFileA((folder_ + "\\vessaro.ini").c_str());
    RemoveDirectoryA(folder_.c_str());
  }

  // From launch until the text is in and drawn.
  double Open() {
    double start = Now();
    app_ = Start(commandLine_, true, kActionSeconds);
    const std::string done = ours_ ? quolvi::messages::kOpenedCaption : "filled";
    while (CaptionOf(app_.window).rfind(done, 0) != 0) {
      if (Now() - start > kActionSeconds) throw std::runtime_error("the text did not come in");
      Sleep(1);
    }
    WaitUntilDrawn(app_, kActionSeconds);
    double seconds = Now() - start;
    if (TextLength(EditorOf(app_.window)) == 0) throw std::runtime_error("the text did not come in");
    Activate(app_);
    return seconds;
  }

  // F3 from the start of the text until the match at its end is selected
  // and drawn; the first search (ours: through the find dialog) is not
  // counted.
  double FindEnd() {
    HWND editor = EditorOf(app_.window);
    if (ours_ && !searchGiven_) {
      PostMessageA(app_.window, WM_COMMAND, quolvi::mnSrch, 0);
      HWND dialog = nullptr;
      for (double deadline = Now() + 30; !dialog && Now() < deadline; Sleep(1)) {
        dialog = FindWindowA("#32770", nullptr);
        if (dialog && !IsWindowVisible(dialog)) dialog = nullptr;
      }
      if (!dialog) throw std::runtime_error("no find dialog");
      SetDlgItemTextA(dialog, 0x480, kMarker);  // the find dialog's text box
      // The dialog keeps its text once its button is pressed.
      SendMessageA(editor, EM_SETSEL, 0, 0);
      SendMessageA(dialog, WM_COMMAND, IDOK, 0);
      SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
      Activate(app_);
      searchGiven_ = true;
    } else if (!ours_ && !searchGiven_) {
      SendMessageA(app_.window, kFindEnd, 0, 0);
      searchGiven_ = true;
    }
    SendMessageA(editor, EM_SETSEL, 0, 0);
    DWORD before = Selection(editor);
    return Drawn(TimeUntil(
        app_, [&] { ours_ ? PressKey(VK_F3) : static_cast<void>(PostMessageA(app_.window, kFindEnd, 0, 0)); },
        [&] { return Selection(editor) != before; }, kActionSeconds));
  }

  // Word wrap switched, until the new window holds the whole text and is
  // drawn.
  double SwitchWrap(bool on) {
    HWND old = EditorOf(app_.window);
    const LRESULT length = TextLength(old);
    return Drawn(TimeUntil(
        app_,
        [&] {
          if (ours_) {
            PostMessageA(app_.window, WM_COMMAND, quolvi::mnWordWrap, 0);
          } else {
            PostMessageA(app_.window, kSwitchWrap, 0, 0);
          }
        },
        [&] {
          if (!ours_) return CaptionOf(app_.window) == (on ? "wrapped" : "unwrapped");
          HWND editor = EditorOf(app_.window);
          return editor && editor != old && IsWindowVisible(editor) &&
                 ((GetWindowLongA(editor, GWL_STYLE) & ES_AUTOHSCROLL) == 0) == on && TextLength(editor) == length;
        },
        kActionSeconds));
  }

  // Ctrl+End and a typed character, until the text holds it and is drawn.
  double TypeEnd() {
    HWND editor = EditorOf(app_.window);
    LRESULT before = TextLength(editor);
    return Drawn(TimeUntil(
        app_,
        [&] {
          PressKey(VK_END, true);
          PressKey('X');
        },
        [&] { return TextLength(editor) != before; }, kActionSeconds));
  }

  // Until the program has ended.
  double Close() {
    Settle(app_);
    double seconds = Seconds([&] {
      PostMessageA(app_.window, WM_CLOSE, 0, 0);
      if (WaitForSingleObject(app_.process.Get(), static_cast<DWORD>(kActionSeconds * 1000)) != WAIT_OBJECT_0) {
        throw std::runtime_error("the program did not end");
      }
    });
    app_.process.Reset();
    return seconds;
  }

 private:
  // The seconds an action took until done, and then until the program has
  // handled what came with it (the painting).
  double Drawn(double untilDone) {
    return untilDone + Seconds([&] { WaitUntilDrawn(app_, kActionSeconds); });
  }

  bool ours_;
  std::string folder_, exe_, commandLine_;
  Started app_;
  bool searchGiven_ = false;
};

// Every action in one program: open, find, word wrap on and off, close; then
// open again and type at the end (the document changed, the program is
// ended from outside).
Figures Measure(bool ours, const std::string& path) {
  Figures figures;
  const char* who = ours ? "ours" : "bare";
  auto step = [who](const char* action, double& figure, const std::function<double()>& measure) {
    figure = measure();
    std::fprintf(stderr, "long-line: %s %s %.3f s\n", who, action, figure);
  };
  {
    Program program(ours, path);
    step("open", figures.open, [&] { return program.Open(); });
    step("find-end", figures.findEnd, [&] { return program.FindEnd(); });
    step("word-wrap-on", figures.wrapOn, [&] { return program.SwitchWrap(true); });
    step("word-wrap-off", figures.wrapOff, [&] { return program.SwitchWrap(false); });
    step("close", figures.close, [&] { return program.Close(); });
  }
  Program program(ours, path);
  double again = 0;
  step("open", again, [&] { return program.Open(); });
  figures.open = std::min(figures.open, again);
  step("type-end", figures.typeEnd, [&] { return program.TypeEnd(); });
  return figures;
}

std::string AsciiLine(std::size_t size) {
  static const char* const words[] = {"text ", "line ", "123 ", "long ", "abc, ", "editor. "};
  std::string line;
  unsigned state = 7;
  while (line.size() < size) {
    state = state * 1103515245u + 12345u;
    line += words[(state >> 16) % 6];
  }
  return line;
}

std::string JapaneseLine(std::size_t size) {
  std::string text = MakeText(size + size / 16);
  std::string line;
  for (std::size_t from = 0; from < text.size() && line.size() < size;) {
    std::size_t end = text.find("\r\n", from);
    if (end == std::string::npos) end = text.size();
    line.append(text, from, end - from);
    from = end + 2;
  }
  return line;
}

int RunAll(const std::string& only) {
  struct Case {
    std::string name;
    std::string line;
  };
  std::vector<Case> cases;
  if (only.empty()) {
    cases = {{"512KB-ascii", AsciiLine(512 * 1024)}, {"512KB-japanese", JapaneseLine(512 * 1024)}};
  } else {
    // One text named by its size and its kind: 128KB-ascii, 1MB-ascii, 64KB-japanese.
    std::size_t digits = 0;
    const std::size_t count = std::stoul(only, &digits);
    const std::size_t size = count * (only.compare(digits, 2, "MB") == 0 ? 1024 * 1024 : 1024);
    const bool japanese = only.find("japanese") != std::string::npos;
    cases = {{only, japanese ? JapaneseLine(size) : AsciiLine(size)}};
  }
  const std::string path = TempFile("quolvi-bench-line.txt");
  // The programs keep their recovery files in a folder of the bench's own.
  const std::string appData = TempFile("quolvi-bench-long-appdata");
  CreateDirectoryA(appData.c_str(), nullptr);
  SetEnvironmentVariableA("LOCALAPPDATA", appData.c_str());
  for (const Case& c : cases) {
    const std::string text = c.line + kMarker;
    WriteBytes(path, text);
    const Figures base = Measure(false, path);
    const Figures ours = Measure(true, path);
    auto report = [&](const char* action, double o, double b) {
      Report(("long-line-" + std::string(action) + "-" + c.name).c_str(), text.size(), o, b);
    };
    report("open", ours.open, base.open);
    report("find-end", ours.findEnd, base.findEnd);
    report("word-wrap-on", ours.wrapOn, base.wrapOn);
    report("word-wrap-off", ours.wrapOff, base.wrapOff);
    report("type-end", ours.typeEnd, base.typeEnd);
    report("close", ours.close, base.close);
  }
  DeleteFileA(path.c_str());
  RemoveDirectoryA((appData + "\\Quolvi").c_str());
  RemoveDirectoryA(appData.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "bare" && argc > 2) return RunBare(argv[2]);
    // One text (such as 512KB-ascii or 256KB-japanese), or all three.
    return RunAll(mode);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench failed: %s\n", error.what());
    return 1;
  }
}
