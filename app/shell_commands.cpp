// Launching through the shell: the selection as a file, address or command
// line, and the shell's Run dialog.
#include <cstdio>

#include "app/lumo_sub1.h"
#include "app/messages.h"
#include "core/trim.h"
#include "win32/shell.h"

namespace quolvi {

void TFLumoSub1::mnGoClick() {
  std::string text = TextToRun(reEdit.SelectedText());
  if (text.empty()) return;  // nothing launched, the selection kept
  // The shell first; what it cannot open is run as a command line, and only
  // that attempt's code is reported.
  int result = ShellOpen(Handle(), text);
  if (result <= 32) result = RunCommandLine(text);
  if (result <= 32) {
    char message[64];
    std::snprintf(message, sizeof message, messages::kLaunchFailed, result);
    AskUser(message, MB_OK | MB_ICONEXCLAMATION);
  }
  reEdit.SetSelectionLength(0);
}

void TFLumoSub1::mnFExecClick() { ShowRunDialog(Handle()); }

}  // namespace quolvi
