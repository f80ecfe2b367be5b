// A window whose messages reach a C++ object: Derived::HandleMessage(message,
// wParam, lParam). The object is bound to its window at WM_NCCREATE, from
// the last argument of CreateWindowEx, and unbound at WM_NCDESTROY; from then
// on the window handle is no longer owned, and the object may go. An object
// that goes first destroys its window.
//
// The window procedure is an error boundary: the system's code that calls it
// cannot be unwound, so whatever a message's handling throws ends that
// handling there, is handed to Derived::OnEscapedError (which says what the
// user is told; by default nothing) and the message counts as handled.
#pragma once

#include <windows.h>

#include <exception>

#include "win32/error_boundary.h"
#include "win32/handles.h"

namespace quolvi {

template <class Derived>
class BaseWindow {
 public:
  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;

  HWND Handle() const { return window_.Get(); }

 protected:
  BaseWindow() = default;
  ~BaseWindow() = default;

  // Registers the window class with this kind of window's procedure; a class
  // registered before (by an earlier window of the kind) is used again.
  static bool RegisterWindowClass(WNDCLASSEXA windowClass) {
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    return RegisterClassExA(&windowClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }

  // Creates the window bound to this object; null when it cannot be made.
  HWND CreateBoundWindow(DWORD exStyle, const char* className, const char* caption, DWORD style, const RECT& frame,
                         HWND parent, HMENU menu) {
    return CreateWindowExA(exStyle, className, caption, style, frame.left, frame.top, frame.right - frame.left,
                           frame.bottom - frame.top, parent, menu, GetModuleHandleA(nullptr), this);
  }

  // Destroys the window now; a derived window calls it first thing in its
  // destructor, while the members its messages reach are still alive.
  void DestroyBoundWindow() { window_.Reset(); }

  LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window_.Get(), message, wParam, lParam);
  }

  // What escaped the handling of a message; a derived window that reports
  // errors declares its own.
  void OnEscapedError(std::exception_ptr) {}

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* self = static_cast<BaseWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
      self->window_.Reset(hwnd);
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<BaseWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      self->window_.Release();
      return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    auto* derived = static_cast<Derived*>(self);
    LRESULT result = 0;
    RunAtBoundary([&] { result = derived->HandleMessage(message, wParam, lParam); },
                  [derived](std::exception_ptr error) { derived->OnEscapedError(error); });
    return result;
  }

  WindowHandle window_;
};

}  // namespace quolvi
