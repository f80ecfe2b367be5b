// Replace all, computed in one pass over the text.
//
// The replace command alternates ReplaceSelection and FindNextMatch until a
// search fails. Each search starts directly after the text just inserted and
// never looks back, so the final text is the original text copied once, with
// the replacements put in on the way: time linear in the text and the
// inserted text, where the step-by-step loop copies the whole text at every
// replacement. The result (text, selection, count) is exactly the loop's.
#pragma once

#include <string>

#include "core/matcher.h"
#include "core/search_target.h"

namespace quolvi {

struct ReplaceAllResult {
  std::string text;
  Position selectionStart = 0;
  Position selectionLength = 0;
  int count = 0;  // calls of ReplaceSelection that replaced something
};

// The loop's outcome on text with the given selection, for a replacement
// that does not end in a lone lead byte.
ReplaceAllResult ComputeReplaceAll(const std::string& text, Position selectionStart, Position selectionLength,
                                   const SearchFields& fields);

// Runs the loop on the editor (in one pass where it can); returns the count.
int ReplaceAll(SearchTarget& editor, const SearchFields& fields);

}  // namespace quolvi
