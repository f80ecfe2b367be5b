// The editor's control window: its creation, the change to a new window
// that word wrap, rewrites and loads make, the presentation, and the
// messages the editor handles itself.
#include "win32/rich_editor.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace quolvi {

RichEditor::RichEditor() {
  control_.OnMessage = [this](UINT message, WPARAM wParam, LPARAM lParam) {
    return HandleMessage(message, wParam, lParam);
  };
  control_.OnEscapedError = [this](std::exception_ptr error) {
    if (OnEscapedError) OnEscapedError(error);
  };
}

RichEditor::~RichEditor() {
  // A load still going on ends without telling anyone: whoever set
  // OnProgress may be gone already.
  OnProgress = nullptr;
  load_.reset();
}

void RichEditor::Create(HWND parent, int id) {
  control_.Place(parent, id);
  SwapWindows([](ControlText&) -> std::size_t { return 0; }, CHARRANGE{0, 0}, false);
}

bool RichEditor::HandleCommand(WPARAM wParam, LPARAM lParam) {
  auto from = reinterpret_cast<HWND>(lParam);
  if (!control_.Owns(from)) return false;
  // A window that is still being filled reports nothing of the document's.
  if (from != control_.Handle() || HIWORD(wParam) != EN_CHANGE) return true;
  control_.TextChanged();
  ++changeNotices_;
  RaiseChange();
  return true;
}

void RichEditor::SetSwapFaultForTesting(SwapFault fault) {
  if (fault == SwapFault::kNoWindow) control_.FailNextWindowForTesting();
  cutNextText_ = fault == SwapFault::kTextCut;
}

bool RichEditor::Modified() const { return control_.Window().Send(EM_GETMODIFY) != 0; }

// --- The change to a new window ---------------------------------------------

void RichEditor::PutInNewWindow(const Put& put, CHARRANGE selection, bool modified, const std::function<void()>& undo) {
  ControlWindow old = control_.Window();
  if (!old || old.UnitCount() <= kKeptWindowUnits) {
    try {
      SwapWindows(put, selection, modified);
    } catch (...) {
      if (undo) undo();
      throw;
    }
    return;
  }
  // A long text: two controls of it take twice the memory (more than the
  // 32-bit program has, near the size limit), and under Wine the heap that
  // their blocks leave interleaved slows every later fill many times over.
  // So the old window goes first, and if the new one fails, the text read
  // from it goes back into another.
  const cp932::MarkedText& before = Current().Content();
  const CHARRANGE selectionBefore = old.Selection();
  const bool modifiedBefore = Modified();
  control_.DropWindow();
  try {
    SwapWindows(put, selection, modified);
  } catch (...) {
    if (undo) undo();
    const MarkColors colors = look_.MarkColorsNow();
    SwapWindows([&](ControlText& into) { return into.PutWhole(before, colors, ProgressReport(), progressDelayMs_); },
                selectionBefore, modifiedBefore);
    throw;
  }
}

WindowHandle RichEditor::MakeWindow() {
  WindowHandle made = control_.MakeWindow(look_.WordWrap());
  ControlWindow window(made.Get());
  look_.ApplyCharFormat(window);
  window.Send(EM_LIMITTEXT, kTextLimit);
  window.Send(EM_SETEVENTMASK, 0, kEventMask);
  look_.ApplyBackColor(window);
  return made;
}

void RichEditor::SwapWindows(const Put& put, CHARRANGE selection, bool modified) {
  // Until it takes the old one's place, the new window is owned here: if
  // anything fails on the way, it goes, and the old one is as it was.
  WindowHandle made = MakeWindow();
  ControlWindow window(made.Get());
  ControlText text(window);
  const std::size_t units = put(text);
  if (std::exchange(cutNextText_, false) && units > 0) {
    LONG end = window.UnitCount();
    window.Select(CHARRANGE{end - 1, end});
    window.Send(WM_CLEAR);
  }
  if (static_cast<std::size_t>(window.UnitCount()) != units) throw EditorUnavailable();
  window.Select(selection);
  window.Send(kScrollCaret);
  window.Send(EM_SETMODIFY, modified);
  control_.PutInPlace(std::move(made));
  text_ = text;
  input_.NewWindow();
}

void RichEditor::PutInNewWindow(const cp932::MarkedText& text, CHARRANGE selection, bool modified,
                                const std::function<void()>& undo) {
  const MarkColors colors = look_.MarkColorsNow();
  PutInNewWindow([&](ControlText& into) { return into.PutWhole(text, colors, OnProgress, progressDelayMs_); },
                 selection, modified, undo);
}

void RichEditor::SetWordWrap(bool on) {
  if (on == look_.WordWrap()) return;
  if (!control_) {
    look_.SetWordWrap(on);
    return;
  }
  CompleteLoad();
  // The wrap style only takes effect when the window is created, so the
  // window is made anew and the text carried over as UTF-16 with its marks,
  // which keeps every character. Carrying the text over is not an edit by
  // the user and raises no change event. The wrap stays as it was if the
  // new window fails.
  const cp932::MarkedText& text = Current().Content();
  look_.SetWordWrap(on);
  PutInNewWindow(text, CHARRANGE{0, 0}, Modified(), [this, on] { look_.SetWordWrap(!on); });
  journal_.Started();
}

// --- Presentation ---------------------------------------------------------

void RichEditor::ChangePresentation(Look what, const std::function<void()>& change) {
  if (!control_) {
    change();
    return;
  }
  CompleteLoad();
  if (!text_.MayHoldMarks()) {
    change();
    if (what == Look::kFont) {
      look_.ApplyCharFormat(control_.Window());
    } else {
      look_.ApplyBackColor(control_.Window());
    }
    return;
  }
  // The marks are read with the colours they were written against, before
  // the change; the new window gets the new font and colours. If it fails,
  // the old one stays as it was, and so does the look.
  const cp932::MarkedText& text = Current().Content();
  const Presentation before = look_;
  change();
  PutInNewWindow(text, control_.Window().Selection(), Modified(), [this, &before] { look_ = before; });
  journal_.Started();
}

void RichEditor::SetBackColor(ColorValue color) {
  if (color == look_.BackColor()) return;
  ChangePresentation(Look::kBackground, [this, color] { look_.SetBackColor(color); });
}

void RichEditor::SetFaceName(const std::string& face) {
  if (face.empty()) return;
  std::string taken = Presentation::FittingFaceName(face);
  if (taken == look_.FaceName()) return;
  ChangePresentation(Look::kFont, [this, &taken] { look_.SetFaceName(taken); });
}

void RichEditor::SetPointSize(int points) {
  if (points == look_.PointSize()) return;
  ChangePresentation(Look::kFont, [this, points] { look_.SetPointSize(points); });
}

void RichEditor::SetFontColor(ColorValue color) {
  if (color == look_.FontColor()) return;
  ChangePresentation(Look::kFont, [this, color] { look_.SetFontColor(color); });
}

void RichEditor::SystemColorsChanged() {
  if (!control_) return;
  // Taken up once the text is whole.
  if (load_) {
    colorsChangedWhileLoading_ = true;
    return;
  }
  const MarkColors now = look_.MarkColorsNow();
  const MarkColors& written = text_.WrittenAgainst();
  if (text_.MayHoldMarks() && (now.text != written.text || now.back != written.back)) {
    // The marks' shades were written against the old colours; they are
    // read with those and written again, as for a change of colour.
    ChangePresentation(Look::kFont, [] {});
    return;
  }
  look_.ApplyCharFormat(control_.Window());
  look_.ApplyBackColor(control_.Window());
}

// --- The control's messages ---------------------------------------------------

LRESULT RichEditor::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  ControlWindow window = control_.Window();
  if (std::optional<LRESULT> typed = input_.Handle(message, wParam, lParam, window, *this)) return *typed;
  switch (message) {
    case WM_GETTEXTLENGTH:
      // Answered here in UTF-16: passed on to the control, the question would
      // cross the ANSI conversion, which comes back empty to other programs.
      return window.UnitCount();
    case WM_GETTEXT: {
      if (wParam == 0) return 0;
      std::u16string text = window.ReadAll();
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
    case WM_GETDLGCODE: return PassOn(message, wParam, lParam) | DLGC_WANTTAB;
    case WM_TIMER:
      if (wParam != kLoadTimer) break;
      if (load_) OnLoadTimer();
      return 0;
    default: break;
  }
  return PassOn(message, wParam, lParam);
}

void RichEditor::InsertTyped(std::u16string_view text) { InsertAtSelection({std::u16string(text), {}}, true); }

bool RichEditor::EditsManyLines(std::u16string_view text) {
  return RewritesEdit(control_.Window().SelectedUnits(), text);
}

LRESULT RichEditor::PassOn(UINT message, WPARAM wParam, LPARAM lParam) {
  return control_.DefaultProc(message, wParam, lParam);
}

}  // namespace quolvi
