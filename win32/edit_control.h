// The rich-edit control of RICHED32.DLL (window class "RICHEDIT") as the
// editor uses it: its library, the window in place and its subclass, new
// windows made to take that one's place, and the generation of its text.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <cstddef>
#include <exception>
#include <functional>
#include <optional>
#include <string>

#include "win32/handles.h"
#include "win32/window_picture.h"

namespace quolvi {

// Whether a key only moves the caret or the view, or is Shift or Ctrl: the
// control changes no text for it.
bool IsMovingKey(WPARAM key);

// One window of the control (not owned), spoken to in UTF-16.
class ControlWindow {
 public:
  // EM_SCROLLCARET of the rich-edit control, which its header leaves out.
  static constexpr UINT kScrollCaret = WM_USER + 49;

  ControlWindow() = default;
  explicit ControlWindow(HWND hwnd) : hwnd_(hwnd) {}
  HWND Handle() const { return hwnd_; }
  explicit operator bool() const { return hwnd_ != nullptr; }

  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return SendMessageW(hwnd_, message, wParam, lParam);
  }
  template <class T>
  LRESULT Send(UINT message, WPARAM wParam, T* data) const {
    return Send(message, wParam, reinterpret_cast<LPARAM>(data));
  }
  // For the two messages whose data the control reads as ANSI when they
  // are sent so (a stream of Shift-JIS text, CHARFORMATA).
  template <class T>
  LRESULT SendAnsi(UINT message, WPARAM wParam, T* data) const {
    return SendMessageA(hwnd_, message, wParam, reinterpret_cast<LPARAM>(data));
  }

  // The text's length in UTF-16 units.
  LONG UnitCount() const;
  // The selection as the control reports it; the end may lie past the text
  // (the control counts a final paragraph mark when everything is selected).
  CHARRANGE Selection() const;
  // The selection clamped to the text.
  CHARRANGE SelectedUnits() const;
  void Select(CHARRANGE range) const { Send(EM_EXSETSEL, 0, &range); }
  // At most units of the text: GT_DEFAULT for all of it or GT_SELECTION.
  std::u16string Read(DWORD which, std::size_t units) const;
  std::u16string ReadAll() const { return Read(GT_DEFAULT, static_cast<std::size_t>(UnitCount())); }

  // Where the character at unit is drawn, in client coordinates (the top
  // left of its row).
  POINTL PositionOf(LONG unit) const;
  // The scroll position in pixels, as EM_SETSCROLLPOS takes it (EM_GETSCROLLPOS
  // gives it scaled to 16 bits in a long text), and scrolling there.
  POINT ScrollPosition() const;
  void ScrollTo(POINT position) const { Send(EM_SETSCROLLPOS, 0, &position); }
  // Draws the frame and the scroll bars now.
  void DrawFrame() const;

 private:
  HWND hwnd_ = nullptr;
};

// Draws nothing and sends its parent no notifications for as long as it
// lives: for streams of a whole text, which the control would otherwise
// lay out, draw and report as they go. A shown window is drawn anew
// afterwards, scroll bars and all; a hidden one stays hidden (switching
// drawing back on would show it).
class QuietControl {
 public:
  explicit QuietControl(ControlWindow window);
  ~QuietControl();
  QuietControl(const QuietControl&) = delete;
  QuietControl& operator=(const QuietControl&) = delete;

 private:
  ControlWindow window_;
  LPARAM eventMask_;
  bool shown_;
};

// Keeps what the user sees of a shown window while text goes in at the end
// of its text (the pieces of a long load after the first): the selection and
// the scroll position stay as they were, nothing is drawn meanwhile, and
// afterwards only the rows from the old end of the text on are drawn anew,
// where they are in view, so the view neither jumps nor flickers. The scroll
// bars are left to the caller (DrawFrame), which draws them less often: that
// takes the system longer than a piece of text.
class KeptView {
 public:
  explicit KeptView(ControlWindow window);
  ~KeptView();
  KeptView(const KeptView&) = delete;
  KeptView& operator=(const KeptView&) = delete;

 private:
  ControlWindow window_;
  CHARRANGE selection_;
  POINT scroll_;
  LONG end_;  // of the text before
  bool shown_;
};

class EditControl {
 public:
  // The notifications the control sends its parent.
  static constexpr LPARAM kEventMask = ENM_CHANGE | ENM_REQUESTRESIZE | ENM_SELCHANGE | ENM_PROTECTED;

  EditControl() = default;
  ~EditControl();
  EditControl(const EditControl&) = delete;
  EditControl& operator=(const EditControl&) = delete;

  // Where the windows go: a child of parent with the id, at bounds.
  void Place(HWND parent, int id) {
    parent_ = parent;
    id_ = id;
  }
  void SetBounds(const RECT& bounds);

  // A new window of the control for a text to be put into before it takes
  // the place of the one there (PutInPlace); hidden while there is one in
  // place, or a picture of one. Throws EditorUnavailable when the library or
  // the window cannot be made.
  WindowHandle MakeWindow(bool wordWrap);
  // Shows window, drawn with its frame and scroll bars, where the window in
  // place (or its picture) was, which goes; the keyboard focus goes with it.
  void PutInPlace(WindowHandle window);
  // Destroys the window in place before its successor is made, leaving a
  // picture of it on the screen until the successor is put in place; the
  // keyboard focus goes to that successor.
  void DropWindow();

  ControlWindow Window() const { return ControlWindow(window_.Get()); }
  HWND Handle() const { return window_.Get(); }
  explicit operator bool() const { return static_cast<bool>(window_); }
  // Whether hwnd is one of this control's windows, in place or not.
  bool Owns(HWND hwnd) const;

  // The messages of the window in place reach OnMessage, which passes on
  // what it leaves to the control with DefaultProc. The subclass is an error
  // boundary: what escapes OnMessage is handed to OnEscapedError.
  std::function<LRESULT(UINT message, WPARAM wParam, LPARAM lParam)> OnMessage;
  std::function<void(std::exception_ptr)> OnEscapedError;
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

  // Counts the changes of the text in place: a text read at one generation
  // is good while the generation stays. It moves with each message that may
  // change the text, each change the control reports and each new window.
  unsigned Generation() const { return generation_; }
  void TextChanged() { ++generation_; }

  // Makes the next window fail to be made (for tests).
  void FailNextWindowForTesting() { failNextWindow_ = true; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void LoadLibraryOnce();

  // Destroys the window in place; the keyboard focus goes to the next window
  // put in place.
  void DestroyWindowInPlace();

  LibraryHandle library_;
  WindowHandle window_;
  std::optional<WindowPicture> picture_;  // of the window dropped, until its successor is in place
  WNDPROC originalProc_ = nullptr;        // the control's own, the same for all its windows
  HWND parent_ = nullptr;
  int id_ = 0;
  RECT bounds_{};
  unsigned generation_ = 0;
  bool failNextWindow_ = false;
  bool focusNext_ = false;  // the window dropped had the keyboard focus
};

}  // namespace quolvi
