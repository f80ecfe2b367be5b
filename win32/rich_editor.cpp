// The editor's text, selection, clipboard, files and search, in Shift-JIS
// bytes over the control's UTF-16.
#include "win32/rich_editor.h"

#include <algorithm>
#include <utility>

#include "core/cp932.h"
#include "core/line_breaks.h"
#include "core/marked_splice.h"
#include "core/position_map.h"
#include "core/text_search.h"
#include "win32/text_file.h"

namespace quolvi {

// --- Text and positions ---------------------------------------------------

const IndexedText& RichEditor::Current() {
  // A command asks for positions and text several times over, and each
  // reading of the text (and of its marks, a pass of rich text) takes time
  // that grows with the text: it is read once for as long as it stays as it is.
  if (!current_ || currentGeneration_ != control_.Generation()) {
    current_.reset();  // before the new copy is made
    current_.emplace(text_.ReadAll());
    currentGeneration_ = control_.Generation();
  }
  return *current_;
}

bool RichEditor::IsEmpty() { return control_.Window().UnitCount() == 0; }

void RichEditor::InsertAtSelection(const cp932::MarkedText& text, bool canUndo) {
  CompleteLoad();
  CHARRANGE range = control_.Window().SelectedUnits();
  if (RewritesEdit(range, text.text)) {
    Rewrite(range, text, canUndo);
    return;
  }
  int notices = changeNotices_;
  bool streamed = text_.PutAtSelection(text, canUndo, look_.MarkColorsNow());
  journal_.EditedInPlace(canUndo);
  // Not every version of the control reports a change for a stream.
  if (streamed && changeNotices_ == notices) RaiseChange();
}

bool RichEditor::RewritesEdit(CHARRANGE range, std::u16string_view inserted) {
  return EditJournal::Rewrites(control_.Window(), range, inserted,
                               [this]() -> std::u16string_view { return Current().Content().text; });
}

void RichEditor::Rewrite(CHARRANGE range, const cp932::MarkedText& inserted, bool canUndo) {
  // When the whole text goes, the text before needs reading only for undo.
  const bool whole = range.cpMin == 0 && range.cpMax >= control_.Window().UnitCount();
  std::optional<EditJournal::Entry> undo;
  if (canUndo) undo = EditJournal::Entry{Current().Content(), range};
  cp932::MarkedText result = whole ? inserted
                                   : cp932::Splice(Current().Content(), static_cast<std::size_t>(range.cpMin),
                                                   static_cast<std::size_t>(range.cpMax), inserted);
  LONG caret = range.cpMin + static_cast<LONG>(inserted.text.size());
  PutInNewWindow(result, CHARRANGE{caret, caret}, Modified());
  journal_.Rewritten(std::move(undo));
  RaiseChange();
}

void RichEditor::CheckRoomFor(std::size_t insertedBytes) {
  if (insertedBytes == 0) return;
  // No unit stands for more than two bytes, so most insertions are known to
  // fit without reading the text.
  ControlWindow window = control_.Window();
  CHARRANGE selection = window.SelectedUnits();
  auto mostBytes = 2 * static_cast<std::size_t>(window.UnitCount() - (selection.cpMax - selection.cpMin));
  if (mostBytes + insertedBytes <= kMaxDocumentBytes) return;
  std::size_t now = WholeText().size();
  std::size_t selected = static_cast<std::size_t>(SelectionLength());
  if (now - std::min(selected, now) + insertedBytes > kMaxDocumentBytes) throw DocumentTooLarge(kMaxDocumentBytes);
}

const std::string& RichEditor::WholeText() { return Current().Bytes(); }

Position RichEditor::SelectionStart() {
  return static_cast<Position>(
      Current().ByteOffsetOfUnit(static_cast<std::size_t>(control_.Window().Selection().cpMin)));
}

Position RichEditor::SelectionLength() {
  const IndexedText& text = Current();
  CHARRANGE range = control_.Window().Selection();
  // The control may report an end past the text (it counts a final
  // paragraph mark when everything is selected); the mapping stops at the end.
  return static_cast<Position>(text.ByteOffsetOfUnit(static_cast<std::size_t>(range.cpMax)) -
                               text.ByteOffsetOfUnit(static_cast<std::size_t>(range.cpMin)));
}

void RichEditor::SetSelectionStart(Position p) {
  // A caret inside a double-byte character moves back to its first byte, so
  // it stands before the character the position pointed into.
  auto unit = static_cast<LONG>(Current().UnitOfByteOffset(static_cast<std::size_t>(std::max(p, 0)), Rounding::kDown));
  control_.Window().Select(CHARRANGE{unit, unit});
}

void RichEditor::SetSelectionLength(Position n) {
  Select(
      static_cast<Position>(Current().ByteOffsetOfUnit(static_cast<std::size_t>(control_.Window().Selection().cpMin))),
      n);
}

void RichEditor::Select(Position start, Position length) {
  const IndexedText& text = Current();
  // A start inside a double-byte character moves back to its first byte,
  // and the length counts from there; an end inside one moves past it, so
  // that the selection holds every byte that was asked for.
  CHARRANGE range;
  range.cpMin = static_cast<LONG>(text.UnitOfByteOffset(static_cast<std::size_t>(std::max(start, 0)), Rounding::kDown));
  std::size_t from = text.ByteOffsetOfUnit(static_cast<std::size_t>(range.cpMin));
  range.cpMax = length > 0
                    ? static_cast<LONG>(text.UnitOfByteOffset(from + static_cast<std::size_t>(length), Rounding::kUp))
                    : range.cpMin;
  ControlWindow window = control_.Window();
  window.Select(range);
  window.Send(kScrollCaret);
}

std::string RichEditor::SelectedText() {
  if (current_ && currentGeneration_ == control_.Generation()) {
    CHARRANGE range = control_.Window().Selection();
    std::size_t from = current_->ByteOffsetOfUnit(static_cast<std::size_t>(std::max<LONG>(range.cpMin, 0)));
    std::size_t to = current_->ByteOffsetOfUnit(static_cast<std::size_t>(std::max(range.cpMax, range.cpMin)));
    return current_->Bytes().substr(from, to - from);
  }
  // Only the selection is read, so that asking whether there is one (the
  // menus do, each time they open) costs what the selection holds.
  cp932::MarkedText selected = text_.ReadSelection();
  return cp932::Encode(selected.text, selected.marks);
}

void RichEditor::ReplaceSelectedText(std::string_view s) {
  // The document holds no lone CR or LF, whatever it is given (the control
  // would keep one, and it would come back from a file as a line break).
  std::string whole;
  if (s.find_first_of("\r\n") != std::string_view::npos) {
    whole = NormalizeLineBreaks<char>(s);
    s = whole;
  }
  CheckRoomFor(s.size());
  InsertAtSelection(cp932::Decode(s), false);
}

void RichEditor::SelectWholeText() { control_.Window().Send(EM_SETSEL, 0, -1); }

void RichEditor::CutSelection() {
  CompleteLoad();
  control_.Window().Send(WM_CUT);
}

void RichEditor::CopySelection() { control_.Window().Send(WM_COPY); }

void RichEditor::PasteClipboard() {
  std::u16string pasted;
  {
    OpenClipboardScope clipboard(control_.Handle());
    if (!clipboard.IsOpen()) return;
    GlobalLockScope<const char16_t> data(GetClipboardData(CF_UNICODETEXT));
    const char16_t* chars = data.Data();
    if (!chars) return;
    pasted.assign(chars, std::find(chars, chars + data.Count(), u'\0'));
  }
  if (pasted.empty()) return;
  // The document keeps its line breaks as CR LF, whatever the other program
  // wrote; pasted characters carry no marks.
  std::u16string text = NormalizeLineBreaks<char16_t>(pasted);
  CheckRoomFor(cp932::Encode(text).size());
  InsertAtSelection({text, {}}, true);
}

bool RichEditor::UndoAvailable() { return journal_.CanUndo(control_.Window()); }

void RichEditor::UndoLastEdit() {
  CompleteLoad();
  // The edits made in the control since a rewrite are undone first.
  const EditJournal::Entry* undo = journal_.NextUndo(control_.Window());
  if (!undo) {
    control_.Window().Send(EM_UNDO);
    return;
  }
  PutInNewWindow(undo->text, undo->selection, Modified());
  journal_.Started();
  RaiseChange();
}

int RichEditor::CountLines() {
  // The control shows an empty last line after a final line break, and one
  // empty line for an empty text; neither counts.
  ControlWindow window = control_.Window();
  auto lines = static_cast<int>(window.Send(EM_GETLINECOUNT));
  LRESULT lastLine = window.Send(EM_LINEINDEX, static_cast<WPARAM>(lines - 1));
  return window.Send(EM_LINELENGTH, static_cast<WPARAM>(lastLine)) == 0 ? lines - 1 : lines;
}

void RichEditor::ClearText() {
  // What a load has put in so far goes with the rest.
  AbandonLoad();
  // The control takes time quadratic in the number of lines to delete a long
  // text, while a new window is made at once.
  if (!IsEmpty()) {
    SwapWindows([](ControlText&) -> std::size_t { return 0; }, CHARRANGE{0, 0}, false);
  } else {
    SetWindowTextA(control_.Handle(), "");
  }
  control_.Window().Send(EM_SETMODIFY, FALSE);
  input_.NewText();
  journal_.Started();
}

void RichEditor::SaveTextFile(const std::string& path) {
  // Never a part of the text for the whole.
  CompleteLoad();
  ReplaceFileContents(path, WholeText(), writeFaults_);
}

UnwritableCharacters RichEditor::FindUnwritableCharacters() {
  CompleteLoad();
  const cp932::MarkedText& content = Current().Content();
  cp932::Unwritable found = cp932::FindUnwritable(content.text, content.marks);
  return {static_cast<int>(found.count), found.first, static_cast<int>(found.firstLine)};
}

std::function<std::string()> RichEditor::CopyText(const std::function<bool()>& interrupted) {
  // Not yet the document's text: given up, to be tried again.
  if (load_) return nullptr;
  return text_.CopyOut(interrupted);
}

Position RichEditor::SearchText(std::string_view t, Position start, Position len, bool matchCase) {
  return FindInText(Current().Bytes(), t, start, len, matchCase);
}

void RichEditor::FocusEditor() {
  HWND top = GetAncestor(control_.Handle(), GA_ROOT);
  if (top && GetActiveWindow() != top) SetActiveWindow(top);
  SetFocus(control_.Handle());
}

}  // namespace quolvi
