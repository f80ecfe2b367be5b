#include "app/status_bar.h"

#include <commctrl.h>

#include <cstdio>

#include "app/messages.h"

namespace quolvi {

void StatusBar::Create(HWND parent, int id, FontHandle font) {
  font_ = std::move(font);
  window_ = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
  SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
  int parts[] = {-1};
  SendMessageA(window_, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
}

int StatusBar::Place() {
  if (!window_) return 0;
  // The bar places itself when told that its parent's size changed.
  SendMessageA(window_, SB_SETMINHEIGHT, kMinHeight, 0);
  SendMessageA(window_, WM_SIZE, 0, 0);
  RECT bar;
  return GetWindowRect(window_, &bar) ? bar.bottom - bar.top : 0;
}

void StatusBar::SetText(const char* text) { SendMessageA(window_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text)); }

void StatusBar::ShowProgress(int percent) {
  if (!window_) return;
  if (percent < 0) {
    if (textBeforeProgress_) SetText(textBeforeProgress_->c_str());
    textBeforeProgress_.reset();
    return;
  }
  if (!textBeforeProgress_) {
    std::string before(LOWORD(SendMessageA(window_, SB_GETTEXTLENGTHA, 0, 0)) + 1, '\0');
    SendMessageA(window_, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(before.data()));
    before.resize(before.find('\0'));
    textBeforeProgress_ = before;
  }
  char text[64];
  std::snprintf(text, sizeof text, progressFormat_ ? progressFormat_ : messages::kWorkingProgress, percent);
  SetText(text);
  UpdateWindow(window_);
}

}  // namespace quolvi
