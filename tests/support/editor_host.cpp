#include "tests/support/editor_host.h"

#include <richedit.h>

#include <algorithm>

namespace quolvi::test {

EditorHost::EditorHost(bool visible) {
  WNDCLASSEXA windowClass{};
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "QuolviTestHost";
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  RegisterWindowClass(windowClass);
  CreateBoundWindow(0, windowClass.lpszClassName, "Quolvi test", WS_OVERLAPPEDWINDOW, RECT{40, 40, 520, 400}, nullptr,
                    nullptr);
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
  if (message == WM_SYSCOLORCHANGE) editor_.SystemColorsChanged();
  return DefaultHandling(message, wParam, lParam);
}

std::u16string ControlText(HWND control) {
  GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_PRECISE, 1200};
  auto units =
      static_cast<std::size_t>(SendMessageW(control, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
  std::u16string text(units + 1, u'\0');
  GETTEXTEX request{};
  request.cb = static_cast<DWORD>(text.size() * sizeof(char16_t));
  request.codepage = 1200;
  auto got =
      SendMessageW(control, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
  return text;
}

std::u16string ReadClipboardText(HWND owner) {
  std::u16string text;
  if (!OpenClipboard(owner)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* chars = static_cast<const char16_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void PutClipboardText(HWND owner, std::u16string_view text) {
  if (!OpenClipboard(owner)) return;
  EmptyClipboard();
  if (!text.empty()) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
    if (auto* chars = static_cast<char16_t*>(GlobalLock(memory))) {
      std::copy(text.begin(), text.end(), chars);
      chars[text.size()] = u'\0';
      GlobalUnlock(memory);
      SetClipboardData(CF_UNICODETEXT, memory);
    }
  }
  CloseClipboard();
}

CHARFORMAT2A CharFormatOf(HWND control, WPARAM which) {
  CHARFORMAT2A format{};
  format.cbSize = sizeof format;
  SendMessageA(control, EM_GETCHARFORMAT, which, reinterpret_cast<LPARAM>(&format));
  return format;
}

}  // namespace quolvi::test
