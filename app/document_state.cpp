// The document's state: the modified flag, the file names and start
// folders, the reset to an empty untitled document, New, and the discard
// question.
#include "app/lumo_sub1.h"
#include "app/messages.h"
#include "core/folder_rules.h"
#include "win32/documents_folder.h"

namespace quolvi {

void TFLumoSub1::reEditChange() {
  SetModified(true);
  NoteChangeForRecovery();
}

bool TFLumoSub1::Modified() const { return SendMessageA(cbTouched_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TFLumoSub1::SetModified(bool modified) {
  SendMessageA(cbTouched_, BM_SETCHECK, modified ? BST_CHECKED : BST_UNCHECKED, 0);
  // Nothing unsaved is left to recover.
  if (!modified) DropRecovery();
}

bool TFLumoSub1::ConfirmDiscard(const char* text) {
  return !Modified() || AskUser(text, MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK;
}

void TFLumoSub1::ResetDocument() {
  SetWindowTextA(Handle(), messages::kAppTitle);
  reEdit.ClearText();
  OpenDialog1_.fileName.clear();
  SaveDialog1_.fileName.clear();
  // Last of the document's own state, after any change event of the clearing.
  SetModified(false);
  std::string documents = FindDocumentsFolder();
  if (!documents.empty()) {
    OpenDialog1_.initialDir = StartFolder(documents);
    SaveDialog1_.initialDir = StartFolder(documents);
  }
  searchDialogs_.ClearTexts();
}

void TFLumoSub1::mnNewClick() {
  if (ConfirmDiscard(messages::kDiscardForNew)) ResetDocument();
}

}  // namespace quolvi
