#include "app/main_window.h"

#include <commctrl.h>

#include "app/messages.h"

namespace quolvi {
namespace {

constexpr int kEditorId = 100;
constexpr int kStatusBarId = 101;

}  // namespace

bool MainWindow::Create(HINSTANCE instance) {
  WNDCLASSEXA windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassExA(&windowClass)) return false;
  HWND hwnd = CreateWindowExA(0, kClassName, messages::kAppTitle, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                              CW_USEDEFAULT, CW_USEDEFAULT, kWidth, kHeight, nullptr, nullptr, instance,
                              this);
  return hwnd != nullptr;
}

void MainWindow::Show(int showCommand) {
  ShowWindow(window_.Get(), showCommand);
  UpdateWindow(window_.Get());
  reEdit_.FocusEditor();
}

LRESULT CALLBACK MainWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->window_.Reset(hwnd);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    self->window_.Release();
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = window_.Get();
  switch (message) {
    case WM_CREATE:
      CreateChildren();
      return 0;
    case WM_SIZE:
      Layout();
      return 0;
    case WM_SETFOCUS:
      if (reEdit_.Handle()) SetFocus(reEdit_.Handle());
      return 0;
    case WM_COMMAND:
      if (reEdit_.HandleCommand(wParam, lParam)) return 0;
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

void MainWindow::CreateChildren() {
  HWND hwnd = window_.Get();
  statusBar1_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd,
                                reinterpret_cast<HMENU>(kStatusBarId), GetModuleHandleA(nullptr), nullptr);
  int parts[] = {-1};
  SendMessageA(statusBar1_, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
  reEdit_.Create(hwnd, kEditorId);
  Layout();
}

void MainWindow::Layout() {
  RECT client;
  GetClientRect(window_.Get(), &client);
  if (statusBar1_) {
    SendMessageA(statusBar1_, SB_SETMINHEIGHT, kStatusBarHeight, 0);
    MoveWindow(statusBar1_, 0, client.bottom - kStatusBarHeight, client.right, kStatusBarHeight, TRUE);
  }
  RECT editor{0, 0, client.right, client.bottom - kStatusBarHeight};
  if (editor.bottom < 0) editor.bottom = 0;
  reEdit_.SetBounds(editor);
}

}  // namespace quolvi
