// Drives the real quolvi.exe as a person would: starts it, presses keys
// through the system's input queue, opens menus, reads and answers message
// boxes, reads the window back, and waits for it to end. Every wait polls
// for a condition with a deadline.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include <optional>
#include <utility>
#include <vector>

#include "tests/support/temp_dir.h"
#include "win32/handles.h"

namespace quolvi::test {

// How long a wait lasts before it fails; a check that something does not
// happen waits as long.
inline constexpr int kDeadlineMs = 5000;

// A copy of quolvi.exe in a folder of its own. The program keeps its
// settings beside itself (vessaro.ini), so a test that starts its own copy
// starts from the settings it puts there, whatever other tests did. Its
// programs get a local application-data folder of its own too, where they
// keep their recovery files, so that they never see those of other tests.
class Installation {
 public:
  Installation();
  const std::string& folder() const { return dir_.path(); }
  std::string Executable() const { return dir_.File("quolvi.exe"); }
  std::string SettingsFile() const { return dir_.File("vessaro.ini"); }
  std::string LocalAppData() const { return dir_.File("LocalAppData"); }
  // The files in the folder of recovery files.
  std::vector<std::string> RecoveryFiles() const;

 private:
  TempDir dir_;
};

class App {
 public:
  // Starts quolvi.exe with the given command-line arguments (in the given
  // current folder, else the test's) and waits for its main window. The
  // program is that of installation, else a fresh copy of its own.
  explicit App(const std::string& arguments = "", const std::string& folder = "",
               const Installation* installation = nullptr);
  // The same with arguments in UTF-16, which may hold any character.
  explicit App(const std::wstring& arguments, const std::string& folder = "",
               const Installation* installation = nullptr);
  ~App();  // ends the program if it still runs
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  HWND window() const { return window_; }
  HWND editor() const;
  HWND statusBar() const;
  std::string Caption() const;
  std::string EditorText() const;
  std::string StatusText() const;
  // The editor's selection as start and end (positions of the control).
  std::pair<int, int> Selection() const;
  void Select(int start, int end);
  // The editor's background colour as the control paints it.
  COLORREF EditorBackground() const;

  // Makes the main window the foreground and the active window; throws when
  // it does not become so before the deadline.
  void Activate();
  // Types text as a keyboard or an input method delivers it.
  void Type(std::u16string_view text);
  // Presses a key with modifiers held (kCtrl, kShift, kAlt of commands.h).
  void Press(WORD key, unsigned modifiers = 0);
  // Presses a key and waits until the program has handled it.
  void PressAndSettle(WORD key, unsigned modifiers = 0);

  // Clicks the right mouse button over the editor and waits for the context
  // menu.
  void OpenContextMenu();
  // Opens a top-level menu with its access key (Alt+key) and waits for it.
  void OpenMenu(char accessKey);
  void CloseMenus();

  // A dialog box owned by the main window with the given caption (any
  // caption when empty), shown and enabled; null after the deadline.
  HWND WaitForDialog(const std::string& caption = "", int timeoutMs = kDeadlineMs) const;
  // The text of a message box.
  static std::string MessageBoxText(HWND box);
  // Waits for the program's message box, presses a button and returns the
  // box's text ("(no box)" when none came).
  std::string AnswerBox(int button);
  // Presses a button of a dialog box.
  static void PressButton(HWND dialog, int id);

  // Waits until the program has ended; false after the deadline.
  bool WaitForExit(int timeoutMs = 5000);
  // Ends the program at once, as a crash or a power cut would.
  void Kill();
  // Waits until the program is idle, waiting for input.
  void Settle() const;

 private:
  std::optional<Installation> ownInstallation_;
  FileHandle process_;
  DWORD processId_ = 0;
  HWND window_ = nullptr;
};

// Saves the whole screen as a 24-bit BMP file.
bool SaveScreenshot(const std::string& path);

// The clipboard, for setting up and checking tests.
void SetClipboardText(const std::string& text);
void SetClipboardPicture();
void EmptyTheClipboard();
std::string ClipboardText();
// Waits until the clipboard holds text; it is opened only when it has
// changed since the last input sent to the program and since the last look,
// so that the waiting never keeps the program from writing it.
bool ClipboardBecomes(const std::string& expected);

}  // namespace quolvi::test
