#include "tests/support/editor_host.h"

namespace quolvi::test {

EditorHost::EditorHost(bool visible) {
  WNDCLASSEXA windowClass{};
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "QuolviTestHost";
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  RegisterWindowClass(windowClass);
  CreateBoundWindow(0, windowClass.lpszClassName, "Quolvi test", WS_OVERLAPPEDWINDOW, RECT{40, 40, 520, 400},
                    nullptr, nullptr);
  editor_.OnChange = [this] { ++changes_; };
  editor_.SetBounds(RECT{0, 0, 460, 300});
  editor_.Create(Handle(), 1);
  if (visible) {
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    editor_.FocusEditor();
  }
}

EditorHost::~EditorHost() { DestroyBoundWindow(); }

LRESULT EditorHost::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND && editor_.HandleCommand(wParam, lParam)) return 0;
  return DefaultHandling(message, wParam, lParam);
}

}  // namespace quolvi::test
