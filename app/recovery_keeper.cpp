#include "app/recovery_keeper.h"

#include <utility>

namespace quolvi {

void RecoveryKeeper::Open(HWND window) {
  window_ = window;
  const std::wstring folder = LocalAppDataFolder();
  file_.emplace(folder.empty() ? folder : folder + L"\\Quolvi");
}

void RecoveryKeeper::NoteChange() {
  ++changes_;
  if (file_ && file_->usable()) SetTimer(window_, kTimer, kDelayMs, nullptr);
}

void RecoveryKeeper::Keep(Editor& editor, const std::string& path, bool modified) {
  KillTimer(window_, kTimer);
  if (!file_ || !modified) return;
  if (kept_ && keptChanges_ == changes_ && keptPath_ == path) return;
  // The text is read here, and given up as soon as the user presses a key
  // or a mouse button, to be tried again at the next pause; the rest goes on
  // beside the window.
  std::function<std::string()> copy =
      editor.CopyText([] { return HIWORD(GetQueueStatus(QS_KEY | QS_MOUSEBUTTON)) != 0; });
  if (!copy) {
    SetTimer(window_, kTimer, kDelayMs, nullptr);
    return;
  }
  file_->Keep([copy = std::move(copy), path] { return RecoveryFileBytes(path, copy()); });
  Kept(path);
}

void RecoveryKeeper::Drop() {
  KillTimer(window_, kTimer);
  if (!kept_) return;
  kept_ = false;
  file_->Remove();
}

void RecoveryKeeper::OfferOrphans(const std::function<bool(const RecoveryRecord&)>& offer) {
  if (!file_) return;
  while (std::optional<std::string> bytes = file_->ClaimOrphan()) {
    std::optional<RecoveryRecord> record = ReadRecoveryFile(*bytes);
    if (record && offer(*record)) {
      Kept(record->path);
      return;
    }
    file_->Remove();
  }
}

void RecoveryKeeper::Kept(const std::string& path) {
  kept_ = true;
  keptChanges_ = changes_;
  keptPath_ = path;
}

}  // namespace quolvi
