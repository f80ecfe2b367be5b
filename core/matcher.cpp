#include "core/matcher.h"

#include "core/pattern.h"

namespace quolvi {

StepResult FindNextMatch(SearchTarget& editor, const SearchFields& fields) {
  if (fields.FindPattern.empty() || editor.IsEmpty()) return StepResult::NothingToDo();
  int start = editor.SelectionStart() + editor.SelectionLength();
  const std::string& text = editor.WholeText();  // used before anything changes the text
  const int length = static_cast<int>(text.size());
  // Nothing follows the selection, so nothing can be found after it; said
  // so, for a search that stopped without a word would seem to have found
  // what is selected again.
  if (start >= length) return StepResult::NotFound();

  const bool matchCase = (fields.FindOptions & kOptionMatchCase) != 0;
  const std::vector<std::string> tokens = SplitPattern(fields.FindPattern);
  int pos = start;
  bool matchedLiteral = false;
  for (std::size_t k = 0; k < tokens.size(); ++k) {
    const std::string& token = tokens[k];
    if (token == "*") continue;
    if (token == "?") {
      // May land inside a double-byte character: the next search then
      // starts at the following character, as SearchText only finds
      // occurrences that begin on a character boundary.
      ++pos;
      continue;
    }
    const std::string literal = UnescapeText(token);
    // A last literal that unescapes to nothing ("\" or "*\") would make a
    // match of no length, which is never selected.
    if (literal.empty()) return StepResult::NotFound();
    int found = editor.SearchText(literal, pos, length - pos, matchCase);
    if (found < 0) return StepResult::NotFound();
    if (k == 0) start = found;
    pos = found + static_cast<int>(literal.size());
    matchedLiteral = true;
  }
  // A pattern of wildcards alone has nothing to find.
  if (!matchedLiteral) return StepResult::NotFound();

  WidenOverLineBreaks(text, length, start, pos);
  editor.FocusEditor();
  editor.Select(start, pos - start);
  return StepResult::Done(pos);
}

StepResult ReplaceSelection(SearchTarget& editor, const SearchFields& fields) {
  if (editor.IsEmpty() || editor.SelectionLength() <= 0) return StepResult::NothingToDo();
  const std::string text = ReplacementText(fields.ReplacePattern);
  editor.FocusEditor();
  int start = editor.SelectionStart();
  editor.ReplaceSelectedText(text);
  editor.Select(start + static_cast<int>(text.size()), 0);
  return StepResult::Done(editor.SelectionStart());
}

}  // namespace quolvi
