// The editor's control window: its creation and re-creation, its
// presentation (word wrap, font, colours), and the subclass through which
// typed characters and pastes reach the text whole.
#include "win32/rich_editor.h"

#include <imm.h>
#include <ole2.h>
#include <windowsx.h>

#include <utility>

#include "core/cp932.h"
#include "core/font_size.h"
#include "win32/color.h"

namespace quolvi {
namespace {

constexpr wchar_t kEditorProperty[] = L"Quolvi.RichEditor";
constexpr char kDefaultFace[] = "ＭＳ ゴシック";
constexpr std::size_t kMaxFaceBytes = LF_FACESIZE - 1;

// The messages that leave the text and its formats as they are: questions,
// the selection, painting, focus, scrolling, moving the caret. Any other
// message may change them (a key, the mouse dragging text, an undo).
bool LeavesTextAlone(UINT message, WPARAM wParam) {
  switch (message) {
    case EM_GETTEXTEX:
    case EM_GETTEXTLENGTHEX:
    case EM_GETTEXTRANGE:
    case EM_EXGETSEL:
    case EM_EXSETSEL:
    case EM_GETSEL:
    case EM_SETSEL:
    case EM_STREAMOUT:
    case EM_CANUNDO:
    case EM_GETMODIFY:
    case EM_GETLINECOUNT:
    case EM_LINEINDEX:
    case EM_LINELENGTH:
    case EM_LINEFROMCHAR:
    case EM_EXLINEFROMCHAR:
    case EM_POSFROMCHAR:
    case EM_CHARFROMPOS:
    case EM_GETFIRSTVISIBLELINE:
    case EM_GETEVENTMASK:
    case RichEditor::kScrollCaret:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case WM_GETFONT:
    case WM_GETDLGCODE:
    case WM_GETOBJECT:
    case WM_PAINT:
    case WM_NCPAINT:
    case WM_ERASEBKGND:
    case WM_SETREDRAW:
    case WM_SETCURSOR:
    case WM_NCHITTEST:
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_NCMOUSELEAVE:
    case WM_MOUSEACTIVATE:
    case WM_MOUSEWHEEL:
    case WM_CAPTURECHANGED:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_TIMER:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CONTEXTMENU:
    case WM_MOVE:
    case WM_SIZE:
    case WM_NCCALCSIZE:
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
    case WM_SHOWWINDOW:
    case WM_IME_SETCONTEXT:
    case WM_IME_NOTIFY: return true;
    case WM_KEYDOWN:
      switch (wParam) {
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_HOME:
        case VK_END:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_SHIFT:
        case VK_CONTROL: return true;
        default: return false;
      }
    default: return false;
  }
}

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

RichEditor::RichEditor() : faceName_(kDefaultFace), dpi_(GetDeviceCaps(ScreenDC().Get(), LOGPIXELSY)) {}

RichEditor::~RichEditor() = default;

void RichEditor::Create(HWND parent, int id) {
  parent_ = parent;
  id_ = id;
  CreateControlWindow();
}

void RichEditor::CreateControlWindow() {
  if (!library_) {
    // A missing library must not raise the system's own message box.
    UINT oldMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
    library_.Reset(LoadLibraryA("RICHED32.DLL"));
    SetErrorMode(oldMode);
  }
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                ES_NOHIDESEL | (wordWrap_ ? 0 : ES_AUTOHSCROLL);
  HWND hwnd = CreateWindowExA(WS_EX_CLIENTEDGE, "RICHEDIT", "", style, bounds_.left, bounds_.top,
                              bounds_.right - bounds_.left, bounds_.bottom - bounds_.top, parent_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)), GetModuleHandleA(nullptr), nullptr);
  window_.Reset(hwnd);
  ++generation_;         // a new control, with a text of its own
  rewriteUndo_.reset();  // and nothing to undo
  overwrite_ = false;    // a new control starts in insert mode
  if (!hwnd) return;
  // Subclassing with a Unicode window procedure makes the window a Unicode
  // one: messages reach HandleMessage in UTF-16 and the control in ANSI.
  SetPropW(hwnd, kEditorProperty, this);
  originalProc_ =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditorWindowProc)));
  ApplyCharFormat();
  SendMessageW(hwnd, EM_LIMITTEXT, kTextLimit, 0);
  SendMessageW(hwnd, EM_SETEVENTMASK, 0, kEventMask);
  ApplyBackColor();
}

void RichEditor::SetBounds(const RECT& bounds) {
  bounds_ = bounds;
  if (window_) {
    MoveWindow(window_.Get(), bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, TRUE);
  }
}

bool RichEditor::HandleCommand(WPARAM wParam, LPARAM lParam) {
  if (!window_ || reinterpret_cast<HWND>(lParam) != window_.Get()) return false;
  if (HIWORD(wParam) != EN_CHANGE) return true;
  ++generation_;
  ++changeNotices_;
  if (raiseChanges_) RaiseChange();
  return true;
}

void RichEditor::RecreateControlWindow() {
  bool hadFocus = GetFocus() == window_.Get();
  // What the control cut or copied lives in an object of its own until it is
  // rendered; render it now, so that it stays on the clipboard when the
  // window goes.
  OleFlushClipboard();
  window_.Reset();
  CreateControlWindow();
  if (window_ && hadFocus) SetFocus(window_.Get());
}

// --- Presentation ---------------------------------------------------------

void RichEditor::SetWordWrap(bool on) {
  if (on == wordWrap_) return;
  wordWrap_ = on;
  if (!window_) return;
  // The wrap style only takes effect when the window is created, so the
  // window is made anew and the text carried over as UTF-16 with its marks,
  // which keeps every character. Carrying the text over is not an edit by
  // the user and raises no change event.
  cp932::MarkedText text = Current().Content();
  bool modified = SendMessageW(window_.Get(), EM_GETMODIFY, 0, 0) != 0;
  raiseChanges_ = false;
  RecreateControlWindow();
  if (window_) {
    SetMarkedText(text);
    SendMessageW(window_.Get(), EM_SETMODIFY, modified, 0);
  }
  raiseChanges_ = true;
}

void RichEditor::ChangePresentation(const std::function<void()>& change) {
  if (!window_ || !mayHoldMarks_) {
    change();
    return;
  }
  // The marks are read with the colours they were written against, before
  // the change.
  cp932::MarkedText text = Current().Content();
  CHARRANGE selection = GetCharRange();
  bool modified = SendMessageW(window_.Get(), EM_GETMODIFY, 0, 0) != 0;
  change();
  PutTextInNewWindow(text, selection);  // which applies the new font and colours
  if (window_) SendMessageW(window_.Get(), EM_SETMODIFY, modified, 0);
}

void RichEditor::SetBackColor(ColorValue color) {
  if (color == backColor_) return;
  ChangePresentation([this, color] {
    backColor_ = color;
    ApplyBackColor();
  });
}

void RichEditor::SetFaceName(const std::string& face) {
  if (face.empty()) return;
  // A face name holds at most 31 bytes; a double-byte character that would
  // not fit whole is left out rather than cut in two.
  std::size_t length = 0;
  while (length < face.size()) {
    std::size_t next = length + cp932::CharLength(face, length);
    if (next > kMaxFaceBytes) break;
    length = next;
  }
  std::string taken = face.substr(0, length);
  if (taken == faceName_) return;
  ChangePresentation([this, &taken] {
    faceName_ = taken;
    ApplyCharFormat();
  });
}

int RichEditor::PointSize() const { return PointSizeFromHeight(height_, dpi_); }

void RichEditor::SetPointSize(int points) {
  if (points == PointSize()) return;
  ChangePresentation([this, points] {
    height_ = HeightFromPointSize(points, dpi_);
    ApplyCharFormat();
  });
}

void RichEditor::SetFontColor(ColorValue color) {
  if (color == fontColor_) return;
  ChangePresentation([this, color] {
    fontColor_ = color;
    ApplyCharFormat();
  });
}

void RichEditor::SystemColorsChanged() {
  if (!window_) return;
  const MarkColors now = CurrentMarkColors();
  if (mayHoldMarks_ && (now.text != markColors_.text || now.back != markColors_.back)) {
    // The marks' shades were written against the old colours; they are
    // read with those and written again, as for a change of colour.
    ChangePresentation([] {});
    return;
  }
  ApplyCharFormat();
  ApplyBackColor();
}

void RichEditor::ApplyCharFormat() {
  if (!window_) return;
  // One attribute at a time, each as the default format of the whole text.
  auto set = [this](DWORD mask, auto fill) {
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    format.dwMask = mask;
    fill(format);
    SendMessageA(window_.Get(), EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  };
  set(CFM_COLOR, [this](CHARFORMATA& f) {
    // The system's window-text colour is sent as the automatic colour, so
    // that the text follows it when the user changes it.
    if (fontColor_ == kClWindowText) {
      f.dwEffects = CFE_AUTOCOLOR;
    } else {
      f.crTextColor = ResolveColor(fontColor_);
    }
  });
  set(CFM_FACE, [this](CHARFORMATA& f) { lstrcpynA(f.szFaceName, faceName_.c_str(), LF_FACESIZE); });
  set(CFM_CHARSET, [](CHARFORMATA& f) { f.bCharSet = SHIFTJIS_CHARSET; });
  for (DWORD style : {CFM_BOLD, CFM_ITALIC, CFM_UNDERLINE, CFM_STRIKEOUT}) {
    set(style, [](CHARFORMATA&) {});
  }
  set(CFM_SIZE, [this](CHARFORMATA& f) { f.yHeight = TwipsFromPointSize(PointSize()); });
}

void RichEditor::ApplyBackColor() {
  if (window_) SendMessageW(window_.Get(), EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ResolveColor(backColor_)));
}

// --- The subclassed control -------------------------------------------------

LRESULT CALLBACK RichEditor::EditorWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<RichEditor*>(GetPropW(hwnd, kEditorProperty));
  if (message == WM_NCDESTROY) {
    WNDPROC original = self->originalProc_;
    RemovePropW(hwnd, kEditorProperty);
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    if (self->window_.Get() == hwnd) self->window_.Release();
    return CallWindowProcW(original, hwnd, message, wParam, lParam);
  }
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    // The control's caller is the system, which cannot be unwound.
    try {
      if (self->OnEscapedError) self->OnEscapedError(std::current_exception());
    } catch (...) {
    }
    return 0;
  }
}

void RichEditor::SelectForOverwrite() {
  // In overwrite mode a typed character takes the place of the character
  // after the caret, whatever its length, unless the caret stands at the end
  // of a line. The editor does this itself for every character: not every
  // version of the control overwrites at all.
  CHARRANGE selection = GetCharRange();
  if (!overwrite_ || selection.cpMin != selection.cpMax) return;
  // The two units after the caret, read as a selection: only so does the
  // control answer in UTF-16.
  CHARRANGE following{selection.cpMin, std::min(selection.cpMin + 2, UnitCount())};
  SendMessageW(window_.Get(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&following));
  std::u16string next = SelectionUnicode();
  if (!next.empty() && next[0] != u'\r' && next[0] != u'\n') {
    selection.cpMax += next.size() == 2 && IsHighSurrogate(next[0]) && IsLowSurrogate(next[1]) ? 2 : 1;
  }
  SendMessageW(window_.Get(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
}

void RichEditor::InsertTyped(std::u16string_view text) {
  SelectForOverwrite();
  InsertAtSelection({std::u16string(text), {}}, true);
}

LRESULT RichEditor::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(originalProc_, window_.Get(), message, wParam, lParam);
}

LRESULT RichEditor::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  // The text read before is read again after a message that may change it.
  if (!LeavesTextAlone(message, wParam)) ++generation_;
  switch (message) {
    case WM_CHAR:
    case WM_IME_CHAR: {
      // The subclass makes the window a Unicode one, so a typed character
      // arrives whole. The control would take a non-ASCII character as ANSI
      // bytes one at a time and corrupt it; such characters are inserted here.
      if (IsHighSurrogate(wParam)) {
        pendingHighSurrogate_ = static_cast<char16_t>(wParam);
        return 0;
      }
      char16_t high = std::exchange(pendingHighSurrogate_, u'\0');
      if (IsLowSurrogate(wParam)) {
        if (high != 0) InsertTyped(std::u16string{high, static_cast<char16_t>(wParam)});
        return 0;
      }
      if (wParam >= 0x80) {
        InsertTyped(std::u16string(1, static_cast<char16_t>(wParam)));
        return 0;
      }
      // A character typed over many lines is put in here, which replaces
      // them the fast way (Enter brings the document's line break).
      if (((wParam >= 0x20 && wParam != 0x7F) || wParam == '\t' || wParam == '\r') && SelectionRewrites()) {
        InsertTyped(wParam == '\r' ? std::u16string(u"\r\n") : std::u16string(1, static_cast<char16_t>(wParam)));
        return 0;
      }
      if (wParam >= 0x20 || wParam == '\t') SelectForOverwrite();
      return DefaultProc(WM_CHAR, wParam, lParam);
    }
    case WM_IME_COMPOSITION:
      // What an input method commits while it composes in the control is
      // inserted as typed characters are, with the neutral format, not its
      // neighbour's. The control shows the composition itself, selected,
      // so the result takes its place.
      if (lParam & GCS_RESULTSTR) {
        std::u16string result = CompositionResult(window_.Get());
        if (!result.empty()) InsertTyped(result);
        lParam &= ~static_cast<LPARAM>(GCS_RESULTSTR | GCS_RESULTCLAUSE | GCS_RESULTREADSTR | GCS_RESULTREADCLAUSE);
        if (!(lParam & GCS_COMPSTR)) return 0;
      }
      break;
    case WM_UNICHAR:
      if (wParam == UNICODE_NOCHAR) return TRUE;
      if (wParam >= 0x10000) {
        WPARAM c = wParam - 0x10000;
        InsertTyped(
            std::u16string{static_cast<char16_t>(0xD800 + (c >> 10)), static_cast<char16_t>(0xDC00 + (c & 0x3FF))});
        return 0;
      }
      return HandleMessage(WM_CHAR, wParam, lParam);
    case WM_PASTE: PasteClipboard(); return 0;
    case WM_CUT:
    case WM_CLEAR:
      // Many selected lines are deleted the fast way (cut copies them first).
      if (!SelectionRewrites()) break;
      if (message == WM_CUT) DefaultProc(WM_COPY, 0, 0);
      InsertAtSelection({}, true);
      return 0;
    case WM_KEYDOWN:
      // Delete and Backspace over many selected lines, likewise (Shift with
      // Delete is left to the control, which may cut).
      if ((wParam == VK_BACK || (wParam == VK_DELETE && !KeyDown(VK_SHIFT))) && !KeyDown(VK_MENU) &&
          SelectionRewrites()) {
        InsertAtSelection({}, true);
        return 0;
      }
      if ((wParam == 'V' && KeyDown(VK_CONTROL) && !KeyDown(VK_MENU)) ||
          (wParam == VK_INSERT && KeyDown(VK_SHIFT) && !KeyDown(VK_CONTROL))) {
        PasteClipboard();
        return 0;
      }
      // The Insert key alone switches between insert and overwrite mode.
      if (wParam == VK_INSERT && !KeyDown(VK_SHIFT) && !KeyDown(VK_CONTROL) && !KeyDown(VK_MENU)) {
        overwrite_ = !overwrite_;
      }
      break;
    case WM_GETTEXTLENGTH:
      // Answered here in UTF-16: passed on to the control, the question would
      // cross the ANSI conversion, which comes back empty to other programs.
      return UnitCount();
    case WM_GETTEXT: {
      if (wParam == 0) return 0;
      std::u16string text = UnicodeText();
      std::size_t count = std::min<std::size_t>(text.size(), wParam - 1);
      auto* buffer = reinterpret_cast<char16_t*>(lParam);
      std::copy_n(text.data(), count, buffer);
      buffer[count] = u'\0';
      return static_cast<LRESULT>(count);
    }
    case WM_CONTEXTMENU:
      if (OnContextMenu) {
        OnContextMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
      }
      break;
    case WM_GETDLGCODE: return DefaultProc(message, wParam, lParam) | DLGC_WANTTAB;
    default: break;
  }
  return DefaultProc(message, wParam, lParam);
}

}  // namespace quolvi
