#include "tests/support/editor_host.h"

namespace quolvi::test {
namespace {

constexpr char kClassName[] = "QuolviTestHost";

void RegisterHostClass(WNDPROC proc) {
  static bool registered = false;
  if (registered) return;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = proc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = kClassName;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  RegisterClassA(&windowClass);
  registered = true;
}

}  // namespace

EditorHost::EditorHost(bool visible) {
  RegisterHostClass(WindowProc);
  window_.Reset(CreateWindowExA(0, kClassName, "Quolvi test", WS_OVERLAPPEDWINDOW, 40, 40, 480, 360,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
  SetWindowLongPtrA(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  editor_.OnChange = [this] { ++changes_; };
  editor_.SetBounds(RECT{0, 0, 460, 300});
  editor_.Create(window_.Get(), 1);
  if (visible) {
    ShowWindow(window_.Get(), SW_SHOW);
    SetForegroundWindow(window_.Get());
    editor_.FocusEditor();
  }
}

EditorHost::~EditorHost() { SetWindowLongPtrA(window_.Get(), GWLP_USERDATA, 0); }

LRESULT CALLBACK EditorHost::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<EditorHost*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self && message == WM_COMMAND && self->editor_.HandleCommand(wParam, lParam)) return 0;
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace quolvi::test
