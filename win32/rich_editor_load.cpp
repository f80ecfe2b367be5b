// Loading a file a piece at a time: the first screen at once, the rest while
// the user reads.
#include <utility>

#include "win32/rich_editor.h"

namespace quolvi {

void RichEditor::LoadTextFile(const std::string& path) {
  BeginLoad(path, nullptr);
  FinishLoad();
}

template <class Step>
void RichEditor::LoadStep(Step step) {
  try {
    step();
  } catch (...) {
    FailLoad();
    throw;
  }
}

void RichEditor::BeginLoad(const std::string& path, std::function<void()> loaded) {
  // The whole file is read and checked before the control is touched, so a
  // file that cannot be loaded leaves the document (and a load going on) as
  // it was.
  auto load = std::make_unique<Load>();
  load->bytes = ReadTextFile(path, kMaxDocumentBytes);
  load->loaded = std::move(loaded);
  if (load_) {
    // In the place of the load going on: a failure puts back what was there
    // before that one.
    KillTimer(control_.Handle(), kLoadTimer);
    load->before = std::move(load_->before);
    load->selectionBefore = load_->selectionBefore;
    load->modifiedBefore = load_->modifiedBefore;
    load_.reset();
  } else {
    load->before = Current().Content();
    load->selectionBefore = control_.Window().Selection();
    load->modifiedBefore = Modified();
    load->beforeInPlace = true;
  }
  current_.reset();
  load_ = std::move(load);
  load_->work.emplace(OnProgress, progressDelayMs_);
  LoadStep([this] {
    // A long text's window goes first (two controls of a long text slow the
    // heap, docs/design.md); its picture stays on the screen until the new
    // window is shown.
    if (control_.Window().UnitCount() > kKeptWindowUnits) {
      control_.DropWindow();
      load_->beforeInPlace = false;
    }
    WindowHandle made = MakeWindow();
    ControlWindow window(made.Get());
    // Read-only for the user, and silent, until the last piece is in.
    window.Send(EM_SETEVENTMASK, 0, 0);
    window.Send(EM_SETREADONLY, TRUE);
    ControlText text(window);
    PieceFill& fill = load_->fill.emplace(text, load_->bytes, look_.MarkColorsNow());
    fill.PutNext(kFirstPieceUnits);
    while (!fill.Done() && fill.Total() <= kWholeAtOnceUnits) fill.PutNext();
    if (static_cast<std::size_t>(window.UnitCount()) != fill.UnitsIn()) throw EditorUnavailable();
    load_->work->Reached(fill.Reached(), fill.Total());
    // A text that is in whole is checked before it takes the old one's place.
    if (fill.Done()) CheckLoaded(window);
    window.Select(CHARRANGE{0, 0});
    window.Send(EM_SETMODIFY, FALSE);
    control_.PutInPlace(std::move(made));
    load_->beforeInPlace = false;
    load_->frameDrawn = GetTickCount();
    text_ = text;
    input_.NewWindow();
    input_.NewText();
    input_.SetReadOnly(true);
    journal_.Started();
    if (fill.Done()) EndLoad();
  });
  // The rest as the window's messages allow.
  if (load_) SetTimer(control_.Handle(), kLoadTimer, USER_TIMER_MINIMUM, nullptr);
}

void RichEditor::OnLoadTimer() {
  const DWORD start = GetTickCount();
  do {
    ContinueLoad();
  } while (load_ && GetTickCount() - start < kLoadBurstMs && HIWORD(GetQueueStatus(QS_ALLINPUT & ~QS_TIMER)) == 0);
  if (!load_) return;
  if (GetTickCount() - load_->frameDrawn >= kFrameDrawMs) {
    control_.Window().DrawFrame();
    load_->frameDrawn = GetTickCount();
  }
  // The timer set anew: its next tick comes only after a pause.
  SetTimer(control_.Handle(), kLoadTimer, USER_TIMER_MINIMUM, nullptr);
}

void RichEditor::ContinueLoad() {
  LoadStep([this] {
    ControlWindow window = control_.Window();
    {
      KeptView kept(window);
      load_->fill->PutNext();
    }
    control_.TextChanged();
    if (static_cast<std::size_t>(window.UnitCount()) != load_->fill->UnitsIn()) throw EditorUnavailable();
    Reached();
  });
}

void RichEditor::Reached() {
  load_->work->Reached(load_->fill->Reached(), load_->fill->Total());
  if (!load_->fill->Done()) return;
  CheckLoaded(control_.Window());
  EndLoad();
}

void RichEditor::CheckLoaded(ControlWindow window) {
  if (std::exchange(cutNextText_, false) && window.UnitCount() > 0) {
    LONG end = window.UnitCount();
    window.Select(CHARRANGE{end - 1, end});
    // Past the editor's own handling, which drops edits while a load goes on.
    if (window.Handle() == control_.Handle()) {
      PassOn(WM_CLEAR, 0, 0);
    } else {
      window.Send(WM_CLEAR);
    }
  }
  if (static_cast<std::size_t>(window.UnitCount()) != load_->fill->UnitsIn()) throw EditorUnavailable();
}

void RichEditor::EndLoad() {
  ControlWindow window = control_.Window();
  std::function<void()> loaded = std::move(load_->loaded);
  StopLoading();
  load_.reset();
  window.Send(EM_SETMODIFY, FALSE);
  RaiseChange();
  if (std::exchange(colorsChangedWhileLoading_, false)) SystemColorsChanged();
  if (loaded) loaded();
}

void RichEditor::FailLoad() {
  if (!load_) return;
  std::unique_ptr<Load> failed = std::move(load_);
  KillTimer(control_.Handle(), kLoadTimer);
  failed->work.reset();
  failed->fill.reset();
  // Failed before it took the old window's place, which holds its text still.
  if (failed->beforeInPlace) return;
  input_.SetReadOnly(false);
  std::string().swap(failed->bytes);  // its memory back before the old text goes in
  // Into another window, as a long text's swap that fails.
  control_.DropWindow();
  const MarkColors colors = look_.MarkColorsNow();
  SwapWindows(
      [&](ControlText& into) { return into.PutWhole(failed->before, colors, ProgressReport(), progressDelayMs_); },
      failed->selectionBefore, failed->modifiedBefore);
  input_.NewText();
  journal_.Started();
  if (std::exchange(colorsChangedWhileLoading_, false)) SystemColorsChanged();
}

void RichEditor::FinishLoad() {
  while (load_) ContinueLoad();
}

void RichEditor::AbandonLoad() {
  if (!load_) return;
  StopLoading();
  load_.reset();
  colorsChangedWhileLoading_ = false;
}

void RichEditor::StopLoading() {
  ControlWindow window = control_.Window();
  KillTimer(window.Handle(), kLoadTimer);
  window.DrawFrame();
  window.Send(EM_EMPTYUNDOBUFFER);
  window.Send(EM_SETREADONLY, FALSE);
  window.Send(EM_SETEVENTMASK, 0, kEventMask);
  input_.SetReadOnly(false);
  journal_.Started();
  control_.TextChanged();
}

}  // namespace quolvi
