#include "win32/window_picture.h"

namespace quolvi {
namespace {

constexpr wchar_t kClassName[] = L"QuolviWindowPicture";

// The bitmap of what the window showed, taken from the screen as drawn.
HBITMAP TakePicture(HWND window, int width, int height) {
  // Whatever waits to be drawn is drawn first, so the picture shows it.
  UpdateWindow(window);
  HDC screen = GetWindowDC(window);
  if (!screen) return nullptr;
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HDC memory = CreateCompatibleDC(screen);
  if (bitmap && memory) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
  }
  if (memory) DeleteDC(memory);
  ReleaseDC(window, screen);
  return bitmap;
}

bool RegisterPictureClass(WNDPROC proc) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = proc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kClassName;
  return RegisterClassExW(&windowClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

WindowPicture::WindowPicture(HWND window) {
  RECT frame;
  HWND parent = GetParent(window);
  if (!parent || !GetWindowRect(window, &frame)) return;
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  if (width <= 0 || height <= 0) return;
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&frame), 2);
  bitmap_.Reset(TakePicture(window, width, height));
  if (!bitmap_ || !RegisterPictureClass(&WindowPicture::WindowProc)) return;
  // Disabled, so that it never takes the focus or a click.
  window_.Reset(CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_DISABLED, frame.left, frame.top, width, height,
                                parent, nullptr, GetModuleHandleW(nullptr), nullptr));
  if (!window_) return;
  SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(bitmap_.Get()));
  // Above the window, and drawn at once: from here on the window may go.
  SetWindowPos(window_.Get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  UpdateWindow(window_.Get());
}

WindowPicture::~WindowPicture() {
  // The window that shows the bitmap goes before the bitmap.
  window_.Reset();
}

LRESULT CALLBACK WindowPicture::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;  // the picture covers it all
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd, &paint);
      auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
      if (HDC memory = bitmap ? CreateCompatibleDC(dc) : nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        const RECT& area = paint.rcPaint;
        BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, memory, area.left, area.top,
               SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
      }
      EndPaint(hwnd, &paint);
      return 0;
    }
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace quolvi
