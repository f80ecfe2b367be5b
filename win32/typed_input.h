// What the keyboard and the input method bring to the text: typed
// characters (a surrogate pair whole), the keys that delete or paste, what
// an input method commits, and overwrite mode (the Insert key).
//
// The control's subclass makes its window a Unicode one, so a typed
// character arrives whole; the control would take a non-ASCII character as
// ANSI bytes one at a time and corrupt it, so the editor inserts such
// characters itself, as it does every edit of many lines (EditJournal).
#pragma once

#include <windows.h>

#include <optional>
#include <string_view>

#include "win32/edit_control.h"

namespace quolvi {

// What typing asks of the editor.
class TypingTarget {
 public:
  // Puts text in place of the selection as one undo step.
  virtual void InsertTyped(std::u16string_view text) = 0;
  // Whether putting text in place of the selection is an edit of many
  // lines, which the editor makes (InsertTyped) rather than the control.
  virtual bool EditsManyLines(std::u16string_view text) = 0;
  virtual void Paste() = 0;
  // Passes a message on to the control.
  virtual LRESULT PassOn(UINT message, WPARAM wParam, LPARAM lParam) = 0;

 protected:
  ~TypingTarget() = default;
};

class TypedInput {
 public:
  // Handles a message of the control's window that brings input; returns
  // its result, or nothing when the message is none of these.
  std::optional<LRESULT> Handle(UINT message, WPARAM wParam, LPARAM lParam, ControlWindow window, TypingTarget& editor);

  // A new window starts in insert mode.
  void NewWindow() { overwrite_ = false; }
  // A new text: half a surrogate pair typed before is forgotten.
  void NewText() { pendingHighSurrogate_ = 0; }
  // While the text is read-only, whatever would change it (typing, the input
  // method, the keys that delete, paste or undo, the edit messages) is
  // dropped; the keys that move the caret, select and copy still work.
  void SetReadOnly(bool on) { readOnly_ = on; }

 private:
  // The result for a message that the read-only text drops; nothing for
  // one it lets through.
  static std::optional<LRESULT> Dropped(UINT message, WPARAM wParam);
  std::optional<LRESULT> Character(WPARAM c, LPARAM lParam, ControlWindow window, TypingTarget& editor);
  std::optional<LRESULT> Composition(WPARAM wParam, LPARAM lParam, ControlWindow window, TypingTarget& editor);
  // Replaces the selection by text when that edits many lines (the
  // selection copied first with copyFirst); nothing when the control may.
  std::optional<LRESULT> ManyLines(std::u16string_view text, bool copyFirst, TypingTarget& editor);
  void Type(std::u16string_view text, ControlWindow window, TypingTarget& editor);
  // In overwrite mode a typed character takes the place of the character
  // after the caret, which this selects.
  void SelectForOverwrite(ControlWindow window) const;

  char16_t pendingHighSurrogate_ = 0;
  bool overwrite_ = false;
  bool readOnly_ = false;
};

}  // namespace quolvi
