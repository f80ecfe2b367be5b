#include "editor/rich_editor.h"

#include <ole2.h>
#include <windowsx.h>
#include <richedit.h>

#include <algorithm>
#include <utility>

#include "app/win_color.h"
#include "editor/cp932.h"
#include "editor/font_size.h"
#include "editor/line_breaks.h"
#include "editor/position_map.h"
#include "editor/text_file.h"
#include "editor/text_search.h"

namespace quolvi {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t expected");

constexpr UINT kCodePageUtf16 = 1200;
constexpr UINT kRichEditScrollCaret = WM_USER + 49;  // EM_SCROLLCARET of the rich-edit control
constexpr LPARAM kEventMask = ENM_CHANGE | ENM_REQUESTRESIZE | ENM_SELCHANGE | ENM_PROTECTED;
constexpr wchar_t kEditorProperty[] = L"Quolvi.RichEditor";
constexpr char kDefaultFace[] = "ＭＳ ゴシック";
constexpr std::size_t kMaxFaceBytes = LF_FACESIZE - 1;

const wchar_t* AsWide(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

bool IsHighSurrogate(WPARAM c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(WPARAM c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool KeyDown(int key) { return GetKeyState(key) < 0; }

// Shift-JIS text that EM_STREAMIN reads as ANSI, piece by piece. A piece
// never ends inside a double-byte character (the control converts each
// piece on its own) nor between the CR and the LF of a line break (the two
// would become two line breaks).
struct AnsiStreamSource {
  std::string_view text;
  std::size_t offset = 0;

  static DWORD CALLBACK Read(DWORD_PTR cookie, LPBYTE buffer, LONG capacity, LONG* got) {
    auto* self = reinterpret_cast<AnsiStreamSource*>(cookie);
    std::size_t end = std::min(self->text.size(), self->offset + static_cast<std::size_t>(capacity));
    if (end < self->text.size()) {
      std::size_t boundary = self->offset;
      while (boundary < end) {
        std::size_t next = boundary + cp932::CharLength(self->text, boundary);
        if (next > end) break;
        boundary = next;
      }
      if (boundary > self->offset + 1 && self->text[boundary - 1] == '\r') --boundary;
      end = boundary;
    }
    std::copy(self->text.begin() + self->offset, self->text.begin() + end, buffer);
    *got = static_cast<LONG>(end - self->offset);
    self->offset = end;
    return 0;
  }
};

// UTF-16 text that EM_STREAMIN reads, piece by piece; a piece never ends
// between the CR and the LF of a line break.
struct UnicodeStreamSource {
  std::u16string_view text;
  std::size_t offset = 0;  // in units

  static DWORD CALLBACK Read(DWORD_PTR cookie, LPBYTE buffer, LONG capacity, LONG* got) {
    auto* self = reinterpret_cast<UnicodeStreamSource*>(cookie);
    std::size_t units = std::min<std::size_t>(static_cast<std::size_t>(capacity) / sizeof(char16_t),
                                              self->text.size() - self->offset);
    std::size_t end = self->offset + units;
    if (units > 1 && end < self->text.size() && self->text[end - 1] == u'\r') --units;
    std::copy_n(self->text.data() + self->offset, units, reinterpret_cast<char16_t*>(buffer));
    self->offset += units;
    *got = static_cast<LONG>(units * sizeof(char16_t));
    return 0;
  }
};

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
  DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_HSCROLL | WS_VSCROLL | ES_MULTILINE |
                ES_AUTOVSCROLL | ES_NOHIDESEL | (wordWrap_ ? 0 : ES_AUTOHSCROLL);
  HWND hwnd = CreateWindowExA(WS_EX_CLIENTEDGE, "RICHEDIT", "", style, bounds_.left, bounds_.top,
                              bounds_.right - bounds_.left, bounds_.bottom - bounds_.top, parent_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                              GetModuleHandleA(nullptr), nullptr);
  window_.Reset(hwnd);
  if (!hwnd) return;
  // Subclassing with a Unicode window procedure makes the window a Unicode
  // one: messages reach HandleMessage in UTF-16 and the control in ANSI.
  SetPropW(hwnd, kEditorProperty, this);
  originalProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditorWindowProc)));
  ApplyCharFormat();
  SendMessageW(hwnd, EM_LIMITTEXT, kTextLimit, 0);
  SendMessageW(hwnd, EM_SETEVENTMASK, 0, kEventMask);
  ApplyBackColor();
}

void RichEditor::SetBounds(const RECT& bounds) {
  bounds_ = bounds;
  if (window_) {
    MoveWindow(window_.Get(), bounds.left, bounds.top, bounds.right - bounds.left,
               bounds.bottom - bounds.top, TRUE);
  }
}

bool RichEditor::HandleCommand(WPARAM wParam, LPARAM lParam) {
  if (!window_ || reinterpret_cast<HWND>(lParam) != window_.Get()) return false;
  if (HIWORD(wParam) == EN_CHANGE && raiseChanges_) RaiseChange();
  return true;
}

// --- Text and positions ---------------------------------------------------

std::u16string RichEditor::UnicodeText() {
  GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_PRECISE, kCodePageUtf16};
  auto units = static_cast<std::size_t>(
      SendMessageW(window_.Get(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
  std::u16string text(units + 1, u'\0');
  GETTEXTEX request{};
  request.cb = static_cast<DWORD>((units + 1) * sizeof(char16_t));
  request.flags = GT_DEFAULT;
  request.codepage = kCodePageUtf16;
  LRESULT got = SendMessageW(window_.Get(), EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request),
                             reinterpret_cast<LPARAM>(text.data()));
  text.resize(std::min(units, static_cast<std::size_t>(std::max<LRESULT>(got, 0))));
  return text;
}

void RichEditor::SetUnicodeText(std::u16string_view text) {
  // Streamed in pieces: given the whole text at once, the control takes time
  // quadratic in the number of lines.
  UnicodeStreamSource source{text};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, UnicodeStreamSource::Read};
  SendMessageW(window_.Get(), EM_STREAMIN, SF_TEXT | SF_UNICODE, reinterpret_cast<LPARAM>(&stream));
}

void RichEditor::SetText(std::string_view bytes) {
  if (cp932::SystemDecodesAlike(bytes)) {
    // The control's own conversion serves, and ANSI streaming is its fastest way in.
    AnsiStreamSource source{bytes};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, AnsiStreamSource::Read};
    SendMessageA(window_.Get(), EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
  } else {
    SetUnicodeText(cp932::Decode(bytes));
  }
}

bool RichEditor::IsEmpty() { return SendMessageW(window_.Get(), WM_GETTEXTLENGTH, 0, 0) == 0; }

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

void RichEditor::InsertAtSelection(std::u16string_view text, bool canUndo) {
  std::u16string terminated(text);
  SETTEXTEX how{static_cast<DWORD>(ST_SELECTION | (canUndo ? ST_KEEPUNDO : 0)), kCodePageUtf16};
  SendMessageW(window_.Get(), EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how),
               reinterpret_cast<LPARAM>(AsWide(terminated)));
}

CHARRANGE RichEditor::GetCharRange() {
  CHARRANGE range{0, 0};
  SendMessageW(window_.Get(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  return range;
}

std::string RichEditor::WholeText() { return cp932::Encode(UnicodeText()); }

Position RichEditor::SelectionStart() {
  return static_cast<Position>(ByteOffsetOfUnit(UnicodeText(), GetCharRange().cpMin));
}

Position RichEditor::SelectionLength() {
  std::u16string text = UnicodeText();
  CHARRANGE range = GetCharRange();
  // The control may report an end past the text (it counts a final
  // paragraph mark when everything is selected); the mapping stops at the end.
  return static_cast<Position>(ByteOffsetOfUnit(text, range.cpMax) - ByteOffsetOfUnit(text, range.cpMin));
}

void RichEditor::SetSelectionStart(Position p) {
  // A caret inside a double-byte character moves back to its first byte, so
  // it stands before the character the position pointed into.
  auto unit = static_cast<LONG>(UnitOfByteOffset(UnicodeText(), std::max(p, 0), Rounding::kDown));
  CHARRANGE range{unit, unit};
  SendMessageW(window_.Get(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void RichEditor::SetSelectionLength(Position n) {
  std::u16string text = UnicodeText();
  std::size_t start = ByteOffsetOfUnit(text, GetCharRange().cpMin);
  // The end of a selection that falls inside a double-byte character moves
  // past it, so that the selection holds every byte that was asked for.
  CHARRANGE range;
  range.cpMin = static_cast<LONG>(UnitOfByteOffset(text, start, Rounding::kDown));
  range.cpMax = n > 0 ? static_cast<LONG>(UnitOfByteOffset(text, start + n, Rounding::kUp)) : range.cpMin;
  SendMessageW(window_.Get(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  SendMessageW(window_.Get(), kRichEditScrollCaret, 0, 0);
}

std::string RichEditor::SelectedText() {
  std::u16string text = UnicodeText();
  CHARRANGE range = GetCharRange();
  std::size_t from = std::min<std::size_t>(range.cpMin, text.size());
  std::size_t to = std::min<std::size_t>(std::max(range.cpMax, range.cpMin), text.size());
  return cp932::Encode(std::u16string_view(text).substr(from, to - from));
}

void RichEditor::ReplaceSelectedText(std::string_view s) {
  GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_PRECISE, kCodePageUtf16};
  auto units = static_cast<LONG>(SendMessageW(window_.Get(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
  CHARRANGE range = GetCharRange();
  if (units == 0 || range.cpMin > 0 || range.cpMax < units) {
    InsertAtSelection(cp932::Decode(s), false);
    return;
  }
  // The whole text is replaced (replace all does so): the control would
  // first delete it line by line, in time quadratic in the lines, while a
  // new window takes the new text at once. Either way nothing is left to undo.
  raiseChanges_ = false;
  RecreateControlWindow();
  SetText(s);
  auto end = static_cast<LONG>(SendMessageW(window_.Get(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
  CHARRANGE caret{end, end};
  SendMessageW(window_.Get(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&caret));
  raiseChanges_ = true;
  RaiseChange();
}

void RichEditor::SelectWholeText() { SendMessageW(window_.Get(), EM_SETSEL, 0, -1); }

void RichEditor::CutSelection() { SendMessageW(window_.Get(), WM_CUT, 0, 0); }

void RichEditor::CopySelection() { SendMessageW(window_.Get(), WM_COPY, 0, 0); }

void RichEditor::PasteClipboard() {
  std::u16string pasted;
  {
    OpenClipboardScope clipboard(window_.Get());
    if (!clipboard.IsOpen()) return;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto* chars = data ? static_cast<const char16_t*>(GlobalLock(data)) : nullptr;
    if (!chars) return;
    std::size_t capacity = GlobalSize(data) / sizeof(char16_t);
    pasted.assign(chars, std::find(chars, chars + capacity, u'\0'));
    GlobalUnlock(data);
  }
  // The document keeps its line breaks as CR LF, whatever the other program wrote.
  if (!pasted.empty()) InsertAtSelection(NormalizeLineBreaks<char16_t>(pasted), true);
}

bool RichEditor::UndoAvailable() { return SendMessageW(window_.Get(), EM_CANUNDO, 0, 0) != 0; }

void RichEditor::UndoLastEdit() { SendMessageW(window_.Get(), EM_UNDO, 0, 0); }

int RichEditor::CountLines() {
  // The control shows an empty last line after a final line break, and one
  // empty line for an empty text; neither counts.
  auto lines = static_cast<int>(SendMessageW(window_.Get(), EM_GETLINECOUNT, 0, 0));
  LRESULT lastLine = SendMessageW(window_.Get(), EM_LINEINDEX, lines - 1, 0);
  return SendMessageW(window_.Get(), EM_LINELENGTH, lastLine, 0) == 0 ? lines - 1 : lines;
}

void RichEditor::ClearText() {
  pendingHighSurrogate_ = 0;
  // The control takes time quadratic in the number of lines to delete a long
  // text, while a new window is made at once.
  if (!IsEmpty()) RecreateControlWindow();
  SetWindowTextA(window_.Get(), "");
  SendMessageW(window_.Get(), EM_SETMODIFY, 0, 0);
}

void RichEditor::LoadTextFile(const std::string& path) {
  // The whole file is read and checked before the control is touched, so a
  // file that cannot be loaded leaves the document as it was.
  std::string text = ReadTextFile(path);
  pendingHighSurrogate_ = 0;
  // Streaming over a long text first deletes it, in time quadratic in its
  // number of lines; a new window is empty at once.
  if (!IsEmpty()) RecreateControlWindow();
  SetText(text);
  CHARRANGE start{0, 0};
  SendMessageW(window_.Get(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
}

void RichEditor::SaveTextFile(const std::string& path) {
  FileHandle file = CreateTextFile(path);
  WriteTextFile(file, WholeText());
}

Position RichEditor::SearchText(std::string_view t, Position start, Position len, bool matchCase) {
  return FindInText(WholeText(), t, start, len, matchCase);
}

void RichEditor::FocusEditor() {
  HWND top = GetAncestor(window_.Get(), GA_ROOT);
  if (top && GetActiveWindow() != top) SetActiveWindow(top);
  SetFocus(window_.Get());
}

// --- Presentation ---------------------------------------------------------

void RichEditor::SetWordWrap(bool on) {
  if (on == wordWrap_) return;
  wordWrap_ = on;
  if (!window_) return;
  // The wrap style only takes effect when the window is created, so the
  // window is made anew and the text carried over as UTF-16, which keeps
  // every character. Carrying the text over is not an edit by the user and
  // raises no change event.
  std::u16string text = UnicodeText();
  bool modified = SendMessageW(window_.Get(), EM_GETMODIFY, 0, 0) != 0;
  raiseChanges_ = false;
  RecreateControlWindow();
  if (window_) {
    SetUnicodeText(text);
    SendMessageW(window_.Get(), EM_SETMODIFY, modified, 0);
  }
  raiseChanges_ = true;
}

void RichEditor::SetBackColor(ColorValue color) {
  if (color == backColor_) return;
  backColor_ = color;
  ApplyBackColor();
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
  faceName_ = taken;
  ApplyCharFormat();
}

int RichEditor::PointSize() const { return PointSizeFromHeight(height_, dpi_); }

void RichEditor::SetPointSize(int points) {
  if (points == PointSize()) return;
  height_ = HeightFromPointSize(points, dpi_);
  ApplyCharFormat();
}

void RichEditor::SetFontColor(ColorValue color) {
  if (color == fontColor_) return;
  fontColor_ = color;
  ApplyCharFormat();
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
  set(CFM_SIZE, [this](CHARFORMATA& f) { f.yHeight = PointSize() * 20; });
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
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT RichEditor::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(originalProc_, window_.Get(), message, wParam, lParam);
}

LRESULT RichEditor::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
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
        if (high != 0) InsertAtSelection(std::u16string{high, static_cast<char16_t>(wParam)}, true);
        return 0;
      }
      if (wParam >= 0x80) {
        InsertAtSelection(std::u16string(1, static_cast<char16_t>(wParam)), true);
        return 0;
      }
      return DefaultProc(WM_CHAR, wParam, lParam);
    }
    case WM_UNICHAR:
      if (wParam == UNICODE_NOCHAR) return TRUE;
      if (wParam >= 0x10000) {
        WPARAM c = wParam - 0x10000;
        InsertAtSelection(std::u16string{static_cast<char16_t>(0xD800 + (c >> 10)),
                                         static_cast<char16_t>(0xDC00 + (c & 0x3FF))},
                          true);
        return 0;
      }
      return HandleMessage(WM_CHAR, wParam, lParam);
    case WM_PASTE:
      PasteClipboard();
      return 0;
    case WM_KEYDOWN:
      if ((wParam == 'V' && KeyDown(VK_CONTROL) && !KeyDown(VK_MENU)) ||
          (wParam == VK_INSERT && KeyDown(VK_SHIFT) && !KeyDown(VK_CONTROL))) {
        PasteClipboard();
        return 0;
      }
      break;
    case WM_GETTEXTLENGTH:
      // Answered here in UTF-16: passed on to the control, the question would
      // cross the ANSI conversion, which comes back empty to other programs.
      return static_cast<LRESULT>(UnicodeText().size());
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
    case WM_GETDLGCODE:
      return DefaultProc(message, wParam, lParam) | DLGC_WANTTAB;
    default:
      break;
  }
  return DefaultProc(message, wParam, lParam);
}

}  // namespace quolvi
