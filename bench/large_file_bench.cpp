// Large files: what each command costs against a baseline measured in the
// same run, one line each:
//   bench <name> size=<bytes> ours_s=<seconds> base_s=<seconds> ratio=<ours/base>
// (the peak working sets print ours_mb and base_mb instead of seconds).
//
// Opening and saving, word wrap and peak memory are measured in a process of
// their own each (the bench starts itself with "child"), so that one
// measurement's heap never slows another's. The keys, the Edit menu's
// enabling, typing and start-up are measured on the real quolvi.exe: keys
// go through the input queue (SendInput) to its window in the foreground,
// as a person types them.
#include <windows.h>
#include <psapi.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/commands.h"
#include "bench/bench_support.h"
#include "core/cp932.h"
#include "core/matcher.h"
#include "core/replace_all.h"
#include "win32/handles.h"
#include "win32/rich_editor.h"

namespace {

using namespace quolvi::bench;
using quolvi::FileHandle;
using quolvi::FindHandle;
using quolvi::KernelHandle;
using quolvi::WindowHandle;

// Puts marker into text every `every` bytes, on the next character
// boundary, count times.
std::string WithMarkers(const std::string& text, const std::string& marker, std::size_t every, std::size_t count) {
  std::string out;
  std::size_t placed = 0, from = 0;
  while (from < text.size()) {
    std::size_t to = from;
    while (to < text.size() && (to < from + every || placed >= count)) to += quolvi::cp932::CharLength(text, to);
    out.append(text, from, to - from);
    if (to < text.size()) {
      out += marker;
      ++placed;
    }
    from = to;
  }
  return out;
}

double PeakWorkingSetMb() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

WindowHandle MakeHost() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = HostProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "QuolviBench";
  RegisterClassA(&windowClass);
  return WindowHandle(CreateWindowExA(0, "QuolviBench", "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 400,
                                      nullptr, nullptr, windowClass.hInstance, nullptr));
}

// --- Children: one measurement each, in a process of its own ---------------

struct FileStream {
  HANDLE file;
  static DWORD CALLBACK Write(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* done) {
    DWORD n = 0;
    BOOL ok = WriteFile(reinterpret_cast<FileStream*>(cookie)->file, buffer, static_cast<DWORD>(size), &n, nullptr);
    *done = static_cast<LONG>(n);
    return ok ? 0 : 1;
  }
};

// Prints the child's figures on one line: seconds of each step, then the
// peak working set in MB.
int RunChild(const std::string& mode, const std::string& path) {
  quolvi::LibraryHandle library(LoadLibraryA("RICHED32.DLL"));
  WindowHandle host = MakeHost();
  const std::string saved = TempFile("quolvi-bench-saved.txt");
  std::vector<double> figures;
  if (mode == "ours") {
    quolvi::RichEditor editor;
    editor.SetBounds(RECT{0, 0, 580, 380});
    editor.Create(host.Get(), 1);
    figures.push_back(Seconds([&] { editor.LoadTextFile(path); }));
    figures.push_back(PeakWorkingSetMb());
    figures.push_back(Seconds([&] { editor.SaveTextFile(saved); }));
    figures.push_back(Seconds([&] { editor.SetWordWrap(true); }));
    figures.push_back(Seconds([&] { editor.SetWordWrap(false); }));
  } else {
    WindowHandle bare(NewBare(host.Get(), false));
    figures.push_back(Seconds([&] { BareOpen(bare.Get(), path); }));
    figures.push_back(PeakWorkingSetMb());
    figures.push_back(Seconds([&] {
      FileHandle file(CreateFileA(saved.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
      FileStream stream{file.Get()};
      EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&stream), 0, FileStream::Write};
      SendMessageA(bare.Get(), EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&es));
    }));
  }
  DeleteFileA(saved.c_str());
  for (double figure : figures) std::printf("%.4f ", figure);
  std::printf("\n");
  return 0;
}

// Runs this program as a child and reads the figures it prints.
std::vector<double> Child(const std::string& mode, const std::string& path) {
  return FiguresOfChild("child " + mode + " \"" + path + "\"");
}

// --- The real program --------------------------------------------------------

void PutOnClipboard(HWND owner, const std::u16string& text) {
  if (!OpenClipboard(owner)) return;
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
  if (quolvi::GlobalLockScope<char16_t> chars(memory); chars.Data()) {
    std::copy(text.c_str(), text.c_str() + text.size() + 1, chars.Data());
  }
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
}

// From a key pressed (or, posted, a key press posted to the editor, which
// skips the input queue) until the editor's selection has moved.
double KeyStep(const Started& app, WORD key, bool posted = false) {
  HWND editor = EditorOf(app.window);
  DWORD before = Selection(editor);
  return TimeUntil(
      app,
      [&] {
        if (posted) {
          PostMessageA(editor, WM_KEYDOWN, key, 1);
          PostMessageA(editor, WM_KEYUP, key, 0xC0000001);
        } else {
          PressKey(key);
        }
      },
      [&] { return Selection(editor) != before; });
}

// The shortcuts and keys as a person presses them, in the running program:
// Find Next from one match to the next, 1 KB apart near the start, against
// arrow-key and Page Down steps (Find Next scrolls the view, which the
// control repaints before it answers, as Page Down does; an arrow key
// within the view repaints one line); the arrow and Page Down keys against
// the same key posted to the editor, which skips the input queue; select
// all, copy and the date and time as keys against the same commands posted
// to the main window, which skip the key's way. And the Edit menu's
// enabling. Medians of 9.
struct ProgramFigures {
  double findNextKey, rightKey, downKey, pageDownKey;
  double downPosted, pageDownPosted;
  double selectAllKey, selectAllCommand;
  double copyKey, copyCommand;
  double dateKey, dateCommand;
  double editMenu;
};

ProgramFigures MeasureProgram(const std::string& exe, const std::string& path) {
  Started app = Start("\"" + exe + "\" \"" + path + "\"");
  WaitLoaded(app, path);
  HWND editor = EditorOf(app.window);
  Activate(app);
  // The search text goes in through the find dialog, as the user types it.
  PostMessageA(app.window, WM_COMMAND, quolvi::mnSrch, 0);
  HWND dialog = nullptr;
  for (double deadline = Now() + 30; !dialog && Now() < deadline; Sleep(1)) {
    dialog = FindWindowA("#32770", nullptr);
    if (dialog && !IsWindowVisible(dialog)) dialog = nullptr;
  }
  if (!dialog) throw std::runtime_error("no find dialog");
  SetDlgItemTextA(dialog, 0x480, "MATCH");  // the find dialog's text box
  DWORD before = Selection(editor);
  SendMessageA(dialog, WM_COMMAND, IDOK, 0);
  while (Selection(editor) == before) Sleep(0);
  SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  Activate(app);

  ProgramFigures figures{};
  auto median = [](int n, const std::function<double()>& one) {
    std::vector<double> values;
    for (int i = 0; i < n; ++i) values.push_back(one());
    return Median(values);
  };
  figures.findNextKey = median(9, [&] { return KeyStep(app, VK_F3); });
  figures.rightKey = median(9, [&] { return KeyStep(app, VK_RIGHT); });
  figures.downKey = median(9, [&] { return KeyStep(app, VK_DOWN); });
  figures.downPosted = median(9, [&] { return KeyStep(app, VK_DOWN, true); });
  // Each Page Down from the top, so that the text never runs out.
  auto caret = [&](LPARAM at) { SendMessageA(editor, EM_SETSEL, static_cast<WPARAM>(at), at); };
  figures.pageDownKey = median(9, [&] {
    caret(0);
    return KeyStep(app, VK_NEXT);
  });
  figures.pageDownPosted = median(9, [&] {
    caret(0);
    return KeyStep(app, VK_NEXT, true);
  });

  // A shortcut against its command posted to the main window, in turns.
  auto command = [&](UINT id) { PostMessageA(app.window, WM_COMMAND, id, 0); };
  auto pair = [&](double& key, double& posted, const std::function<double(bool byKey)>& one) {
    std::vector<double> keys, commands;
    for (int i = 0; i < 9; ++i) {
      keys.push_back(one(true));
      commands.push_back(one(false));
    }
    key = Median(keys);
    posted = Median(commands);
  };
  pair(figures.selectAllKey, figures.selectAllCommand, [&](bool byKey) {
    caret(100);
    DWORD from = Selection(editor);
    return TimeUntil(
        app, [&] { byKey ? PressKey('A', true) : command(quolvi::mnSelAll); },
        [&] { return Selection(editor) != from; });
  });
  pair(figures.copyKey, figures.copyCommand, [&](bool byKey) {
    SendMessageA(editor, EM_SETSEL, 100, 1100);
    DWORD copies = GetClipboardSequenceNumber();
    return TimeUntil(
        app, [&] { byKey ? PressKey('C', true) : command(quolvi::mnCopy); },
        [&] { return GetClipboardSequenceNumber() != copies; });
  });
  // Last, as it changes the text.
  pair(figures.dateKey, figures.dateCommand, [&](bool byKey) {
    caret(100);
    DWORD from = Selection(editor);
    return TimeUntil(
        app, [&] { byKey ? PressKey(VK_F5) : command(quolvi::mnDT); }, [&] { return Selection(editor) != from; });
  });

  HMENU edit = GetSubMenu(GetMenu(app.window), quolvi::Edit1);
  figures.editMenu = median(9, [&] {
    return Seconds([&] { SendMessageA(app.window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), quolvi::Edit1); });
  });
  Stop(app);
  return figures;
}

int RunTrivial() {
  WindowHandle host = MakeHost();
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}

// From a key typed through the input queue until the caret has moved past
// the character it types.
double TypeStep(HWND editor) {
  DWORD before = Selection(editor);
  INPUT keys[2]{};
  for (INPUT& key : keys) {
    key.type = INPUT_KEYBOARD;
    key.ki.wScan = 'x';
    key.ki.dwFlags = KEYEVENTF_UNICODE;
  }
  keys[1].ki.dwFlags |= KEYEVENTF_KEYUP;
  double start = Now();
  SendInput(2, keys, sizeof(INPUT));
  while (Selection(editor) == before) {
    if (Now() - start > 60) throw std::runtime_error("the typed key did not arrive");
  }
  return Now() - start;
}

void Wait(double seconds) {
  for (double end = Now() + seconds; Now() < end;) Sleep(1);
}

// Typing into 10 MB: a key typed as the recovery file is being taken and
// written (two seconds after the typing stopped, and up to 1.2 s later),
// against a key typed among others, every 0.1 s. The worst key of each.
double WorstKey(HWND editor, bool afterPauses) {
  double worst = 0;
  for (int i = 0; i < 13; ++i) {
    Wait(afterPauses ? 2.0 + 0.1 * i : 0.1);
    worst = std::max(worst, TypeStep(editor));
  }
  return worst;
}

// Removes the recovery files the programs left in appData, and their folder.
void EmptyRecoveryFolder(const std::string& appData) {
  const std::string recovery = appData + "\\Quolvi";
  WIN32_FIND_DATAA found;
  if (FindHandle search(FindFirstFileA((recovery + "\\*.*").c_str(), &found)); search) {
    do {
      DeleteFileA((recovery + "\\" + found.cFileName).c_str());
    } while (FindNextFileA(search.Get(), &found));
  }
  RemoveDirectoryA(recovery.c_str());
}

// Runs every part of the suite, or the one named.
int RunAll(const std::string& only, std::size_t editBytes) {
  auto part = [&only](const char* name) { return only.empty() || only == name; };
  const std::string exe = ProgramPath();
  const std::string path = TempFile("quolvi-bench.txt");
  // The programs keep their recovery files in a folder of the bench's own,
  // emptied at the end, never in the user's.
  const std::string appData = TempFile("quolvi-bench-appdata");
  CreateDirectoryA(appData.c_str(), nullptr);
  SetEnvironmentVariableA("LOCALAPPDATA", appData.c_str());
  const std::string mb1 = MakeText(1000000), mb10 = MakeText(10000000);

  // Opening, saving, word wrap, peak working set.
  for (const std::string* text : {&mb1, &mb10}) {
    if (!part("open")) break;
    WriteBytes(path, *text);
    std::vector<double> ours = Child("ours", path), base = Child("bare", path);
    if (ours.size() < 5 || base.size() < 3) throw std::runtime_error("a child failed");
    bool large = text == &mb10;
    Report(large ? "open-10MB" : "open-1MB", text->size(), ours[0], base[0]);
    std::printf("bench %s size=%zu ours_mb=%.0f base_mb=%.0f ratio=%.2f\n",
                large ? "peak-working-set-10MB" : "peak-working-set-1MB", text->size(), ours[1], base[1],
                ours[1] / base[1]);
    if (large) {
      Report("save-10MB", text->size(), ours[2], base[2]);
      Report("word-wrap-on-10MB", text->size(), ours[3], base[0]);
      Report("word-wrap-off-10MB", text->size(), ours[4], base[0]);
    }
  }

  // Find Next and menu enabling in the real program.
  ProgramFigures empty{};
  if (part("program")) {
    WriteBytes(path, "");
    Started app = Start("\"" + exe + "\" \"" + path + "\"");
    HMENU edit = GetSubMenu(GetMenu(app.window), quolvi::Edit1);
    std::vector<double> menus;
    for (int i = 0; i < 9; ++i) {
      menus.push_back(
          Seconds([&] { SendMessageA(app.window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), quolvi::Edit1); }));
    }
    empty.editMenu = Median(menus);
    Stop(app);
  }
  for (std::size_t size : {std::size_t{20000}, std::size_t{10000000}}) {
    if (!part("program")) break;
    std::string text = WithMarkers(size == 20000 ? MakeText(size) : mb10, "MATCH", 1000, 12);
    WriteBytes(path, text);
    ProgramFigures figures = MeasureProgram(exe, path);
    const std::string at = size == 20000 ? "-20KB" : "-10MB";
    auto report = [&](const std::string& name, double ours, double base) {
      Report((name + at).c_str(), text.size(), ours, base);
    };
    report("find-next-near", figures.findNextKey, figures.rightKey);
    Report(("find-next-near" + at + "-vs-page-down").c_str(), text.size(), figures.findNextKey, figures.pageDownKey);
    report("key-f3-vs-down", figures.findNextKey, figures.downKey);
    report("key-down", figures.downKey, figures.downPosted);
    report("key-page-down", figures.pageDownKey, figures.pageDownPosted);
    report("key-ctrl-a", figures.selectAllKey, figures.selectAllCommand);
    report("key-ctrl-c", figures.copyKey, figures.copyCommand);
    report("key-f5", figures.dateKey, figures.dateCommand);
    if (size != 20000) Report("edit-menu-enabling-10MB", text.size(), figures.editMenu, empty.editMenu);
  }

  // Find Next to a match at the very end of 10 MB, against one WholeText.
  if (part("search")) {
    WindowHandle host = MakeHost();
    quolvi::RichEditor editor;
    editor.SetBounds(RECT{0, 0, 580, 380});
    editor.Create(host.Get(), 1);
    WriteBytes(path, mb10 + "MATCH");
    editor.LoadTextFile(path);
    double base = Seconds([&] { (void)editor.WholeText(); });
    editor.LoadTextFile(path);
    double ours = Seconds([&] { quolvi::FindNextMatch(editor, quolvi::SearchFields{"MATCH", "", 0}); });
    Report("find-next-end-10MB", mb10.size() + 5, ours, base);

    // Replace all in 2 MB, against opening the same document.
    for (std::size_t count : {std::size_t{1000}, std::size_t{100000}}) {
      std::string text = WithMarkers(MakeText(2000000), "ab", 2000000 / count - 1, count);
      WriteBytes(path, text);
      double open = Seconds([&] { editor.LoadTextFile(path); });
      double replace = 0;
      int replaced = 0;
      replace = Seconds([&] {
        replaced = quolvi::ReplaceAll(editor, quolvi::SearchFields{"ab", "xyz", quolvi::kOptionReplaceAll});
      });
      std::printf("bench replace-all-%zu size=%zu ours_s=%.4f base_s=%.4f ratio=%.2f (replaced %d)\n", count,
                  text.size(), replace, open, replace / open, replaced);
      std::fflush(stdout);
    }
  }

  // Editing a large text (1 MB unless told), against opening it: select all
  // and the Delete key, its undo, pasting it whole, its undo, select all and
  // pasting a word; deleting 100 and 1,000 lines in the middle and undoing it.
  if (part("edit")) {
    WindowHandle host = MakeHost();
    quolvi::RichEditor editor;
    editor.SetBounds(RECT{0, 0, 580, 380});
    editor.Create(host.Get(), 1);
    const std::string edited = MakeText(editBytes);
    WriteBytes(path, edited);
    double open = Seconds([&] { editor.LoadTextFile(path); });
    auto press = [&](WORD key) { return Seconds([&] { SendMessageW(editor.Handle(), WM_KEYDOWN, key, 1); }); };
    auto undo = [&] { return Seconds([&] { editor.UndoLastEdit(); }); };
    editor.SelectWholeText();
    Report("select-all-delete", edited.size(), press(VK_DELETE), open);
    Report("undo-delete", edited.size(), undo(), open);
    editor.ClearText();
    PutOnClipboard(host.Get(), quolvi::cp932::Decode(edited).text);
    Report("paste", edited.size(), Seconds([&] { editor.PasteClipboard(); }), open);
    Report("undo-paste", edited.size(), undo(), open);
    PutOnClipboard(host.Get(), u"word");
    editor.LoadTextFile(path);
    editor.SelectWholeText();
    Report("select-all-paste-word", edited.size(), Seconds([&] { editor.PasteClipboard(); }), open);
    for (int lines : {100, 1000}) {
      editor.LoadTextFile(path);
      HWND control = editor.Handle();
      auto middle = static_cast<WPARAM>(SendMessageW(control, EM_GETLINECOUNT, 0, 0) / 2);
      CHARRANGE range{static_cast<LONG>(SendMessageW(control, EM_LINEINDEX, middle, 0)),
                      static_cast<LONG>(SendMessageW(control, EM_LINEINDEX, middle + lines, 0))};
      SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
      const std::string name = "delete-" + std::to_string(lines) + "-lines";
      Report(name.c_str(), edited.size(), press(VK_DELETE), open);
      Report(("undo-" + name).c_str(), edited.size(), undo(), open);
    }
  }

  if (part("typing")) {
    WriteBytes(path, mb10);
    Started app = Start("\"" + exe + "\" \"" + path + "\"");
    WaitLoaded(app, path);
    SetForegroundWindow(app.window);
    for (double deadline = Now() + 10; GetForegroundWindow() != app.window && Now() < deadline; Sleep(10)) {
    }
    HWND editor = EditorOf(app.window);
    TypeStep(editor);  // modified from here on
    double steady = WorstKey(editor, false);
    double paused = WorstKey(editor, true);
    // The pauses were long enough for the recovery file to be written.
    WIN32_FIND_DATAA found;
    bool kept =
        FindHandle(FindFirstFileA((appData + "\\Quolvi\\*.recovery").c_str(), &found)).Get() != INVALID_HANDLE_VALUE;
    Stop(app);
    // Left by a program that was ended, it would be offered to the next.
    EmptyRecoveryFolder(appData);
    std::printf("bench type-key-during-recovery-10MB size=%zu ours_s=%.4f base_s=%.4f ratio=%.2f (%s)\n", mb10.size(),
                paused, steady, paused / steady, kept ? "recovery file written" : "no recovery file");
    std::fflush(stdout);
  }

  // Start-up to a window ready for input, against a trivial program.
  if (part("start")) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::vector<double> ours, base;
    for (int i = 0; i < 3; ++i) {
      Started started;
      ours.push_back(Seconds([&] { started = Start("\"" + exe + "\""); }));
      Stop(started);
      base.push_back(Seconds([&] { started = Start("\"" + std::string(self) + "\" trivial", false); }));
      Stop(started);
    }
    Report("start-up", 0, Median(ours), Median(base));
  }
  DeleteFileA(path.c_str());
  EmptyRecoveryFolder(appData);
  RemoveDirectoryA(appData.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "child" && argc > 3) return RunChild(argv[2], argv[3]);
    if (mode == "trivial") return RunTrivial();
    // A part of the suite (open, program, search, edit, typing, start), or all.
    return RunAll(mode, argc > 2 ? std::stoul(argv[2]) : 1000000);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench failed: %s\n", error.what());
    return 1;
  }
}
