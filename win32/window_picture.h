// A picture of a child window, shown in its place by a window of its own:
// what the user saw of the window (its frame, scroll bars and client area, as
// last drawn) stays on the screen after the window itself has gone, until
// the picture goes too.
#pragma once

#include <windows.h>

#include "win32/handles.h"

namespace quolvi {

class WindowPicture {
 public:
  // Takes the picture of window as it is drawn now and shows it above the
  // window, at the same place in the same parent. Where no picture can be
  // taken (no memory for it, say), there is none, and nothing fails.
  explicit WindowPicture(HWND window);
  ~WindowPicture();
  WindowPicture(const WindowPicture&) = delete;
  WindowPicture& operator=(const WindowPicture&) = delete;

  // The window that shows the picture; null when there is none.
  HWND Handle() const { return window_.Get(); }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  GdiObject bitmap_;
  WindowHandle window_;
};

}  // namespace quolvi
