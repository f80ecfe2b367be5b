#include "core/matcher.h"

#include <optional>

#include "core/pattern.h"
#include "core/pattern_match.h"

namespace quolvi {
namespace {

// The editor's text as the pattern's walk reads it: the copy of the whole
// text, searched by the editor.
class EditorText {
 public:
  EditorText(SearchTarget& editor, const std::string& text) : editor_(editor), text_(text) {}
  Position size() const { return static_cast<Position>(text_.size()); }
  char operator[](Position p) const { return text_[static_cast<std::size_t>(p)]; }
  Position Search(const std::string& literal, Position from, bool matchCase) const {
    return editor_.SearchText(literal, from, size() - from, matchCase);
  }

 private:
  SearchTarget& editor_;
  const std::string& text_;
};

}  // namespace

StepResult FindNextMatch(SearchTarget& editor, const SearchFields& fields) {
  if (fields.FindPattern.empty() || editor.IsEmpty()) return StepResult::NothingToDo();
  const Position from = editor.SelectionStart() + editor.SelectionLength();
  // Nothing follows a selection that ends at the end of the text, so nothing
  // is found after it; said so, for a search that stopped without a word
  // would seem to have found what is selected again.
  const CompiledPattern pattern(fields.FindPattern);
  const bool matchCase = (fields.FindOptions & kOptionMatchCase) != 0;
  const std::optional<PatternMatch> match = pattern.FindIn(EditorText(editor, editor.WholeText()), from, matchCase);
  if (!match) return StepResult::NotFound();
  editor.FocusEditor();
  editor.Select(match->start, match->end - match->start);
  return StepResult::Done(match->end);
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
