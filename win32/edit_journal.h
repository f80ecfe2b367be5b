// The journal of big edits. The control spends time in proportion to the
// whole text on each line it deletes or inserts in place (and as much again
// to undo it), so an edit of many lines is made by writing the resulting
// text into a new window, in pieces, as a file is loaded. The new window
// starts with no history of its own, so the journal keeps what undo puts
// back then: the text and the selection before the edit, the same way.
//
// The record lies under the control's own history: the edits made in the
// window since are undone first. Whatever empties that history (a new
// window, a new text, an edit that cannot be undone) takes the record with
// it; the rules are all here.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <functional>
#include <optional>
#include <string_view>
#include <utility>

#include "core/cp932.h"
#include "win32/edit_control.h"

namespace quolvi {

class EditJournal {
 public:
  // Line breaks (replaced and inserted, as the control counts lines) from
  // which an edit is made by rewriting.
  static constexpr LONG kRewriteLines = 128;

  // What undo puts back after an edit made by rewriting.
  struct Entry {
    cp932::MarkedText text;
    CHARRANGE selection;
  };

  // Whether putting inserted in place of range in window is made by
  // rewriting. The window's own count of lines decides when it can: with
  // word wrap on its lines are rows, so many of them may be few lines, and
  // then text() gives the whole text to count in.
  static bool Rewrites(ControlWindow window, CHARRANGE range, std::u16string_view inserted,
                       const std::function<std::u16string_view()>& text);

  // What happened to the text, which tells what stays to undo.
  // An edit made by rewriting; undo puts entry back (none: the edit cannot
  // be undone).
  void Rewritten(std::optional<Entry> entry) { record_ = std::move(entry); }
  // An edit made in the window: one that can be undone goes over the
  // record; one that cannot empties the window's history, and the record
  // goes with it.
  void EditedInPlace(bool canUndo) {
    if (!canUndo) record_.reset();
  }
  // A new window or a new text: nothing to undo.
  void Started() { record_.reset(); }

  // Whether undo has something to undo in window: its own history, then
  // the record.
  bool CanUndo(ControlWindow window) const { return window.Send(EM_CANUNDO) != 0 || record_.has_value(); }
  // The record, when it is what undo puts back next in window (the window
  // has nothing of its own left to undo); else null, and the window undoes.
  // The record stays until what happens next says otherwise.
  const Entry* NextUndo(ControlWindow window) const {
    return window.Send(EM_CANUNDO) == 0 && record_ ? &*record_ : nullptr;
  }

 private:
  std::optional<Entry> record_;
};

}  // namespace quolvi
