// The text in and out of one window of the control: a whole text in
// pieces, as plain text or as rich text (RTF) carrying marks; an insertion
// at the selection; the text read back with its marks.
//
// A window that holds no marked character takes and gives plain text, the
// fastest way; once one may hold marks, its text is read with them, and its
// insertions are written as RTF in the neutral format, so that a character
// typed next to a marked one takes no mark from it (docs/design.md).
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/cp932.h"
#include "core/marked_rtf.h"
#include "win32/edit_control.h"
#include "win32/long_work.h"

namespace quolvi {

class ControlText;

// A whole text going into an empty window of the control a piece at a time
// (about 64 K units each), each piece after the first at the end of the text
// and ending after a line feed, or inside a long line at a character
// boundary (PieceEnd), so never inside a character or a line break.
// Plain text goes in as ANSI where the system converts its bytes exactly as
// the program does, else as UTF-16; a text with marks goes in as RTF. The
// text is the caller's, and stays while the fill goes on.
class PieceFill {
 public:
  // Decides how the text goes into the window of into (and so whether that
  // window may hold marks); puts nothing in yet. colors are the ones marks
  // are written against.
  PieceFill(ControlText& into, std::string_view bytes, const MarkColors& colors);
  PieceFill(ControlText& into, const cp932::MarkedText& text, const MarkColors& colors);
  PieceFill(const PieceFill&) = delete;
  PieceFill& operator=(const PieceFill&) = delete;

  bool Done() const { return from_ >= size_; }
  // How far it has come: Reached() of Total() (bytes of a text given as
  // bytes that go in as such, else units).
  std::size_t Reached() const { return from_; }
  std::size_t Total() const { return size_; }
  // The UTF-16 units of the pieces in so far, which the window then holds.
  std::size_t UnitsIn() const { return unitsIn_; }

  // Puts the next piece in, of at least minimum units (the normal size
  // unless told); after the last, the window's undo history is emptied.
  void PutNext(std::size_t minimum = kPieceSize);

  static constexpr std::size_t kPieceSize = 64 * 1024;

 private:
  enum class Form { kAnsi, kUnicode, kRtf };
  void UseText(ControlText& into, const cp932::MarkedText& text, const MarkColors& colors);

  ControlWindow window_;
  Form form_ = Form::kAnsi;
  std::string_view bytes_;                    // kAnsi
  std::optional<cp932::MarkedText> decoded_;  // bytes the system would read otherwise
  const cp932::MarkedText* text_ = nullptr;   // kUnicode, kRtf
  MarkColors colors_;
  std::size_t from_ = 0;
  std::size_t size_ = 0;
  std::size_t unitsIn_ = 0;
  std::size_t nextMark_ = 0;
};

class ControlText {
 public:
  ControlText() = default;
  explicit ControlText(ControlWindow window) : window_(window) {}

  ControlWindow Window() const { return window_; }
  // Whether the window may hold marked characters, and the colours their
  // shades were written against.
  bool MayHoldMarks() const { return mayHoldMarks_; }
  const MarkColors& WrittenAgainst() const { return colors_; }

  // Puts a whole text into the empty window, in pieces, with nothing drawn
  // and no notifications meanwhile, and empties its undo history; progress
  // is told from delayMs on. colors are the ones marks are written against.
  // Returns the UTF-16 units the text takes, which the window then holds.
  std::size_t PutWhole(std::string_view bytes, const MarkColors& colors, const ProgressReport& progress,
                       unsigned delayMs);
  std::size_t PutWhole(const cp932::MarkedText& text, const MarkColors& colors, const ProgressReport& progress,
                       unsigned delayMs);

  // Replaces the selection by text; with canUndo the control records it as
  // one undo step, without it the control's undo history is emptied.
  // Returns whether the text went in as a stream of RTF, for which not every
  // version of the control reports a change.
  bool PutAtSelection(const cp932::MarkedText& text, bool canUndo, const MarkColors& colors);

  // The whole text with its marks, or the selected part of it.
  cp932::MarkedText ReadAll();
  cp932::MarkedText ReadSelection();
  // Streams the whole text out, giving up (nullptr) as soon as interrupted()
  // says so; the function returned makes its bytes, with the marks, on any
  // thread (reading the control is the part that must stay on its own).
  std::function<std::string()> CopyOut(const std::function<bool()>& interrupted);

 private:
  friend class PieceFill;
  // Puts the whole of fill in, drawing nothing and sending no notifications.
  static void PutAll(PieceFill& fill, ControlWindow window, const ProgressReport& progress, unsigned delayMs);
  void StreamInRtf(const std::string& rtf);
  std::vector<cp932::Mark> ReadMarks(std::u16string_view text, bool selectionOnly);
  void MayHoldMarksFrom(const MarkColors& colors);

  ControlWindow window_;
  bool mayHoldMarks_ = false;
  MarkColors colors_;
};

}  // namespace quolvi
