// Saving documents: Save, Save As, and the write with the file's attributes.
#include <windows.h>

#include "app/lumo_sub1.h"
#include "app/messages.h"
#include "win32/handles.h"
#include "win32/file_checks.h"
#include "core/folder_rules.h"

namespace quolvi {
namespace {

constexpr DWORD kSpecialAttributeMask = 0x1F;  // read-only, hidden, system, volume label, directory

}  // namespace

void TFLumoSub1::mnSaveClick() {
  if (!Modified()) return;
  if (SaveDialog1_.fileName.empty()) {
    mnWriteClick();
    return;
  }
  if (AskUser(messages::kAskSave, MB_OKCANCEL | MB_ICONEXCLAMATION) == IDOK) WriteDocument();
}

void TFLumoSub1::mnWriteClick() {
  if (!ShowFileDialog(SaveDialog1_, true)) return;
  WriteDocument();  // an error of the write itself ends the command here
  OpenDialog1_.fileName = SaveDialog1_.fileName;
  SaveDialog1_.initialDir = StartFolder(FolderOf(SaveDialog1_.fileName));
  OpenDialog1_.initialDir = SaveDialog1_.initialDir;
  SetWindowTextA(Handle(), (messages::kSavedAsCaption + OpenDialog1_.fileName).c_str());
}

void TFLumoSub1::WriteDocument() {
  const std::string name = SaveDialog1_.fileName;
  if (!PassesExistingFileTest(name)) {
    // Created empty first, so that its attributes can be read; whether that
    // worked shows in the next step.
    FileHandle created(CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
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
    // The file keeps its old attributes even when it cannot be written.
    ScopeExit restoreOnFailure([&] { SetFileAttributesA(name.c_str(), attributes); });
    reEdit.SaveTextFile(name);
    restoreOnFailure.Dismiss();
  }
  if (!SetFileAttributesA(name.c_str(), attributes)) {
    AskUser(messages::kCannotRestoreAttributes, MB_OK | MB_ICONEXCLAMATION);
  }
  SetModified(false);
}

}  // namespace quolvi
