#include "app/document_path.h"

#include <commdlg.h>

#include <optional>

#include "app/app_error.h"
#include "app/messages.h"
#include "core/folder_rules.h"
#include "win32/documents_folder.h"
#include "win32/file_names.h"

namespace quolvi {

std::string UsableName(const std::wstring& name) {
  if (std::optional<std::string> narrow = NarrowPath(name)) return *narrow;
  throw AppError(messages::WithPath(messages::kNameOutsideCodePage, ShownName(name)));
}

void DocumentPath::Reset(HWND window) {
  SetWindowTextA(window, messages::kAppTitle);
  OpenDialog1_.fileName.clear();
  SaveDialog1_.fileName.clear();
  std::string documents = FindDocumentsFolder();
  if (!documents.empty()) {
    OpenDialog1_.initialDir = StartFolder(documents);
    SaveDialog1_.initialDir = StartFolder(documents);
  }
}

void DocumentPath::Opened(HWND window, const std::string& path, const std::string& shown) {
  OpenDialog1_.fileName = path;
  SaveDialog1_.fileName = OpenDialog1_.fileName;
  SetWindowTextA(window, (messages::kOpenedCaption + shown).c_str());
  OpenDialog1_.initialDir = StartFolder(FolderOf(path));
  SaveDialog1_.initialDir = OpenDialog1_.initialDir;
}

void DocumentPath::SavedAs(HWND window) {
  OpenDialog1_.fileName = SaveDialog1_.fileName;
  SaveDialog1_.initialDir = StartFolder(FolderOf(SaveDialog1_.fileName));
  OpenDialog1_.initialDir = SaveDialog1_.initialDir;
  SetWindowTextA(window, (messages::kSavedAsCaption + OpenDialog1_.fileName).c_str());
}

void DocumentPath::Recovered(HWND window, const std::string& path) {
  OpenDialog1_.fileName = path;
  SaveDialog1_.fileName = path;
  if (path.empty()) {
    SetWindowTextA(window, messages::kAppTitle);
  } else {
    SetWindowTextA(window, (messages::kOpenedCaption + path).c_str());
    OpenDialog1_.initialDir = StartFolder(FolderOf(path));
    SaveDialog1_.initialDir = OpenDialog1_.initialDir;
  }
}

bool DocumentPath::Choose(FileDialog& dialog, HWND owner, bool save) {
  // The dialogs in UTF-16, so that the name chosen comes back as it is, not
  // as the code page's nearest name.
  const std::wstring filter = WideName(std::string_view(messages::kFileFilter, sizeof messages::kFileFilter));
  const std::wstring title = WideName(save ? messages::kSaveDialogTitle : messages::kOpenDialogTitle);
  const std::wstring extension = WideName(messages::kDefaultExtension);
  const std::wstring folder = WideName(dialog.initialDir);
  wchar_t file[MAX_PATH] = L"";
  lstrcpynW(file, WideName(dialog.fileName).c_str(), MAX_PATH);
  OPENFILENAMEW request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = owner;
  request.lpstrFilter = filter.c_str();
  request.nFilterIndex = dialog.filterIndex;
  request.lpstrFile = file;
  request.nMaxFile = MAX_PATH;
  request.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  request.lpstrTitle = title.c_str();
  request.lpstrDefExt = extension.c_str();
  request.Flags = save ? OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_CREATEPROMPT | OFN_NOREADONLYRETURN
                       : OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  if (!(save ? GetSaveFileNameW(&request) : GetOpenFileNameW(&request))) return false;
  dialog.filterIndex = request.nFilterIndex;
  dialog.fileName = UsableName(file);
  return true;
}

}  // namespace quolvi
