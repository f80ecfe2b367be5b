// Opening documents: the Open command, the command line and dropped files.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include "app/lumo_sub1.h"
#include "app/messages.h"
#include "core/command_line.h"
#include "core/folder_rules.h"
#include "win32/file_checks.h"
#include "win32/file_names.h"
#include "win32/shell.h"

namespace quolvi {
namespace {

std::string DroppedPath(HDROP drop, UINT index) {
  char path[MAX_PATH + 1] = "";
  DragQueryFileA(drop, index, path, sizeof path);
  return path;
}

}  // namespace

bool TFLumoSub1::ShowFileDialog(FileDialogState& dialog, bool save) {
  char file[MAX_PATH] = "";
  lstrcpynA(file, dialog.fileName.c_str(), sizeof file);
  OPENFILENAMEA request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = Handle();
  request.lpstrFilter = messages::kFileFilter;
  request.nFilterIndex = dialog.filterIndex;
  request.lpstrFile = file;
  request.nMaxFile = sizeof file;
  request.lpstrInitialDir = dialog.initialDir.empty() ? nullptr : dialog.initialDir.c_str();
  request.lpstrTitle = save ? messages::kSaveDialogTitle : messages::kOpenDialogTitle;
  request.lpstrDefExt = messages::kDefaultExtension;
  request.Flags = save ? OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_CREATEPROMPT | OFN_NOREADONLYRETURN
                       : OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  if (!(save ? GetSaveFileNameA(&request) : GetOpenFileNameA(&request))) return false;
  dialog.filterIndex = request.nFilterIndex;
  dialog.fileName = file;
  return true;
}

void TFLumoSub1::AfterLoad(const std::string& path, const std::string& shown) {
  progressFormat_ = messages::kLoadingProgress;
  ScopeExit general([this] { progressFormat_ = nullptr; });
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
  std::vector<std::string> arguments = SplitCommandLine(GetCommandLineA());
  if (arguments.size() < 2 || arguments[1].empty() || !PassesExistingFileTest(arguments[1])) return;
  // The document is named by its full path, so that it is saved where it
  // was found however the current folder moves meanwhile (the file dialogs
  // and the Run dialog move it); the caption shows the name as it was given.
  AfterLoad(FullPathName(arguments[1]), arguments[1]);
}

void TFLumoSub1::WMDropFiles(HDROP drop) {
  // The drop is released however its handling ends.
  DropHandle files(drop);
  UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  if (count < 1) return;
  // The first file replaces the document without a question.
  const std::string first = DroppedPath(drop, 0);
  AfterLoad(first, first);
  const std::string self = ExecutablePath();
  for (UINT i = 1; i < count; ++i) {
    // Each further file opens in a program of its own. Both paths are quoted,
    // so that a path with a blank reaches the new program whole.
    std::string commandLine = "\"" + self + "\" \"" + DroppedPath(drop, i) + "\"";
    WinExec(commandLine.c_str(), SW_SHOW);
  }
}

}  // namespace quolvi
