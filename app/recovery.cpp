// Recovery after a crash: the unsaved text kept in a recovery file, and
// offered back when the program starts after one that ended without saving
// or discarding it.
#include <functional>
#include <optional>
#include <string>

#include "app/lumo_sub1.h"
#include "app/messages.h"
#include "core/recovery_record.h"

namespace quolvi {

void TFLumoSub1::OpenRecovery() {
  const std::wstring folder = LocalAppDataFolder();
  recovery_.emplace(folder.empty() ? folder : folder + L"\\Quolvi");
}

void TFLumoSub1::NoteChangeForRecovery() {
  ++changes_;
  // Kept once the editing pauses: each change starts the wait anew.
  if (recovery_ && recovery_->usable()) SetTimer(Handle(), kKeepTimer, kKeepDelayMs, nullptr);
}

void TFLumoSub1::KeepForRecovery() {
  KillTimer(Handle(), kKeepTimer);
  if (!recovery_ || !Modified()) return;
  const std::string& path = documentPath_.FileName();
  if (kept_ && keptChanges_ == changes_ && keptPath_ == path) return;
  // The text is read here, and given up as soon as the user presses a key
  // or a mouse button, to be tried again at the next pause; the rest goes on
  // beside the window.
  std::function<std::string()> copy =
      reEdit.CopyText([] { return HIWORD(GetQueueStatus(QS_KEY | QS_MOUSEBUTTON)) != 0; });
  if (!copy) {
    SetTimer(Handle(), kKeepTimer, kKeepDelayMs, nullptr);
    return;
  }
  recovery_->Keep([copy = std::move(copy), path] { return RecoveryFileBytes(path, copy()); });
  kept_ = true;
  keptChanges_ = changes_;
  keptPath_ = path;
}

void TFLumoSub1::DropRecovery() {
  KillTimer(Handle(), kKeepTimer);
  if (!kept_) return;
  kept_ = false;
  recovery_->Remove();
}

void TFLumoSub1::OfferRecovery() {
  if (!recovery_) return;
  // Each orphan in turn, until one is restored; one declined is removed.
  while (std::optional<std::string> bytes = recovery_->ClaimOrphan()) {
    std::optional<RecoveryRecord> record = ReadRecoveryFile(*bytes);
    if (record) {
      const std::string name = record->path.empty() ? std::string(messages::kUntitled) : record->path;
      if (AskUser(messages::WithPath(messages::kOfferRecovery, name), MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK) {
        Restore(record->path, record->text);
        return;
      }
    }
    recovery_->Remove();
  }
}

void TFLumoSub1::Restore(const std::string& path, const std::string& text) {
  // The recovered text is the document, unsaved, with its file if it had
  // one, as though it had been opened and edited.
  reEdit.SelectWholeText();
  reEdit.ReplaceSelectedText(text);
  reEdit.SetSelectionStart(0);
  documentPath_.Recovered(Handle(), path);
  SetModified(true);
  // The recovery file, now this program's own, holds just this.
  kept_ = true;
  keptChanges_ = changes_;
  keptPath_ = path;
}

}  // namespace quolvi
