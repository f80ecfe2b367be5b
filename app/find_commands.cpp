// The Search menu's commands and the events of the find and replace dialogs.
#include <windows.h>

#include <cstdio>

#include "app/lumo_sub1.h"
#include "app/messages.h"
#include "core/replace_all.h"

namespace quolvi {

void TFLumoSub1::mnSrchClick() { searchDialogs_.Open(SearchDialogs::kFindDialog1, Handle()); }
void TFLumoSub1::mnReplClick() { searchDialogs_.Open(SearchDialogs::kReplaceDialog1, Handle()); }

// Find Next repeats the find dialog's search, whichever dialog was used last.
void TFLumoSub1::mnSrchNxtClick() { FindDialog1Find(); }

void TFLumoSub1::OnFindReplace(FINDREPLACEA* request) {
  switch (searchDialogs_.Take(request)) {
    case SearchEvent::kFindDialog1Find: FindDialog1Find(); break;
    case SearchEvent::kReplaceDialog1Find: ReplaceDialog1Find(); break;
    case SearchEvent::kReplaceDialog1Replace: ReplaceDialog1Replace(); break;
    case SearchEvent::kNone: break;
  }
}

void TFLumoSub1::FindDialog1Find() { FindStep(searchDialogs_.FieldsToFind(SearchDialogs::kFindDialog1)); }
void TFLumoSub1::ReplaceDialog1Find() { FindStep(searchDialogs_.FieldsToFind(SearchDialogs::kReplaceDialog1)); }

void TFLumoSub1::FindStep(const SearchFields& fields) {
  if (FindNextMatch(reEdit, fields).outcome == StepOutcome::kNotFound)
    AskUser(messages::kSearchTextNotFound, MB_OK | MB_ICONEXCLAMATION);
}

void TFLumoSub1::ReplaceDialog1Replace() {
  // The replace dialog may be open while a file loads: it waits too.
  if (reEdit.Loading()) return;
  const SearchFields& fields = searchDialogs_.FieldsToReplace();
  int count = 0;
  if (fields.FindOptions & kOptionReplaceAll) {
    count = ReplaceAll(reEdit, fields);
    searchDialogs_.CloseReplaceDialog1();
  } else {
    // Replace: the selection, then one search for the next match.
    if (ReplaceSelection(reEdit, fields).done()) ++count;
    FindNextMatch(reEdit, fields);
  }
  if (count > 1) {
    char status[64];
    std::snprintf(status, sizeof status, messages::kReplacedCount, count);
    StatusBar1_.SetText(status);
  }
}

}  // namespace quolvi
