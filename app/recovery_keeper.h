// Keeping the unsaved text for recovery after a crash: a short while after
// each pause in editing, the text goes to this program's recovery file,
// which goes once the document has nothing unsaved. A file left by a
// program that ended without saving or discarding its text is offered back.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "core/editor.h"
#include "core/recovery_record.h"
#include "win32/recovery_file.h"

namespace quolvi {

class RecoveryKeeper {
 public:
  // The main window's timer that marks the pause.
  static constexpr UINT_PTR kTimer = 1;

  // Takes a recovery file in the user's local application-data folder;
  // window gets the timer's messages.
  void Open(HWND window);
  // A change of the text: kept once the editing pauses, for each change
  // starts the wait anew.
  void NoteChange();
  // The pause came: keeps the text of editor, the document of the file path,
  // when it is modified and not kept as it is already.
  void Keep(Editor& editor, const std::string& path, bool modified);
  // Nothing unsaved is left: the recovery file goes.
  void Drop();
  // Offers each orphan in turn to offer(record) until it takes one (returns
  // true), which the recovery file then holds as this program's own, with
  // the text as it is now; one declined or unreadable is removed.
  void OfferOrphans(const std::function<bool(const RecoveryRecord&)>& offer);

 private:
  static constexpr UINT kDelayMs = 2000;
  void Kept(const std::string& path);

  HWND window_ = nullptr;
  std::optional<RecoveryFile> file_;
  unsigned changes_ = 0;  // changes of the text so far
  bool kept_ = false;     // the file holds the text as it was after keptChanges_ changes, at keptPath_
  unsigned keptChanges_ = 0;
  std::string keptPath_;
};

}  // namespace quolvi
