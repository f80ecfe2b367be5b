// The editor's text, selection, clipboard, files and search, in Shift-JIS
// bytes over the control's UTF-16.
#include "win32/rich_editor.h"

#include <richedit.h>

#include <algorithm>
#include <utility>

#include "core/cp932.h"
#include "core/line_breaks.h"
#include "core/marked_rtf.h"
#include "core/marked_splice.h"
#include "core/position_map.h"
#include "core/text_search.h"
#include "win32/color.h"
#include "win32/text_file.h"

namespace quolvi {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t expected");

constexpr UINT kCodePageUtf16 = 1200;

const wchar_t* AsWide(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

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
    std::size_t units =
        std::min<std::size_t>(static_cast<std::size_t>(capacity) / sizeof(char16_t), self->text.size() - self->offset);
    std::size_t end = self->offset + units;
    if (units > 1 && end < self->text.size() && self->text[end - 1] == u'\r') --units;
    std::copy_n(self->text.data() + self->offset, units, reinterpret_cast<char16_t*>(buffer));
    self->offset += units;
    *got = static_cast<LONG>(units * sizeof(char16_t));
    return 0;
  }
};

// Bytes that EM_STREAMIN reads as they come (rich text: the reader keeps its
// place across pieces).
struct ByteStreamSource {
  std::string_view bytes;
  std::size_t offset = 0;

  static DWORD CALLBACK Read(DWORD_PTR cookie, LPBYTE buffer, LONG capacity, LONG* got) {
    auto* self = reinterpret_cast<ByteStreamSource*>(cookie);
    std::size_t count = std::min(self->bytes.size() - self->offset, static_cast<std::size_t>(capacity));
    std::copy_n(self->bytes.data() + self->offset, count, buffer);
    self->offset += count;
    *got = static_cast<LONG>(count);
    return 0;
  }
};

// The pieces a whole text is streamed in: about kPieceSize units each.
constexpr std::size_t kPieceSize = 64 * 1024;

DWORD CALLBACK AppendStreamed(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* taken) {
  reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer),
                                                 static_cast<std::size_t>(count));
  *taken = count;
  return 0;
}

}  // namespace
// --- Text and positions ---------------------------------------------------

std::u16string RichEditor::UnicodeText() { return ReadUnicode(GT_DEFAULT, static_cast<std::size_t>(UnitCount())); }

std::u16string RichEditor::ReadUnicode(DWORD which, std::size_t units) {
  // Asked for with the code page named: EM_GETTEXTRANGE, for one, answers in
  // ANSI whoever asks.
  std::u16string text(units + 1, u'\0');
  GETTEXTEX request{};
  request.cb = static_cast<DWORD>((units + 1) * sizeof(char16_t));
  request.flags = which;
  request.codepage = kCodePageUtf16;
  LRESULT got = SendMessageW(window_.Get(), EM_GETTEXTEX, reinterpret_cast<WPARAM>(&request),
                             reinterpret_cast<LPARAM>(text.data()));
  text.resize(std::min(units, static_cast<std::size_t>(std::max<LRESULT>(got, 0))));
  return text;
}

const IndexedText& RichEditor::Current() {
  // A command asks for positions and text several times over, and each
  // reading of the text (and of its marks, a pass of rich text) takes time
  // that grows with the text: it is read once for as long as it stays as it is.
  if (!current_ || currentGeneration_ != generation_) {
    current_.reset();  // before the new copy is made
    std::u16string text = UnicodeText();
    std::vector<cp932::Mark> marks = ReadMarks(text);
    current_.emplace(cp932::MarkedText{std::move(text), std::move(marks)});
    currentGeneration_ = generation_;
  }
  return *current_;
}

LONG RichEditor::UnitCount() {
  GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_PRECISE, kCodePageUtf16};
  return static_cast<LONG>(SendMessageW(window_.Get(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
}

CHARRANGE RichEditor::SelectedUnits() {
  // The control may report an end past the text (it counts a final
  // paragraph mark when everything is selected).
  CHARRANGE range = GetCharRange();
  LONG units = UnitCount();
  range.cpMin = std::clamp<LONG>(range.cpMin, 0, units);
  range.cpMax = std::clamp<LONG>(range.cpMax, range.cpMin, units);
  return range;
}

std::u16string RichEditor::SelectionUnicode() {
  CHARRANGE range = SelectedUnits();
  return ReadUnicode(GT_SELECTION, static_cast<std::size_t>(range.cpMax - range.cpMin));
}

std::vector<cp932::Mark> RichEditor::ReadMarks(std::u16string_view text, bool selectionOnly) {
  if (!mayHoldMarks_ || text.empty()) return {};
  std::string rtf;
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&rtf), 0, AppendStreamed};
  SendMessageW(window_.Get(), EM_STREAMOUT, SF_RTF | (selectionOnly ? SFF_SELECTION : 0),
               reinterpret_cast<LPARAM>(&stream));
  return MarksFromRtf(rtf, text, markColors_);
}

void RichEditor::SetUnicodeText(std::u16string_view text) {
  PutInPieces(
      text.size(), [&](std::size_t from) { return PieceEnd(text, from, kPieceSize); },
      [&](std::size_t from, std::size_t to) {
        UnicodeStreamSource source{text.substr(from, to - from)};
        EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, UnicodeStreamSource::Read};
        SendMessageW(window_.Get(), EM_STREAMIN, SF_TEXT | SF_UNICODE | (from > 0 ? SFF_SELECTION : 0),
                     reinterpret_cast<LPARAM>(&stream));
      });
}

void RichEditor::SetText(std::string_view bytes) {
  if (!cp932::SystemDecodesAlike(bytes)) {
    SetMarkedText(cp932::Decode(bytes));
    return;
  }
  // The control's own conversion serves, and ANSI streaming is its fastest way in.
  mayHoldMarks_ = false;
  PutInPieces(
      bytes.size(), [&](std::size_t from) { return PieceEnd(bytes, from, kPieceSize); },
      [&](std::size_t from, std::size_t to) {
        AnsiStreamSource source{bytes.substr(from, to - from)};
        EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, AnsiStreamSource::Read};
        SendMessageA(window_.Get(), EM_STREAMIN, SF_TEXT | (from > 0 ? SFF_SELECTION : 0),
                     reinterpret_cast<LPARAM>(&stream));
      });
}

void RichEditor::SetMarkedText(const cp932::MarkedText& text) {
  if (text.marks.empty()) {
    mayHoldMarks_ = false;
    SetUnicodeText(text.text);
    return;
  }
  markColors_ = CurrentMarkColors();
  mayHoldMarks_ = true;
  // Every piece is streamed over the selection, the first over the selected
  // whole text: a stream that replaces the whole text drops the text's final
  // line break (the control takes it for the paragraph end it always has),
  // one at the selection keeps it.
  SendMessageW(window_.Get(), EM_SETSEL, 0, -1);
  std::u16string_view whole = text.text;
  PutInPieces(
      whole.size(), [&](std::size_t from) { return PieceEnd(whole, from, kPieceSize); },
      [&](std::size_t from, std::size_t to) {
        cp932::MarkedText piece{std::u16string(whole.substr(from, to - from)), {}};
        for (const cp932::Mark& mark : text.marks) {
          if (mark.unit >= from && mark.unit < to) piece.marks.push_back({mark.unit - from, mark.value});
        }
        StreamInRtf(MarkedTextToRtf(piece, markColors_), true);
      });
  SendMessageW(window_.Get(), EM_SETSEL, 0, 0);
}

void RichEditor::PutInPieces(std::size_t size, const std::function<std::size_t(std::size_t from)>& pieceEnd,
                             const std::function<void(std::size_t from, std::size_t to)>& streamIn) {
  // The control lays out what a stream brings when the stream ends. One
  // stream of a long text leaves the heap of 32-bit Wine with long lists of
  // freed blocks that every allocation of that layout scans, in time that
  // grows faster than the square of the length; streams of a piece each keep
  // the lists short. Each piece after the first goes in at the end of the
  // text, ending after a line feed (so never inside a character or a line
  // break). Meanwhile nothing is drawn and the control sends no
  // notifications; one change is raised at the end.
  HWND control = window_.Get();
  bool raise = std::exchange(raiseChanges_, false);
  SendMessageW(control, WM_SETREDRAW, FALSE, 0);
  SendMessageW(control, EM_SETEVENTMASK, 0, 0);
  LongWork work(OnProgress, progressDelayMs_);
  std::size_t from = 0;
  do {
    std::size_t to = pieceEnd(from);
    if (from > 0) {
      LONG end = UnitCount();
      CHARRANGE range{end, end};
      SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    }
    streamIn(from, to);
    from = to;
    work.Reached(from, size);
  } while (from < size);
  SendMessageW(control, EM_EMPTYUNDOBUFFER, 0, 0);
  SendMessageW(control, EM_SETEVENTMASK, 0, kEventMask);
  SendMessageW(control, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(control, nullptr, TRUE);
  raiseChanges_ = raise;
  if (raise) RaiseChange();
}

void RichEditor::StreamInRtf(const std::string& rtf, bool atSelection) {
  ByteStreamSource source{rtf};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, ByteStreamSource::Read};
  SendMessageW(window_.Get(), EM_STREAMIN, SF_RTF | (atSelection ? SFF_SELECTION : 0),
               reinterpret_cast<LPARAM>(&stream));
}

MarkColors RichEditor::CurrentMarkColors() const {
  MarkColors colors;
  colors.autoText = fontColor_ == kClWindowText;
  colors.text = ResolveColor(fontColor_);
  colors.back = ResolveColor(backColor_);
  return colors;
}

bool RichEditor::IsEmpty() { return UnitCount() == 0; }

void RichEditor::InsertAtSelection(const cp932::MarkedText& text, bool canUndo) {
  CHARRANGE range = SelectedUnits();
  if (RewritesEdit(range, text.text)) {
    Rewrite(range, text, canUndo);
    return;
  }
  if (!canUndo) rewriteUndo_.reset();
  if (!mayHoldMarks_ && text.marks.empty()) {
    std::u16string terminated(text.text);
    SETTEXTEX how{static_cast<DWORD>(ST_SELECTION | (canUndo ? ST_KEEPUNDO : 0)), kCodePageUtf16};
    SendMessageW(window_.Get(), EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how),
                 reinterpret_cast<LPARAM>(AsWide(terminated)));
    return;
  }
  // As rich text, which gives the inserted characters their own format
  // (the neutral one, or their marks) instead of their neighbour's. The
  // control records the replacement as one undo step.
  if (!mayHoldMarks_) {
    markColors_ = CurrentMarkColors();
    mayHoldMarks_ = true;
  }
  int notices = changeNotices_;
  StreamInRtf(MarkedTextToRtf(text, markColors_), true);
  if (!canUndo) SendMessageW(window_.Get(), EM_EMPTYUNDOBUFFER, 0, 0);
  // Not every version of the control reports a change for a stream.
  if (changeNotices_ == notices && raiseChanges_) RaiseChange();
}

bool RichEditor::RewritesEdit(CHARRANGE range, std::u16string_view inserted) {
  // The document's line breaks are CR LF.
  auto lines = static_cast<LRESULT>(std::count(inserted.begin(), inserted.end(), u'\r'));
  if (range.cpMax > range.cpMin) {
    // The control's lines first, which it counts without reading the text;
    // with word wrap on they are rows, so many of them may be few lines.
    HWND control = window_.Get();
    LRESULT rows = SendMessageW(control, EM_EXLINEFROMCHAR, 0, range.cpMax) -
                   SendMessageW(control, EM_EXLINEFROMCHAR, 0, range.cpMin);
    if (rows + lines < kRewriteLines) return false;
    std::u16string_view text = Current().Content().text;
    std::u16string_view replaced = text.substr(std::min(static_cast<std::size_t>(range.cpMin), text.size()),
                                               static_cast<std::size_t>(range.cpMax - range.cpMin));
    lines += std::count(replaced.begin(), replaced.end(), u'\r');
  }
  return lines >= kRewriteLines;
}

void RichEditor::Rewrite(CHARRANGE range, const cp932::MarkedText& inserted, bool canUndo) {
  // When the whole text goes, the text before needs reading only for undo.
  const bool whole = range.cpMin == 0 && range.cpMax >= UnitCount();
  std::optional<RewriteUndo> undo;
  if (canUndo) undo = RewriteUndo{Current().Content(), range};
  cp932::MarkedText result = whole ? inserted
                                   : cp932::Splice(Current().Content(), static_cast<std::size_t>(range.cpMin),
                                                   static_cast<std::size_t>(range.cpMax), inserted);
  LONG caret = range.cpMin + static_cast<LONG>(inserted.text.size());
  PutTextInNewWindow(result, CHARRANGE{caret, caret});
  rewriteUndo_ = std::move(undo);
  RaiseChange();
}

void RichEditor::PutTextInNewWindow(const cp932::MarkedText& text, CHARRANGE selection) {
  raiseChanges_ = false;
  RecreateControlWindow();
  if (window_) {
    SetMarkedText(text);
    SendMessageW(window_.Get(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    SendMessageW(window_.Get(), kScrollCaret, 0, 0);
  }
  raiseChanges_ = true;
}

void RichEditor::CheckRoomFor(std::size_t insertedBytes) {
  if (insertedBytes == 0) return;
  // No unit stands for more than two bytes, so most insertions are known to
  // fit without reading the text.
  CHARRANGE selection = SelectedUnits();
  auto mostBytes = 2 * static_cast<std::size_t>(UnitCount() - (selection.cpMax - selection.cpMin));
  if (mostBytes + insertedBytes <= kMaxDocumentBytes) return;
  std::size_t now = WholeText().size();
  std::size_t selected = static_cast<std::size_t>(SelectionLength());
  if (now - std::min(selected, now) + insertedBytes > kMaxDocumentBytes) throw DocumentTooLarge(kMaxDocumentBytes);
}

CHARRANGE RichEditor::GetCharRange() {
  CHARRANGE range{0, 0};
  SendMessageW(window_.Get(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
  return range;
}

const std::string& RichEditor::WholeText() { return Current().Bytes(); }

Position RichEditor::SelectionStart() {
  return static_cast<Position>(Current().ByteOffsetOfUnit(static_cast<std::size_t>(GetCharRange().cpMin)));
}

Position RichEditor::SelectionLength() {
  const IndexedText& text = Current();
  CHARRANGE range = GetCharRange();
  // The control may report an end past the text (it counts a final
  // paragraph mark when everything is selected); the mapping stops at the end.
  return static_cast<Position>(text.ByteOffsetOfUnit(static_cast<std::size_t>(range.cpMax)) -
                               text.ByteOffsetOfUnit(static_cast<std::size_t>(range.cpMin)));
}

void RichEditor::SetSelectionStart(Position p) {
  // A caret inside a double-byte character moves back to its first byte, so
  // it stands before the character the position pointed into.
  auto unit = static_cast<LONG>(Current().UnitOfByteOffset(static_cast<std::size_t>(std::max(p, 0)), Rounding::kDown));
  CHARRANGE range{unit, unit};
  SendMessageW(window_.Get(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void RichEditor::SetSelectionLength(Position n) {
  Select(static_cast<Position>(Current().ByteOffsetOfUnit(static_cast<std::size_t>(GetCharRange().cpMin))), n);
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
  SendMessageW(window_.Get(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
  SendMessageW(window_.Get(), kScrollCaret, 0, 0);
}

std::string RichEditor::SelectedText() {
  if (current_ && currentGeneration_ == generation_) {
    CHARRANGE range = GetCharRange();
    std::size_t from = current_->ByteOffsetOfUnit(static_cast<std::size_t>(std::max<LONG>(range.cpMin, 0)));
    std::size_t to = current_->ByteOffsetOfUnit(static_cast<std::size_t>(std::max(range.cpMax, range.cpMin)));
    return current_->Bytes().substr(from, to - from);
  }
  // Only the selection is read, so that asking whether there is one (the
  // menus do, each time they open) costs what the selection holds.
  std::u16string text = SelectionUnicode();
  return cp932::Encode(text, ReadMarks(text, true));
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

void RichEditor::SelectWholeText() { SendMessageW(window_.Get(), EM_SETSEL, 0, -1); }

void RichEditor::CutSelection() { SendMessageW(window_.Get(), WM_CUT, 0, 0); }

void RichEditor::CopySelection() { SendMessageW(window_.Get(), WM_COPY, 0, 0); }

void RichEditor::PasteClipboard() {
  std::u16string pasted;
  {
    OpenClipboardScope clipboard(window_.Get());
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

bool RichEditor::UndoAvailable() {
  return SendMessageW(window_.Get(), EM_CANUNDO, 0, 0) != 0 || rewriteUndo_.has_value();
}

void RichEditor::UndoLastEdit() {
  // The edits made in the control since a rewrite are undone first.
  if (SendMessageW(window_.Get(), EM_CANUNDO, 0, 0) != 0 || !rewriteUndo_) {
    SendMessageW(window_.Get(), EM_UNDO, 0, 0);
    return;
  }
  RewriteUndo undo = std::move(*rewriteUndo_);
  PutTextInNewWindow(undo.text, undo.selection);
  RaiseChange();
}

int RichEditor::CountLines() {
  // The control shows an empty last line after a final line break, and one
  // empty line for an empty text; neither counts.
  auto lines = static_cast<int>(SendMessageW(window_.Get(), EM_GETLINECOUNT, 0, 0));
  LRESULT lastLine = SendMessageW(window_.Get(), EM_LINEINDEX, lines - 1, 0);
  return SendMessageW(window_.Get(), EM_LINELENGTH, lastLine, 0) == 0 ? lines - 1 : lines;
}

void RichEditor::ClearText() {
  pendingHighSurrogate_ = 0;
  rewriteUndo_.reset();
  // The control takes time quadratic in the number of lines to delete a long
  // text, while a new window is made at once.
  if (!IsEmpty()) RecreateControlWindow();
  SetWindowTextA(window_.Get(), "");
  mayHoldMarks_ = false;
  SendMessageW(window_.Get(), EM_SETMODIFY, 0, 0);
}

void RichEditor::LoadTextFile(const std::string& path) {
  // The whole file is read and checked before the control is touched, so a
  // file that cannot be loaded leaves the document as it was.
  std::string text = ReadTextFile(path, kMaxDocumentBytes);
  pendingHighSurrogate_ = 0;
  rewriteUndo_.reset();
  // Streaming over a long text first deletes it, in time quadratic in its
  // number of lines; a new window is empty at once.
  if (!IsEmpty()) RecreateControlWindow();
  SetText(text);
  CHARRANGE start{0, 0};
  SendMessageW(window_.Get(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
}

void RichEditor::SaveTextFile(const std::string& path) { ReplaceFileContents(path, WholeText(), writeFaults_); }

UnwritableCharacters RichEditor::FindUnwritableCharacters() {
  const cp932::MarkedText& content = Current().Content();
  cp932::Unwritable found = cp932::FindUnwritable(content.text, content.marks);
  return {static_cast<int>(found.count), found.first, static_cast<int>(found.firstLine)};
}

std::function<std::string()> RichEditor::CopyText(const std::function<bool()>& interrupted) {
  // Reading a long text takes the control a noticeable while, so it is
  // streamed out, which the control does a few thousand characters at a
  // time, and the copy gives up as soon as it is told to. Finding the marks
  // and making the bytes, which take as long again, are left to the function.
  struct Copy {
    std::string bytes;
    const std::function<bool()>& interrupted;
    DWORD lastAsked = GetTickCount() - 10;  // asked first at once
    static DWORD CALLBACK Append(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* taken) {
      auto* copy = reinterpret_cast<Copy*>(cookie);
      copy->bytes.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(count));
      *taken = count;
      if (GetTickCount() - copy->lastAsked < 10) return 0;  // a question to the system costs time too
      copy->lastAsked = GetTickCount();
      return copy->interrupted() ? 1 : 0;
    }
    bool Stream(HWND control, WPARAM format) {
      EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(this), 0, Append};
      SendMessageW(control, EM_STREAMOUT, format, reinterpret_cast<LPARAM>(&stream));
      return stream.dwError == 0;
    }
  };
  Copy text{{}, interrupted};
  text.bytes.reserve(static_cast<std::size_t>(UnitCount()) * sizeof(char16_t));
  if (!text.Stream(window_.Get(), SF_TEXT | SF_UNICODE)) return nullptr;
  Copy rtf{{}, interrupted};
  if (mayHoldMarks_ && !rtf.Stream(window_.Get(), SF_RTF)) return nullptr;
  return [streamed = std::move(text.bytes), rtf = std::move(rtf.bytes), marked = mayHoldMarks_, colors = markColors_] {
    std::u16string units(streamed.size() / sizeof(char16_t), u'\0');
    std::copy_n(streamed.data(), units.size() * sizeof(char16_t), reinterpret_cast<char*>(units.data()));
    return cp932::Encode(units,
                         marked && !units.empty() ? MarksFromRtf(rtf, units, colors) : std::vector<cp932::Mark>{});
  };
}

Position RichEditor::SearchText(std::string_view t, Position start, Position len, bool matchCase) {
  return FindInText(Current().Bytes(), t, start, len, matchCase);
}

void RichEditor::FocusEditor() {
  HWND top = GetAncestor(window_.Get(), GA_ROOT);
  if (top && GetActiveWindow() != top) SetActiveWindow(top);
  SetFocus(window_.Get());
}

}  // namespace quolvi
