#include "tests/unit/memory_editor.h"

#include <algorithm>

#include "core/cp932.h"
#include "core/text_search.h"

namespace quolvi::test {
namespace {

// The character boundary at or before (or after) offset.
Position Boundary(const std::string& text, Position offset, bool up) {
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t next = i + cp932::CharLength(text, i);
    if (static_cast<Position>(next) > offset) break;
    i = next;
  }
  if (up && static_cast<Position>(i) < offset && i < text.size()) i += cp932::CharLength(text, i);
  return static_cast<Position>(i);
}

// As the control does, an offset between the CR and the LF of a line break
// moves back before the CR: no selection ends inside a line break.
Position OutOfLineBreak(const std::string& text, Position offset) {
  bool inside =
      offset > 0 && offset < static_cast<Position>(text.size()) && text[offset - 1] == '\r' && text[offset] == '\n';
  return inside ? offset - 1 : offset;
}

}  // namespace

void MemoryEditor::SetSelectionStart(Position p) {
  start_ =
      OutOfLineBreak(text_, Boundary(text_, std::clamp<Position>(p, 0, static_cast<Position>(text_.size())), false));
  length_ = 0;
}

void MemoryEditor::SetSelectionLength(Position n) {
  Position end = std::clamp<Position>(start_ + std::max(n, 0), start_, static_cast<Position>(text_.size()));
  length_ = std::max(OutOfLineBreak(text_, Boundary(text_, end, true)), start_) - start_;
}

void MemoryEditor::ReplaceSelectedText(std::string_view s) {
  text_.replace(start_, length_, s);
  start_ += static_cast<Position>(s.size());
  length_ = 0;
}

void MemoryEditor::SelectWholeText() {
  start_ = 0;
  length_ = static_cast<Position>(text_.size());
}

Position MemoryEditor::SearchText(std::string_view t, Position start, Position len, bool matchCase) {
  return FindInText(text_, t, start, len, matchCase);
}

}  // namespace quolvi::test
