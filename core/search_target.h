// What a search and a replacement ask of the editor: its text, the
// selection, a forward search and the replacement of the selection. Find
// Next, Replace and Replace All (core/matcher.h, core/replace_all.h) take
// this much and no more; the editor (core/editor.h) is one.
#pragma once

#include <string>
#include <string_view>

namespace quolvi {

// A byte offset into the Shift-JIS text, whose line breaks are CR LF: a
// double-byte character counts 2, a line break counts 2.
using Position = int;

class SearchTarget {
 public:
  virtual ~SearchTarget() = default;

  // The whole text; the reference stays good until the text changes.
  virtual const std::string& WholeText() = 0;
  virtual bool IsEmpty() = 0;
  virtual Position SelectionStart() = 0;
  virtual Position SelectionLength() = 0;
  // Puts the caret at p, selecting nothing.
  virtual void SetSelectionStart(Position p) = 0;
  // Selects n bytes from the current selection start and scrolls them into view.
  virtual void SetSelectionLength(Position n) = 0;
  // The two above in one step: the control moves its selection once, which
  // takes it time that grows with the text.
  virtual void Select(Position start, Position length) {
    SetSelectionStart(start);
    SetSelectionLength(length);
  }
  virtual void SelectWholeText() = 0;
  // Replaces the selection (not recorded for undo); the caret ends after s.
  // Throws DocumentTooLarge (core/editor.h), changing nothing, when the text
  // would grow beyond kMaxDocumentBytes.
  virtual void ReplaceSelectedText(std::string_view s) = 0;
  // Position of the first occurrence of t wholly inside [start, start + len),
  // or -1.
  virtual Position SearchText(std::string_view t, Position start, Position len, bool matchCase) = 0;
  virtual void FocusEditor() = 0;
};

}  // namespace quolvi
