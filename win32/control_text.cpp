#include "win32/control_text.h"

#include <algorithm>

#include "core/line_breaks.h"

namespace quolvi {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wchar_t expected");

constexpr UINT kCodePageUtf16 = 1200;

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

DWORD CALLBACK AppendStreamed(DWORD_PTR cookie, LPBYTE buffer, LONG count, LONG* taken) {
  reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer),
                                                 static_cast<std::size_t>(count));
  *taken = count;
  return 0;
}

// The UTF-16 units of bytes that the system decodes as Decode does: one for
// each character, single-byte or double-byte.
std::size_t UnitsOfPlainBytes(std::string_view bytes) {
  std::size_t units = 0;
  for (std::size_t i = 0; i < bytes.size(); i += cp932::CharLength(bytes, i)) ++units;
  return units;
}

void StreamRtf(ControlWindow window, const std::string& rtf) {
  ByteStreamSource source{rtf};
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, ByteStreamSource::Read};
  window.Send(EM_STREAMIN, SF_RTF | SFF_SELECTION, &stream);
}

}  // namespace

// --- A whole text, a piece at a time -----------------------------------------

PieceFill::PieceFill(ControlText& into, std::string_view bytes, const MarkColors& colors) : window_(into.Window()) {
  if (!cp932::SystemDecodesAlike(bytes)) {
    UseText(into, decoded_.emplace(cp932::Decode(bytes)), colors);
    return;
  }
  // The control's own conversion serves, and ANSI streaming is its fastest way in.
  into.mayHoldMarks_ = false;
  form_ = Form::kAnsi;
  bytes_ = bytes;
  size_ = bytes.size();
}

PieceFill::PieceFill(ControlText& into, const cp932::MarkedText& text, const MarkColors& colors)
    : window_(into.Window()) {
  UseText(into, text, colors);
}

void PieceFill::UseText(ControlText& into, const cp932::MarkedText& text, const MarkColors& colors) {
  text_ = &text;
  size_ = text.text.size();
  if (text.marks.empty()) {
    into.mayHoldMarks_ = false;
    form_ = Form::kUnicode;
    return;
  }
  into.MayHoldMarksFrom(colors);
  colors_ = colors;
  form_ = Form::kRtf;
}

void PieceFill::PutNext(std::size_t minimum) {
  if (Done()) return;
  // The control lays out what a stream brings when the stream ends. One
  // stream of a long text leaves the heap of 32-bit Wine with long lists of
  // freed blocks that every allocation of that layout scans, in time that
  // grows faster than the square of the length; streams of a piece each keep
  // the lists short.
  const std::size_t from = from_;
  if (from > 0) {
    // Past the end: the control puts the caret at the end at once, where
    // the end itself would be looked for from the start of the text.
    LONG past = window_.UnitCount() + 1;
    window_.Select(CHARRANGE{past, past});
  }
  std::size_t to = 0;
  switch (form_) {
    case Form::kAnsi: {
      to = PieceEnd(bytes_, from, minimum);
      AnsiStreamSource source{bytes_.substr(from, to - from)};
      EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, AnsiStreamSource::Read};
      window_.SendAnsi(EM_STREAMIN, SF_TEXT | (from > 0 ? SFF_SELECTION : 0), &stream);
      unitsIn_ += UnitsOfPlainBytes(bytes_.substr(from, to - from));
      break;
    }
    case Form::kUnicode: {
      std::u16string_view whole = text_->text;
      to = PieceEnd(whole, from, minimum);
      UnicodeStreamSource source{whole.substr(from, to - from)};
      EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0, UnicodeStreamSource::Read};
      window_.Send(EM_STREAMIN, SF_TEXT | SF_UNICODE | (from > 0 ? SFF_SELECTION : 0), &stream);
      unitsIn_ = to;
      break;
    }
    case Form::kRtf: {
      // Every piece is streamed over the selection, the first over the
      // selected whole text: a stream that replaces the whole text drops the
      // text's final line break (the control takes it for the paragraph end
      // it always has), one at the selection keeps it.
      std::u16string_view whole = text_->text;
      to = PieceEnd(whole, from, minimum);
      cp932::MarkedText piece{std::u16string(whole.substr(from, to - from)), {}};
      const std::vector<cp932::Mark>& marks = text_->marks;
      for (; nextMark_ < marks.size() && marks[nextMark_].unit < to; ++nextMark_) {
        piece.marks.push_back({marks[nextMark_].unit - from, marks[nextMark_].value});
      }
      if (from == 0) window_.Send(EM_SETSEL, 0, -1);
      StreamRtf(window_, MarkedTextToRtf(piece, colors_));
      unitsIn_ = to;
      break;
    }
  }
  from_ = to;
  if (!Done()) return;
  window_.Send(EM_EMPTYUNDOBUFFER);
  if (form_ == Form::kRtf) window_.Send(EM_SETSEL, 0, 0);
}

// --- One window's text -----------------------------------------------------------

void ControlText::PutAll(PieceFill& fill, ControlWindow window, const ProgressReport& progress, unsigned delayMs) {
  QuietControl quiet(window);
  LongWork work(progress, delayMs);
  while (!fill.Done()) {
    fill.PutNext();
    work.Reached(fill.Reached(), fill.Total());
  }
}

std::size_t ControlText::PutWhole(std::string_view bytes, const MarkColors& colors, const ProgressReport& progress,
                                  unsigned delayMs) {
  PieceFill fill(*this, bytes, colors);
  PutAll(fill, window_, progress, delayMs);
  return fill.UnitsIn();
}

std::size_t ControlText::PutWhole(const cp932::MarkedText& text, const MarkColors& colors,
                                  const ProgressReport& progress, unsigned delayMs) {
  PieceFill fill(*this, text, colors);
  PutAll(fill, window_, progress, delayMs);
  return fill.UnitsIn();
}

bool ControlText::PutAtSelection(const cp932::MarkedText& text, bool canUndo, const MarkColors& colors) {
  if (!mayHoldMarks_ && text.marks.empty()) {
    std::u16string terminated(text.text);
    SETTEXTEX how{static_cast<DWORD>(ST_SELECTION | (canUndo ? ST_KEEPUNDO : 0)), kCodePageUtf16};
    window_.Send(EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), terminated.c_str());
    return false;
  }
  // As rich text, which gives the inserted characters their own format
  // (the neutral one, or their marks) instead of their neighbour's. The
  // control records the replacement as one undo step.
  if (!mayHoldMarks_) MayHoldMarksFrom(colors);
  StreamInRtf(MarkedTextToRtf(text, colors_));
  if (!canUndo) window_.Send(EM_EMPTYUNDOBUFFER);
  return true;
}

void ControlText::StreamInRtf(const std::string& rtf) { StreamRtf(window_, rtf); }

void ControlText::MayHoldMarksFrom(const MarkColors& colors) {
  colors_ = colors;
  mayHoldMarks_ = true;
}

cp932::MarkedText ControlText::ReadAll() {
  std::u16string text = window_.ReadAll();
  std::vector<cp932::Mark> marks = ReadMarks(text, false);
  return {std::move(text), std::move(marks)};
}

cp932::MarkedText ControlText::ReadSelection() {
  CHARRANGE range = window_.SelectedUnits();
  std::u16string text = window_.Read(GT_SELECTION, static_cast<std::size_t>(range.cpMax - range.cpMin));
  std::vector<cp932::Mark> marks = ReadMarks(text, true);
  return {std::move(text), std::move(marks)};
}

std::vector<cp932::Mark> ControlText::ReadMarks(std::u16string_view text, bool selectionOnly) {
  if (!mayHoldMarks_ || text.empty()) return {};
  std::string rtf;
  EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&rtf), 0, AppendStreamed};
  window_.Send(EM_STREAMOUT, SF_RTF | (selectionOnly ? SFF_SELECTION : 0), &stream);
  return MarksFromRtf(rtf, text, colors_);
}

std::function<std::string()> ControlText::CopyOut(const std::function<bool()>& interrupted) {
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
  text.bytes.reserve(static_cast<std::size_t>(window_.UnitCount()) * sizeof(char16_t));
  if (!text.Stream(window_.Handle(), SF_TEXT | SF_UNICODE)) return nullptr;
  Copy rtf{{}, interrupted};
  if (mayHoldMarks_ && !rtf.Stream(window_.Handle(), SF_RTF)) return nullptr;
  return [streamed = std::move(text.bytes), rtf = std::move(rtf.bytes), marked = mayHoldMarks_, colors = colors_] {
    std::u16string units(streamed.size() / sizeof(char16_t), u'\0');
    std::copy_n(streamed.data(), units.size() * sizeof(char16_t), reinterpret_cast<char*>(units.data()));
    return cp932::Encode(units,
                         marked && !units.empty() ? MarksFromRtf(rtf, units, colors) : std::vector<cp932::Mark>{});
  };
}

}  // namespace quolvi
