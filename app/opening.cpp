// Opening documents: the Open command, the command line and dropped files.
#include <windows.h>
#include <shellapi.h>

#include "app/lumo_sub1.h"
#include "app/messages.h"
#include "core/command_line.h"
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

void TFLumoSub1::AfterLoad(const std::string& path, const std::string& shown) {
  // A file that cannot be read ends the command here with nothing changed;
  // one that fails part of the way is reported by the editor, and the
  // document stays as it was. The first screen shows at once, and the
  // document is the file's once the last piece is in.
  reEdit.BeginLoad(path, [this, path, shown] {
    documentPath_.Opened(Handle(), path, shown);
    SetModified(false);
  });
}

void TFLumoSub1::mnLoadClick() {
  if (!ConfirmDiscard(messages::kDiscardForOpen)) return;
  if (!documentPath_.ChooseFileToOpen(Handle())) return;
  AfterLoad(documentPath_.FileToOpen(), documentPath_.FileToOpen());
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
  // The first file replaces the document without a question, a file still
  // loading too (the user asked for the other).
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
