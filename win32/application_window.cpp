#include "win32/application_window.h"

namespace quolvi {

ApplicationWindow::~ApplicationWindow() { DestroyBoundWindow(); }

bool ApplicationWindow::Create(HINSTANCE instance, const char* title, HICON icon) {
  WNDCLASSEXA windowClass{};
  windowClass.hInstance = instance;
  windowClass.hIcon = icon;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.lpszClassName = "QuolviApplication";
  if (!RegisterWindowClass(windowClass)) return false;
  // At the centre of the screen, where a window restored from the taskbar
  // seems to come from, and of no size.
  int x = GetSystemMetrics(SM_CXSCREEN) / 2;
  int y = GetSystemMetrics(SM_CYSCREEN) / 2;
  return CreateBoundWindow(0, windowClass.lpszClassName, title,
                           WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, RECT{x, y, x, y},
                           nullptr, nullptr) != nullptr;
}

void ApplicationWindow::Show() {
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void ApplicationWindow::Minimize() {
  if (main_) {
    // The main window's own windows (the find and replace dialogs) go with it.
    ShowOwnedPopups(main_, FALSE);
    ShowWindow(main_, SW_HIDE);
  }
  ShowWindow(Handle(), SW_MINIMIZE);
}

void ApplicationWindow::Restore() {
  DefaultHandling(WM_SYSCOMMAND, SC_RESTORE, 0);
  if (main_) {
    ShowWindow(main_, SW_SHOW);
    ShowOwnedPopups(main_, TRUE);
  }
  ActivateMainWindow();
}

void ApplicationWindow::ActivateMainWindow() {
  if (!main_ || !IsWindowVisible(main_)) return;
  // The box the main window waits for, if there is one, else the main window.
  HWND target = GetLastActivePopup(main_);
  if (!target || !IsWindowVisible(target) || !IsWindowEnabled(target)) target = main_;
  SetActiveWindow(target);
}

LRESULT ApplicationWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) ActivateMainWindow();
      return 0;
    case WM_SYSCOMMAND:
      switch (wParam & 0xFFF0) {
        case SC_MINIMIZE: Minimize(); return 0;
        case SC_RESTORE:
          if (IsIconic(Handle())) {
            Restore();
            return 0;
          }
          break;
        case SC_CLOSE:
          // Closing the application is closing its main window, with its questions.
          if (main_) PostMessageA(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
          return 0;
        default: break;
      }
      break;
    case WM_CLOSE:
      if (main_) PostMessageA(main_, WM_CLOSE, 0, 0);
      return 0;
    default: break;
  }
  return DefaultHandling(message, wParam, lParam);
}

}  // namespace quolvi
