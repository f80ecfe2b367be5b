// Saving documents: Save, Save As, and the write with the file's attributes.
#include <windows.h>

#include "app/lumo_sub1.h"
#include "app/messages.h"
#include "win32/file_checks.h"
#include "win32/handles.h"

namespace quolvi {
namespace {

constexpr DWORD kSpecialAttributeMask = 0x1F;  // read-only, hidden, system, volume label, directory

}  // namespace

void TFLumoSub1::mnSaveClick() {
  if (!Modified()) return;
  if (documentPath_.FileName().empty()) {
    mnWriteClick();
    return;
  }
  if (AskUser(messages::kAskSave, MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK && ConfirmUnwritableCharacters()) {
    WriteDocument();
  }
}

void TFLumoSub1::mnWriteClick() {
  const DocumentPath before = documentPath_;
  if (!documentPath_.ChooseFileToSave(Handle())) return;
  if (!ConfirmUnwritableCharacters()) {
    documentPath_ = before;  // as though the dialog had been cancelled
    return;
  }
  WriteDocument();  // an error of the write itself ends the command here
  documentPath_.SavedAs(Handle());
}

bool TFLumoSub1::ConfirmUnwritableCharacters() {
  const UnwritableCharacters lost = reEdit.FindUnwritableCharacters();
  if (lost.count == 0) return true;
  const std::string text =
      messages::Formatted(messages::kUnwritableCharacters,
                          {std::to_string(lost.count), std::to_string(lost.line), messages::CodePointText(lost.first)});
  return AskUser(text, MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK;
}

void TFLumoSub1::WriteDocument() {
  const std::string name = documentPath_.FileName();
  bool created = false;
  if (!PassesExistingFileTest(name)) {
    // Created empty first, so that its attributes can be read; whether that
    // worked shows in the next step. A file that is there all the same (its
    // time stamp fails the test) is left as it is: it keeps its bytes until
    // the new text has safely taken their place.
    FileHandle file(CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    created = static_cast<bool>(file);
  }
  DWORD attributes = GetFileAttributesA(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    AskUser(messages::kCannotReadAttributes, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if ((attributes & kSpecialAttributeMask) &&
      AskUser(messages::kSpecialAttributes, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) {
    return;
  }
  if (!SetFileAttributesA(name.c_str(), 0)) {
    AskUser(messages::kCannotClearAttributes, MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  {
    // A write that fails leaves the old file whole (the editor writes a new
    // file and puts it in place only when it is complete); it keeps its old
    // attributes too, and the empty file made above goes.
    ScopeExit undoOnFailure([&] {
      if (created) {
        DeleteFileA(name.c_str());
      } else {
        SetFileAttributesA(name.c_str(), attributes);
      }
    });
    reEdit.SaveTextFile(name);
    undoOnFailure.Dismiss();
  }
  if (!SetFileAttributesA(name.c_str(), attributes)) {
    AskUser(messages::kCannotRestoreAttributes, MB_OK | MB_ICONEXCLAMATION);
  }
  SetModified(false);
}

}  // namespace quolvi
