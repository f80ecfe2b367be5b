// The Search menu's commands and the find and replace dialogs.
#include <windows.h>

#include <cstdio>

#include "app/lumo_sub1.h"
#include "app/messages.h"
#include "core/find_options.h"
#include "core/replace_all.h"

namespace quolvi {
namespace {

constexpr DWORD kCreationFlags = FR_DOWN | FR_HIDEWHOLEWORD | FR_HIDEUPDOWN;
// Flags that a notification reports and the next opening must not carry.
constexpr DWORD kEventFlags = FR_FINDNEXT | FR_REPLACE | FR_REPLACEALL | FR_DIALOGTERM;

}  // namespace

void TFLumoSub1::mnSrchClick() { OpenSearchDialog(FindDialog1_, false); }
void TFLumoSub1::mnReplClick() { OpenSearchDialog(ReplaceDialog1_, true); }

// Find Next repeats the find dialog's search, whichever dialog was used last.
void TFLumoSub1::mnSrchNxtClick() { FindDialog1Find(); }

void TFLumoSub1::OpenSearchDialog(SearchDialog& dialog, bool replace) {
  if (dialog.window) {
    ShowWindow(dialog.window, SW_SHOW);
    SetActiveWindow(dialog.window);
    return;
  }
  FINDREPLACEA& request = dialog.request;
  DWORD kept = request.Flags & ~kEventFlags;
  if (request.lStructSize == 0) dialog.options = FindOptionsFromFlags(kCreationFlags);
  request = FINDREPLACEA{};
  request.lStructSize = sizeof request;
  request.hwndOwner = Handle();
  request.Flags = kCreationFlags | kept;
  request.lpstrFindWhat = dialog.findWhat;
  request.wFindWhatLen = sizeof dialog.findWhat;
  if (replace) {
    request.lpstrReplaceWith = dialog.replaceWith;
    request.wReplaceWithLen = sizeof dialog.replaceWith;
  }
  dialog.window = replace ? ReplaceTextA(&request) : FindTextA(&request);
  if (dialog.window && dialog.placed) {
    SetWindowPos(dialog.window, nullptr, dialog.position.x, dialog.position.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

bool TFLumoSub1::HandleDialogMessage(MSG& msg) {
  for (HWND dialog : {FindDialog1_.window, ReplaceDialog1_.window}) {
    if (dialog && IsDialogMessageW(dialog, &msg)) return true;
  }
  return false;
}

void TFLumoSub1::ClearSearchTexts() {
  FindDialog1_.findWhat[0] = '\0';
  ReplaceDialog1_.findWhat[0] = '\0';
  ReplaceDialog1_.replaceWith[0] = '\0';
}

void TFLumoSub1::OnFindReplace(FINDREPLACEA* request) {
  SearchDialog& dialog = request == &FindDialog1_.request ? FindDialog1_ : ReplaceDialog1_;
  if (request->Flags & FR_DIALOGTERM) {
    // Closing: remember where, to reopen there.
    RECT frame;
    if (dialog.window && GetWindowRect(dialog.window, &frame)) {
      dialog.position = POINT{frame.left, frame.top};
      dialog.placed = true;
    }
    dialog.window = nullptr;
    return;
  }
  dialog.options = FindOptionsFromFlags(request->Flags);
  if (request->Flags & FR_FINDNEXT) {
    if (&dialog == &FindDialog1_) {
      FindDialog1Find();
    } else {
      ReplaceDialog1Find();
    }
  } else if (request->Flags & (FR_REPLACE | FR_REPLACEALL)) {
    ReplaceDialog1Replace();
  }
}

void TFLumoSub1::FindStep(const SearchDialog& dialog) {
  search_.FindPattern = dialog.findWhat;
  search_.FindOptions = dialog.options;
  if (FindNextMatch(reEdit, search_).outcome == StepOutcome::kNotFound)
    AskUser(messages::kSearchTextNotFound, MB_OK | MB_ICONEXCLAMATION);
}

void TFLumoSub1::ReplaceDialog1Replace() {
  search_.FindPattern = ReplaceDialog1_.findWhat;
  search_.ReplacePattern = ReplaceDialog1_.replaceWith;
  search_.FindOptions = ReplaceDialog1_.options;
  int count = 0;
  if (search_.FindOptions & kOptionReplaceAll) {
    count = ReplaceAll(reEdit, search_);
    if (ReplaceDialog1_.window) PostMessageA(ReplaceDialog1_.window, WM_CLOSE, 0, 0);
  } else {
    // Replace: the selection, then one search for the next match.
    if (ReplaceSelection(reEdit, search_).done()) ++count;
    FindNextMatch(reEdit, search_);
  }
  if (count > 1) {
    char status[64];
    std::snprintf(status, sizeof status, messages::kReplacedCount, count);
    StatusBar1_.SetText(status);
  }
}

}  // namespace quolvi
