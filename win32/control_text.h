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
#include <string>
#include <string_view>
#include <vector>

#include "core/cp932.h"
#include "core/marked_rtf.h"
#include "win32/edit_control.h"
#include "win32/long_work.h"

namespace quolvi {

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
  // Streams a whole text of size units in: streamIn(from, to) streams the
  // units [from, to) in at the selection, and pieceEnd(from) tells where the
  // piece that starts at from ends.
  template <class PieceEnd, class StreamIn>
  void PutInPieces(std::size_t size, PieceEnd pieceEnd, StreamIn streamIn, const ProgressReport& progress,
                   unsigned delayMs);
  void PutUnicode(std::u16string_view text, const ProgressReport& progress, unsigned delayMs);
  void StreamInRtf(const std::string& rtf);
  std::vector<cp932::Mark> ReadMarks(std::u16string_view text, bool selectionOnly);
  void MayHoldMarksFrom(const MarkColors& colors);

  ControlWindow window_;
  bool mayHoldMarks_ = false;
  MarkColors colors_;
};

}  // namespace quolvi
