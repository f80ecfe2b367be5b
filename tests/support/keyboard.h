// Key events as a keyboard or an input method delivers them, for SendInput.
#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

namespace quolvi::test {

// A key press and release for each UTF-16 unit of text (KEYEVENTF_UNICODE).
inline std::vector<INPUT> UnicodeKeyEvents(std::u16string_view text) {
  std::vector<INPUT> inputs;
  for (char16_t c : text) {
    for (DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = c;
      input.ki.dwFlags = KEYEVENTF_UNICODE | up;
      inputs.push_back(input);
    }
  }
  return inputs;
}

// A key's press (or, with up, its release), for SendInput.
inline INPUT KeyInput(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

inline void SendInputs(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace quolvi::test
