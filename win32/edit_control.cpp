#include "win32/edit_control.h"

#include <ole2.h>

#include <algorithm>
#include <utility>

#include "core/editor.h"
#include "win32/error_boundary.h"

namespace quolvi {
namespace {

constexpr UINT kCodePageUtf16 = 1200;
constexpr wchar_t kControlProperty[] = L"Quolvi.EditControl";

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
    case ControlWindow::kScrollCaret:
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
    case WM_KEYDOWN: return IsMovingKey(wParam);
    default: return false;
  }
}

}  // namespace

bool IsMovingKey(WPARAM key) {
  switch (key) {
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
}

// --- One window ---------------------------------------------------------------

LONG ControlWindow::UnitCount() const {
  GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_PRECISE, kCodePageUtf16};
  return static_cast<LONG>(Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
}

CHARRANGE ControlWindow::Selection() const {
  CHARRANGE range{0, 0};
  Send(EM_EXGETSEL, 0, &range);
  return range;
}

CHARRANGE ControlWindow::SelectedUnits() const {
  CHARRANGE range = Selection();
  LONG units = UnitCount();
  range.cpMin = std::clamp<LONG>(range.cpMin, 0, units);
  range.cpMax = std::clamp<LONG>(range.cpMax, range.cpMin, units);
  return range;
}

std::u16string ControlWindow::Read(DWORD which, std::size_t units) const {
  // Asked for with the code page named: EM_GETTEXTRANGE, for one, answers in
  // ANSI whoever asks.
  std::u16string text(units + 1, u'\0');
  GETTEXTEX request{};
  request.cb = static_cast<DWORD>((units + 1) * sizeof(char16_t));
  request.flags = which;
  request.codepage = kCodePageUtf16;
  LRESULT got = Send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request), text.data());
  text.resize(std::min(units, static_cast<std::size_t>(std::max<LRESULT>(got, 0))));
  return text;
}

POINTL ControlWindow::PositionOf(LONG unit) const {
  POINTL position{0, 0};
  Send(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&position), unit);
  return position;
}

POINT ControlWindow::ScrollPosition() const {
  // The text's first character is drawn where the formatting rectangle
  // begins, less the scroll position.
  RECT area{};
  Send(EM_GETRECT, 0, &area);
  POINTL first = PositionOf(0);
  return POINT{area.left - first.x, area.top - first.y};
}

namespace {

// Whether the window itself is shown (its parent may not be, yet).
bool Shown(ControlWindow window) { return (GetWindowLongW(window.Handle(), GWL_STYLE) & WS_VISIBLE) != 0; }

}  // namespace

QuietControl::QuietControl(ControlWindow window) : window_(window), shown_(Shown(window)) {
  // Switching drawing off takes the window's visible style away, and
  // switching it on gives it back: a hidden window is left alone.
  if (shown_) window_.Send(WM_SETREDRAW, FALSE);
  eventMask_ = window_.Send(EM_SETEVENTMASK, 0, 0);
}

QuietControl::~QuietControl() {
  window_.Send(EM_SETEVENTMASK, 0, eventMask_);
  if (!shown_) return;
  window_.Send(WM_SETREDRAW, TRUE);
  // The frame too: the scroll bars changed while nothing was drawn.
  RedrawWindow(window_.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

KeptView::KeptView(ControlWindow window)
    : window_(window),
      selection_(window.Selection()),
      scroll_(window.ScrollPosition()),
      end_(window.UnitCount()),
      shown_(Shown(window)) {
  if (shown_) window_.Send(WM_SETREDRAW, FALSE);
}

KeptView::~KeptView() {
  // The stream left the caret at the end and scrolled there; setting the
  // selection back scrolls to its caret where that is out of view.
  window_.ScrollTo(scroll_);
  window_.Select(selection_);
  window_.ScrollTo(scroll_);
  if (!shown_) return;
  window_.Send(WM_SETREDRAW, TRUE);
  HWND hwnd = window_.Handle();
  RECT client;
  GetClientRect(hwnd, &client);
  // The caret was placed for the view the selection scrolled to: where that
  // view is not the user's, the caret lies outside it, and goes there.
  POINTL caret = window_.PositionOf(selection_.cpMax);
  if (GetFocus() == hwnd &&
      (caret.y < client.top || caret.y >= client.bottom || caret.x < client.left || caret.x >= client.right)) {
    SetCaretPos(caret.x, caret.y);
  }
  // What came in below the old end, where that is in view (asked first of
  // the view's last character, which the control finds from the top of the
  // view down, not from the start of the text).
  POINTL corner{client.right - 1, client.bottom - 1};
  if (window_.Send(EM_CHARFROMPOS, 0, &corner) < end_) return;
  POINTL end = window_.PositionOf(end_);
  RECT below{client.left, std::max<LONG>(end.y, client.top), client.right, client.bottom};
  InvalidateRect(hwnd, &below, TRUE);
}

void ControlWindow::DrawFrame() const { SendMessageW(hwnd_, WM_NCPAINT, 1, 0); }

// --- The control's windows ------------------------------------------------------

EditControl::~EditControl() {
  // The window goes first, and its last messages reach nobody's handler:
  // whoever set OnMessage may be gone already.
  OnMessage = nullptr;
  window_.Reset();
  picture_.reset();
}

void EditControl::SetBounds(const RECT& bounds) {
  bounds_ = bounds;
  if (window_) {
    MoveWindow(window_.Get(), bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, TRUE);
  }
}

void EditControl::LoadLibraryOnce() {
  if (library_) return;
  // A missing library must not raise the system's own message box.
  UINT oldMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
  library_.Reset(LoadLibraryA("RICHED32.DLL"));
  SetErrorMode(oldMode);
  if (!library_) throw EditorUnavailable();
}

WindowHandle EditControl::MakeWindow(bool wordWrap) {
  LoadLibraryOnce();
  DWORD style = (window_ || picture_ ? 0 : WS_VISIBLE) | WS_CHILD | WS_TABSTOP | WS_HSCROLL | WS_VSCROLL |
                ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL | (wordWrap ? 0 : ES_AUTOHSCROLL);
  WindowHandle window(std::exchange(failNextWindow_, false)
                          ? nullptr
                          : CreateWindowExA(WS_EX_CLIENTEDGE, "RICHEDIT", "", style, bounds_.left, bounds_.top,
                                            bounds_.right - bounds_.left, bounds_.bottom - bounds_.top, parent_,
                                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                                            GetModuleHandleA(nullptr), nullptr));
  if (!window) throw EditorUnavailable();
  // Subclassing with a Unicode window procedure makes the window a Unicode
  // one: messages reach OnMessage in UTF-16 and the control in ANSI.
  SetPropW(window.Get(), kControlProperty, this);
  originalProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditControl::WindowProc)));
  return window;
}

void EditControl::PutInPlace(WindowHandle window) {
  HWND old = window_.Get();
  bool hadFocus = std::exchange(focusNext_, false) || (old && GetFocus() == old);
  // Right above what was there (the old window, or its picture), shown
  // without being drawn, then drawn whole, frame and scroll bars with the
  // text, in one step: what was there stays on the screen until the new
  // one is drawn over it, and goes from under it unseen.
  HWND there = old ? old : picture_ ? picture_->Handle() : nullptr;
  HWND above = there ? GetWindow(there, GW_HWNDPREV) : nullptr;
  SetWindowPos(window.Get(), above ? above : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOREDRAW);
  RedrawWindow(window.Get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
  DestroyWindowInPlace();
  picture_.reset();
  window_ = std::move(window);
  ++generation_;  // a new window, with a text of its own
  if (hadFocus) SetFocus(window_.Get());
}

void EditControl::DropWindow() {
  if (!window_) return;
  // The user goes on seeing the text until the next window is in place.
  if (!picture_ && Shown(Window())) picture_.emplace(window_.Get());
  DestroyWindowInPlace();
}

void EditControl::DestroyWindowInPlace() {
  if (!window_) return;
  focusNext_ = focusNext_ || GetFocus() == window_.Get();
  // What the control cut or copied lives in an object of its own until it
  // is rendered; render it now, so that it stays on the clipboard when the
  // window goes.
  OleFlushClipboard();
  window_.Reset();
  ++generation_;
}

bool EditControl::Owns(HWND hwnd) const { return hwnd && GetPropW(hwnd, kControlProperty) == this; }

LRESULT EditControl::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(originalProc_, window_.Get(), message, wParam, lParam);
}

LRESULT CALLBACK EditControl::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = static_cast<EditControl*>(GetPropW(hwnd, kControlProperty));
  WNDPROC original = self->originalProc_;
  if (message == WM_NCDESTROY) {
    RemovePropW(hwnd, kControlProperty);
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    if (self->window_.Get() == hwnd) self->window_.Release();
    return CallWindowProcW(original, hwnd, message, wParam, lParam);
  }
  // A window not yet in place (being filled) is the control's alone.
  if (hwnd != self->window_.Get() || !self->OnMessage) return CallWindowProcW(original, hwnd, message, wParam, lParam);
  // The text read before is read again after a message that may change it.
  if (!LeavesTextAlone(message, wParam)) ++self->generation_;
  // The control's caller is the system, which cannot be unwound.
  LRESULT result = 0;
  RunAtBoundary([&] { result = self->OnMessage(message, wParam, lParam); },
                [self](std::exception_ptr error) {
                  if (self->OnEscapedError) self->OnEscapedError(error);
                });
  return result;
}

}  // namespace quolvi
