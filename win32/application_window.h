// The application window: a top-level window that nobody sees (it has no
// size), which owns the main window and bears the application's title. The
// taskbar and the task switcher list unowned windows, so they show this
// window's title, whatever the main window's caption says; the owned main
// window has no entry of its own. The application window passes its
// activation on to the main window (or to the box that window is waiting
// for), and minimising either minimises the application: the main window is
// hidden until the application is restored.
#pragma once

#include <windows.h>

#include "win32/base_window.h"

namespace quolvi {

class ApplicationWindow : public BaseWindow<ApplicationWindow> {
 public:
  ApplicationWindow() = default;
  ~ApplicationWindow();

  // Creates the window with the application's title and icon; it shows
  // when the main window first does.
  bool Create(HINSTANCE instance, const char* title, HICON icon);
  // The window it owns and stands for.
  void SetMainWindow(HWND main) { main_ = main; }
  // Shows the window (and so its taskbar entry) without activating it.
  void Show();
  // Minimises the application: the main window and its own windows go with
  // it, and come back when it is restored.
  void Minimize();
  void Restore();

 private:
  friend class BaseWindow<ApplicationWindow>;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void ActivateMainWindow();

  HWND main_ = nullptr;
};

}  // namespace quolvi
