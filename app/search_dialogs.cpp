#include "app/search_dialogs.h"

#include "core/find_options.h"

namespace quolvi {
namespace {

constexpr DWORD kCreationFlags = FR_DOWN | FR_HIDEWHOLEWORD | FR_HIDEUPDOWN;
// Flags that a notification reports and the next opening must not carry.
constexpr DWORD kEventFlags = FR_FINDNEXT | FR_REPLACE | FR_REPLACEALL | FR_DIALOGTERM;

}  // namespace

void SearchDialogs::Open(Which which, HWND owner) {
  const bool replace = which == kReplaceDialog1;
  Dialog& dialog = replace ? ReplaceDialog1_ : FindDialog1_;
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
  request.hwndOwner = owner;
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

bool SearchDialogs::HandleDialogMessage(MSG& msg) {
  for (HWND dialog : {FindDialog1_.window, ReplaceDialog1_.window}) {
    if (dialog && IsDialogMessageW(dialog, &msg)) return true;
  }
  return false;
}

void SearchDialogs::ClearTexts() {
  FindDialog1_.findWhat[0] = '\0';
  ReplaceDialog1_.findWhat[0] = '\0';
  ReplaceDialog1_.replaceWith[0] = '\0';
}

void SearchDialogs::CloseReplaceDialog1() {
  if (ReplaceDialog1_.window) PostMessageA(ReplaceDialog1_.window, WM_CLOSE, 0, 0);
}

SearchEvent SearchDialogs::Take(FINDREPLACEA* request) {
  Dialog& dialog = request == &FindDialog1_.request ? FindDialog1_ : ReplaceDialog1_;
  if (request->Flags & FR_DIALOGTERM) {
    // Closing: remember where, to reopen there.
    RECT frame;
    if (dialog.window && GetWindowRect(dialog.window, &frame)) {
      dialog.position = POINT{frame.left, frame.top};
      dialog.placed = true;
    }
    dialog.window = nullptr;
    return SearchEvent::kNone;
  }
  dialog.options = FindOptionsFromFlags(request->Flags);
  if (request->Flags & FR_FINDNEXT) {
    return &dialog == &FindDialog1_ ? SearchEvent::kFindDialog1Find : SearchEvent::kReplaceDialog1Find;
  }
  if (request->Flags & (FR_REPLACE | FR_REPLACEALL)) return SearchEvent::kReplaceDialog1Replace;
  return SearchEvent::kNone;
}

const SearchFields& SearchDialogs::FieldsToFind(Which which) {
  const Dialog& dialog = which == kFindDialog1 ? FindDialog1_ : ReplaceDialog1_;
  search_.FindPattern = dialog.findWhat;
  search_.FindOptions = dialog.options;
  return search_;
}

const SearchFields& SearchDialogs::FieldsToReplace() {
  search_.FindPattern = ReplaceDialog1_.findWhat;
  search_.ReplacePattern = ReplaceDialog1_.replaceWith;
  search_.FindOptions = ReplaceDialog1_.options;
  return search_;
}

}  // namespace quolvi
