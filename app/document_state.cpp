// The document's state: the modified flag, the reset to an empty untitled
// document, New, and the discard question.
#include "app/lumo_sub1.h"
#include "app/messages.h"

namespace quolvi {

void TFLumoSub1::reEditChange() {
  SetModified(true);
  recovery_.NoteChange();
}

bool TFLumoSub1::Modified() const { return SendMessageA(cbTouched_, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TFLumoSub1::SetModified(bool modified) {
  SendMessageA(cbTouched_, BM_SETCHECK, modified ? BST_CHECKED : BST_UNCHECKED, 0);
  // Nothing unsaved is left to recover.
  if (!modified) recovery_.Drop();
}

bool TFLumoSub1::ConfirmDiscard(const char* text) {
  return !Modified() || AskUser(text, MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK;
}

void TFLumoSub1::ResetDocument() {
  reEdit.ClearText();
  documentPath_.Reset(Handle());
  // Last of the document's own state, after any change event of the clearing.
  SetModified(false);
  searchDialogs_.ClearTexts();
}

void TFLumoSub1::mnNewClick() {
  if (ConfirmDiscard(messages::kDiscardForNew)) ResetDocument();
}

}  // namespace quolvi
