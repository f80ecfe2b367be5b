// Opening documents: the Open command, the command line and dropped files.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include "app/app_error.h"
#include "app/lumo_sub1.h"
#include "app/messages.h"
#include "core/command_line.h"
#include "core/folder_rules.h"
#include "win32/file_checks.h"
#include "win32/file_names.h"
#include "win32/shell.h"

namespace quolvi {
namespace {

std::wstring DroppedPath(HDROP drop, UINT index) {
  wchar_t path[MAX_PATH + 1] = L"";
  DragQueryFileW(drop, index, path, MAX_PATH + 1);
  return path;
}

}  // namespace

std::string TFLumoSub1::UsableName(const std::wstring& name) {
  if (std::optional<std::string> narrow = NarrowPath(name)) return *narrow;
  throw AppError(messages::WithPath(messages::kNameOutsideCodePage, ShownName(name)));
}

bool TFLumoSub1::ShowFileDialog(FileDialogState& dialog, bool save) {
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
  request.hwndOwner = Handle();
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

void TFLumoSub1::AfterLoad(const std::string& path, const std::string& shown) {
  StatusBar1_.SetProgressFormat(messages::kLoadingProgress);
  ScopeExit general([this] { StatusBar1_.SetProgressFormat(nullptr); });
  reEdit.LoadTextFile(path);  // an error here ends the command with nothing else changed
  OpenDialog1_.fileName = path;
  SaveDialog1_.fileName = OpenDialog1_.fileName;
  SetWindowTextA(Handle(), (messages::kOpenedCaption + shown).c_str());
  OpenDialog1_.initialDir = StartFolder(FolderOf(path));
  SaveDialog1_.initialDir = OpenDialog1_.initialDir;
  SetModified(false);
}

void TFLumoSub1::mnLoadClick() {
  if (!ConfirmDiscard(messages::kDiscardForOpen)) return;
  if (!ShowFileDialog(OpenDialog1_, false)) return;
  AfterLoad(OpenDialog1_.fileName, OpenDialog1_.fileName);
}

void TFLumoSub1::OpenFromCommandLine() {
  std::vector<std::wstring> arguments = SplitCommandLine(GetCommandLineW());
  if (arguments.size() < 2 || arguments[1].empty()) return;
  // The document is named by its full path, so that it is saved where it
  // was found however the current folder moves meanwhile (the file dialogs
  // and the Run dialog move it); the caption shows the name as it was given.
  const std::string path = UsableName(FullPathName(arguments[1]));
  if (!PassesExistingFileTest(path)) return;
  AfterLoad(path, ExactNarrowName(arguments[1]).value_or(path));
}

void TFLumoSub1::WMDropFiles(HDROP drop) {
  // The drop is released however its handling ends.
  DropHandle files(drop);
  UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  if (count < 1) return;
  // The first file replaces the document without a question.
  const std::string first = UsableName(DroppedPath(drop, 0));
  AfterLoad(first, first);
  const std::string self = UsableName(ExecutableFileName());
  for (UINT i = 1; i < count; ++i) {
    // Each further file opens in a program of its own. Both paths are quoted,
    // so that a path with a blank reaches the new program whole.
    std::string commandLine = "\"" + self + "\" \"" + UsableName(DroppedPath(drop, i)) + "\"";
    WinExec(commandLine.c_str(), SW_SHOW);
  }
}

}  // namespace quolvi
