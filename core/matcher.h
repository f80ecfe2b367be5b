// One step of a search or of a replacement on the document in the editor.
#pragma once

#include <cstdint>
#include <string>

#include "core/search_target.h"

namespace quolvi {

// The search state the find and replace commands fill before each step.
struct SearchFields {
  std::string FindPattern;     // raw, wildcards and escapes unresolved
  std::string ReplacePattern;  // raw, escapes unresolved
  std::uint16_t FindOptions = 0;
};

// Bits of FindOptions.
inline constexpr std::uint16_t kOptionMatchCase = 1 << 5;
inline constexpr std::uint16_t kOptionReplace = 1 << 9;
inline constexpr std::uint16_t kOptionReplaceAll = 1 << 10;

// What one step of a search or of a replacement came to.
enum class StepOutcome {
  kNothingToDo,  // nothing to search in, or nothing to replace
  kNotFound,     // the search found no match
  kDone,         // found and selected, or replaced
};

struct StepResult {
  StepOutcome outcome = StepOutcome::kNothingToDo;
  Position position = 0;  // when done: just after the match, or the caret

  static StepResult NothingToDo() { return {StepOutcome::kNothingToDo, 0}; }
  static StepResult NotFound() { return {StepOutcome::kNotFound, 0}; }
  static StepResult Done(Position p) { return {StepOutcome::kDone, p}; }
  bool done() const { return outcome == StepOutcome::kDone; }
  bool operator==(const StepResult& other) const { return outcome == other.outcome && position == other.position; }
  bool operator!=(const StepResult& other) const { return !(*this == other); }
};

// Searches forward from the end of the selection for the next match of
// FindPattern and selects it (widened over a line break it cuts). Nothing to
// do when there is no pattern or the document is empty; not found when no
// match follows, also when the selection ends at the end of the text; done
// with the position just after the match.
StepResult FindNextMatch(SearchTarget& editor, const SearchFields& fields);

// Replaces the selection with the ReplacementText of ReplacePattern and
// leaves the caret after it. Nothing to do when nothing is selected or the document is
// empty; done with the caret position.
StepResult ReplaceSelection(SearchTarget& editor, const SearchFields& fields);

}  // namespace quolvi
