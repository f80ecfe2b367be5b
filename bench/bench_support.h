// What the benchmarks share: the clock, the report line, test texts and
// files, the bare control, and the real program driven as a person drives
// it (started, brought to the foreground, keys pressed through the input
// queue, waited for until it is idle).
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "win32/handles.h"

namespace quolvi::bench {

// Seconds on a monotonic clock, and the seconds work takes.
double Now();
double Seconds(const std::function<void()>& work);
double Median(std::vector<double> values);

// One line: bench <name> size=<bytes> ours_s=<seconds> base_s=<seconds> ratio=<ours/base>
void Report(const char* name, std::size_t size, double ours, double base);

// Japanese prose-like text: double-byte characters, ASCII and half-width
// katakana in lines of varying length, CR LF line breaks.
std::string MakeText(std::size_t size);
// A path in the temporary folder, and a file written there.
std::string TempFile(const char* name);
void WriteBytes(const std::string& path, const std::string& bytes);

// A bare rich-edit control as the editor's, child of host at the given
// size: the same styles (word wrap on or off) and font.
HWND NewBare(HWND host, bool wrap, int width = 580, int height = 380);
// The bare control filled the fastest way found: the text read whole, then
// streamed in as ANSI in pieces of whole lines of 64 KB or more, each at the
// end, redraw off.
void BareOpen(HWND control, const std::string& path);
// The same with a text in memory.
void BareFill(HWND control, std::string_view text);

// Runs this bench program again, with arguments, in a process of its own
// (a measurement that must not share the heap with the others), and reads
// the figures it prints.
std::vector<double> FiguresOfChild(const std::string& arguments);

// --- The real program ------------------------------------------------------

// quolvi.exe beside the bench's folder.
std::string ProgramPath();
HWND EditorOf(HWND main);
// The editor's selection as EM_GETSEL gives it.
DWORD Selection(HWND editor);

struct Started {
  KernelHandle process;
  HWND window = nullptr;  // shown, and holding an editor when one was asked for
  bool withEditor = false;
};
// Starts a program and waits until its window is shown and it waits for
// input.
Started Start(const std::string& commandLine, bool withEditor = true, double timeoutSeconds = 60);
void Stop(Started& started);
// Waits until the program has handled everything that came before: a
// message sent to its window returns only then.
void Settle(const Started& app);
// Waits until the program's caption names the file at path: a file given
// on the command line is shown at once and loaded while the user reads, and
// only then does the caption name it.
void WaitLoaded(const Started& app, const std::string& path, double timeoutSeconds = 1800);
// Waits until the main window and its editor have painted what they were
// to paint, and the program has handled what came before.
void WaitUntilDrawn(const Started& app, double timeoutSeconds = 1800);
// Makes the program's main window the foreground and the active window, as
// a person's click would, so that the keys pressed go to it.
void Activate(const Started& app);
// From an action until done() says it is done; the program settles first.
double TimeUntil(const Started& app, const std::function<void()>& action, const std::function<bool()>& done,
                 double timeoutSeconds = 120);
// A key pressed and released through the input queue, with Ctrl held when
// asked: the system gives it to the foreground window's focus, as it does a
// keyboard's.
void PressKey(WORD key, bool ctrl = false);

}  // namespace quolvi::bench
