// Recovery after a crash: the text a program that ended without saving or
// discarding it left (app/recovery_keeper.h keeps it) offered back when the
// window shows, and restored as the document.
#include <string>

#include "app/lumo_sub1.h"
#include "app/messages.h"
#include "core/recovery_record.h"

namespace quolvi {

void TFLumoSub1::OfferRecovery() {
  recovery_.OfferOrphans([this](const RecoveryRecord& record) {
    const std::string name = record.path.empty() ? std::string(messages::kUntitled) : record.path;
    if (AskUser(messages::WithPath(messages::kOfferRecovery, name), MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) {
      return false;
    }
    Restore(record.path, record.text);
    return true;
  });
}

void TFLumoSub1::Restore(const std::string& path, const std::string& text) {
  // The recovered text is the document, unsaved, with its file if it had
  // one, as though it had been opened and edited; a file named on the
  // command line and still loading gives way to it.
  reEdit.AbandonLoad();
  reEdit.SelectWholeText();
  reEdit.ReplaceSelectedText(text);
  reEdit.SetSelectionStart(0);
  documentPath_.Recovered(Handle(), path);
  SetModified(true);
}

}  // namespace quolvi
