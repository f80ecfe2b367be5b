// FindDialog1 and ReplaceDialog1, the modeless find and replace dialogs:
// the texts and options each keeps while it is closed, where it was closed
// (it reopens there), and the search fields FindPattern, ReplacePattern and
// FindOptions that a search takes from one of them.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <cstdint>

#include "core/matcher.h"

namespace quolvi {

// What a notification of the dialogs asks of the main window.
enum class SearchEvent { kNone, kFindDialog1Find, kReplaceDialog1Find, kReplaceDialog1Replace };

class SearchDialogs {
 public:
  enum Which { kFindDialog1, kReplaceDialog1 };

  // Opens the dialog, owned by owner; one that is open comes to the front.
  void Open(Which which, HWND owner);
  // Passes a message to an open dialog when it is that dialog's.
  bool HandleDialogMessage(MSG& msg);
  // Empties the texts both dialogs keep (one that is open goes on showing
  // its own, and takes them from its fields at its next button).
  void ClearTexts();
  // Closes ReplaceDialog1 when it is open.
  void CloseReplaceDialog1();

  // Whether message is the dialogs' notification, whose lParam is the
  // FINDREPLACEA of the dialog.
  bool IsNotification(UINT message) const { return message == notification_; }
  // Takes a notification in: the options the dialog reports, or where it
  // was when it closed.
  SearchEvent Take(FINDREPLACEA* request);

  // The search fields for a search with the dialog's find text and options
  // (ReplacePattern stays as it was).
  const SearchFields& FieldsToFind(Which which);
  // The search fields for a replacement with ReplaceDialog1's texts and options.
  const SearchFields& FieldsToReplace();

 private:
  struct Dialog {
    FINDREPLACEA request{};
    char findWhat[256] = "";
    char replaceWith[256] = "";
    HWND window = nullptr;
    std::uint16_t options = 0;
    bool placed = false;  // closed once: reopens where it was
    POINT position{};
  };

  Dialog FindDialog1_;
  Dialog ReplaceDialog1_;
  SearchFields search_;  // FindPattern, ReplacePattern and FindOptions
  UINT notification_ = RegisterWindowMessageA(FINDMSGSTRINGA);
};

}  // namespace quolvi
