#include "win32/typed_input.h"

#include <imm.h>

#include <algorithm>
#include <string>
#include <utility>

namespace quolvi {
namespace {

// The string an input method has just committed in the window.
std::u16string CompositionResult(HWND hwnd) {
  struct Context {
    HWND window;
    HIMC handle;
    ~Context() {
      if (handle) ImmReleaseContext(window, handle);
    }
  } context{hwnd, ImmGetContext(hwnd)};
  if (!context.handle) return {};
  LONG bytes = ImmGetCompositionStringW(context.handle, GCS_RESULTSTR, nullptr, 0);
  if (bytes <= 0) return {};
  std::u16string result(static_cast<std::size_t>(bytes) / sizeof(char16_t), u'\0');
  bytes = ImmGetCompositionStringW(context.handle, GCS_RESULTSTR, result.data(), static_cast<DWORD>(bytes));
  result.resize(bytes > 0 ? static_cast<std::size_t>(bytes) / sizeof(char16_t) : 0);
  return result;
}

bool IsHighSurrogate(WPARAM c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(WPARAM c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool KeyDown(int key) { return GetKeyState(key) < 0; }

}  // namespace

std::optional<LRESULT> TypedInput::Dropped(UINT message, WPARAM wParam) {
  switch (message) {
    case WM_UNICHAR: return wParam == UNICODE_NOCHAR ? TRUE : 0;  // asked whether it is taken: it is
    case WM_CHAR:
    case WM_IME_CHAR:
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_COMPOSITION:
    case WM_IME_ENDCOMPOSITION:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REDO:
    case EM_REPLACESEL:
    case EM_SETTEXTEX:
    case EM_PASTESPECIAL:
    case WM_MBUTTONDOWN:  // pastes, in some versions of the control
      return 0;
    case WM_SETTEXT: return FALSE;
    case WM_KEYDOWN:
      if (IsMovingKey(wParam)) return std::nullopt;
      switch (wParam) {
        case VK_MENU:
        case VK_ESCAPE:
        case VK_APPS: return std::nullopt;
        case 'A':
        case 'C':
        case VK_INSERT:  // select all, copy
          if (KeyDown(VK_CONTROL) && !KeyDown(VK_SHIFT) && !KeyDown(VK_MENU)) return std::nullopt;
          return 0;
        default: return wParam >= VK_F1 && wParam <= VK_F24 ? std::nullopt : std::optional<LRESULT>(0);
      }
    default: return std::nullopt;
  }
}

std::optional<LRESULT> TypedInput::Handle(UINT message, WPARAM wParam, LPARAM lParam, ControlWindow window,
                                          TypingTarget& editor) {
  if (readOnly_) {
    if (std::optional<LRESULT> dropped = Dropped(message, wParam)) return dropped;
  }
  switch (message) {
    case WM_CHAR:
    case WM_IME_CHAR: return Character(wParam, lParam, window, editor);
    case WM_UNICHAR:
      if (wParam == UNICODE_NOCHAR) return TRUE;
      if (wParam >= 0x10000) {
        WPARAM c = wParam - 0x10000;
        Type(std::u16string{static_cast<char16_t>(0xD800 + (c >> 10)), static_cast<char16_t>(0xDC00 + (c & 0x3FF))},
             window, editor);
        return 0;
      }
      return Character(wParam, lParam, window, editor);
    case WM_IME_COMPOSITION: return Composition(wParam, lParam, window, editor);
    case WM_PASTE: editor.Paste(); return 0;
    case WM_CUT:
    case WM_CLEAR: return ManyLines(u"", message == WM_CUT, editor);
    case WM_KEYDOWN:
      // Delete and Backspace (Shift with Delete is left to the control,
      // which may cut).
      if ((wParam == VK_BACK || (wParam == VK_DELETE && !KeyDown(VK_SHIFT))) && !KeyDown(VK_MENU)) {
        return ManyLines(u"", false, editor);
      }
      if ((wParam == 'V' && KeyDown(VK_CONTROL) && !KeyDown(VK_MENU)) ||
          (wParam == VK_INSERT && KeyDown(VK_SHIFT) && !KeyDown(VK_CONTROL))) {
        editor.Paste();
        return 0;
      }
      // The Insert key alone switches between insert and overwrite mode.
      if (wParam == VK_INSERT && !KeyDown(VK_SHIFT) && !KeyDown(VK_CONTROL) && !KeyDown(VK_MENU)) {
        overwrite_ = !overwrite_;
      }
      return std::nullopt;
    default: return std::nullopt;
  }
}

std::optional<LRESULT> TypedInput::Character(WPARAM c, LPARAM lParam, ControlWindow window, TypingTarget& editor) {
  if (IsHighSurrogate(c)) {
    pendingHighSurrogate_ = static_cast<char16_t>(c);
    return 0;
  }
  char16_t high = std::exchange(pendingHighSurrogate_, u'\0');
  if (IsLowSurrogate(c)) {
    if (high != 0) Type(std::u16string{high, static_cast<char16_t>(c)}, window, editor);
    return 0;
  }
  if (c >= 0x80) {
    Type(std::u16string(1, static_cast<char16_t>(c)), window, editor);
    return 0;
  }
  const bool printable = (c >= 0x20 && c != 0x7F) || c == '\t';
  if (printable || c == '\r') {
    // A character typed over many lines replaces them the fast way (Enter
    // brings the document's line break).
    std::u16string typed = c == '\r' ? std::u16string(u"\r\n") : std::u16string(1, static_cast<char16_t>(c));
    if (std::optional<LRESULT> done = ManyLines(typed, false, editor)) return done;
  }
  if (printable) SelectForOverwrite(window);
  return editor.PassOn(WM_CHAR, c, lParam);
}

std::optional<LRESULT> TypedInput::Composition(WPARAM wParam, LPARAM lParam, ControlWindow window,
                                               TypingTarget& editor) {
  // What an input method commits while it composes in the control is
  // inserted as typed characters are, with the neutral format, not its
  // neighbour's. The control shows the composition itself, selected, so
  // the result takes its place.
  if (!(lParam & GCS_RESULTSTR)) return std::nullopt;
  std::u16string result = CompositionResult(window.Handle());
  if (!result.empty()) Type(result, window, editor);
  lParam &= ~static_cast<LPARAM>(GCS_RESULTSTR | GCS_RESULTCLAUSE | GCS_RESULTREADSTR | GCS_RESULTREADCLAUSE);
  if (!(lParam & GCS_COMPSTR)) return 0;
  return editor.PassOn(WM_IME_COMPOSITION, wParam, lParam);
}

std::optional<LRESULT> TypedInput::ManyLines(std::u16string_view text, bool copyFirst, TypingTarget& editor) {
  if (!editor.EditsManyLines(text)) return std::nullopt;
  if (copyFirst) editor.PassOn(WM_COPY, 0, 0);
  editor.InsertTyped(text);
  return 0;
}

void TypedInput::Type(std::u16string_view text, ControlWindow window, TypingTarget& editor) {
  SelectForOverwrite(window);
  editor.InsertTyped(text);
}

void TypedInput::SelectForOverwrite(ControlWindow window) const {
  // Unless the caret stands at the end of a line, whatever the length of the
  // character after it. The editor does this itself for every character: not
  // every version of the control overwrites at all.
  CHARRANGE selection = window.Selection();
  if (!overwrite_ || selection.cpMin != selection.cpMax) return;
  // The two units after the caret, read as a selection: only so does the
  // control answer in UTF-16.
  CHARRANGE following{selection.cpMin, std::min(selection.cpMin + 2, window.UnitCount())};
  window.Select(following);
  CHARRANGE clamped = window.SelectedUnits();
  std::u16string next = window.Read(GT_SELECTION, static_cast<std::size_t>(clamped.cpMax - clamped.cpMin));
  if (!next.empty() && next[0] != u'\r' && next[0] != u'\n') {
    selection.cpMax += next.size() == 2 && IsHighSurrogate(next[0]) && IsLowSurrogate(next[1]) ? 2 : 1;
  }
  window.Select(selection);
}

}  // namespace quolvi
