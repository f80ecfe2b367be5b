#include "core/replace_all.h"

#include <optional>

#include "core/cp932.h"
#include "core/editor.h"
#include "core/pattern.h"
#include "core/pattern_match.h"
#include "core/text_search.h"

namespace quolvi {
namespace {

// The text as the loop sees it at any moment: the finished part (everything
// up to the caret after the last insertion) followed by the rest of the
// original text. Positions are in this combined text.
class SplicedText {
 public:
  explicit SplicedText(const std::string& original) : original_(original) {}

  Position size() const { return static_cast<Position>(out_.size() + original_.size() - in_); }
  Position outSize() const { return static_cast<Position>(out_.size()); }

  // Replaces [start, start + length), which lies in the rest, with text.
  void Replace(Position start, Position length, const std::string& text) {
    std::size_t from = in_ + (start - outSize());
    out_.append(original_, in_, from - in_);
    out_ += text;
    in_ = from + length;
  }

  // SearchText on the combined text, from a position in the rest. The rest
  // starts on a character boundary, so its characters are counted from there.
  Position Search(const std::string& literal, Position from, bool matchCase) const {
    Position origin = static_cast<Position>(in_);
    Position start = origin + (from - outSize());
    Position found =
        FindInText(original_, literal, start, static_cast<Position>(original_.size()) - start, matchCase, origin);
    return found < 0 ? -1 : outSize() + (found - origin);
  }

  // The byte at p, which lies at or after the last byte of the finished part.
  char operator[](Position p) const {
    return p < outSize() ? out_[static_cast<std::size_t>(p)] : original_[in_ + (p - outSize())];
  }

  std::string Result() const { return out_ + original_.substr(in_); }

 private:
  const std::string& original_;
  std::string out_;
  std::size_t in_ = 0;
};

// Whether text ends with a lead byte without its trail byte, which the
// text after it could complete (only a hexadecimal escape can make one).
bool EndsWithLoneLeadByte(const std::string& text) {
  std::size_t i = 0;
  std::size_t last = 1;
  while (i < text.size()) {
    last = cp932::CharLength(text, i);
    i += last;
  }
  return !text.empty() && last == 1 && cp932::IsLeadByte(static_cast<unsigned char>(text.back()));
}

// The loop itself, step by step. Every step goes forward (each match ends
// after the previous one, and each replacement leaves the caret after what
// it inserted); should a step ever neither replace nor move on, the loop
// ends rather than run for ever.
int ReplaceStepByStep(SearchTarget& editor, const SearchFields& fields) {
  int count = 0;
  StepResult previous = StepResult::NothingToDo();
  for (;;) {
    bool replaced = ReplaceSelection(editor, fields).done();
    if (replaced) ++count;
    StepResult found = FindNextMatch(editor, fields);
    if (!found.done() || (fields.FindOptions & kOptionReplace)) break;
    if (!replaced && found == previous) break;
    previous = found;
  }
  return count;
}

}  // namespace

ReplaceAllResult ComputeReplaceAll(const std::string& text, Position selectionStart, Position selectionLength,
                                   const SearchFields& fields) {
  SplicedText spliced(text);
  const std::string replacement = ReplacementText(fields.ReplacePattern);
  const CompiledPattern pattern(fields.FindPattern);
  const bool matchCase = (fields.FindOptions & kOptionMatchCase) != 0;

  ReplaceAllResult result;
  Position start = selectionStart;
  Position length = selectionLength;
  for (;;) {
    // ReplaceSelection.
    if (spliced.size() > 0 && length > 0) {
      spliced.Replace(start, length, replacement);
      start = spliced.outSize();
      length = 0;
      ++result.count;
    }
    // FindNextMatch.
    if (fields.FindPattern.empty() || spliced.size() == 0) break;
    const std::optional<PatternMatch> match = pattern.FindIn(spliced, start + length, matchCase);
    if (!match) break;
    start = match->start;
    length = match->end - match->start;
    if (fields.FindOptions & kOptionReplace) break;
  }
  result.text = spliced.Result();
  result.selectionStart = start;
  result.selectionLength = length;
  return result;
}

int ReplaceAll(SearchTarget& editor, const SearchFields& fields) {
  // A replacement ending in a lone lead byte joins the byte after it into
  // one character, and the caret after it then moves back into the inserted
  // text; that rare case is left to the loop itself.
  if (EndsWithLoneLeadByte(ReplacementText(fields.ReplacePattern))) return ReplaceStepByStep(editor, fields);
  if (editor.IsEmpty()) return 0;
  const std::string& text = editor.WholeText();
  const Position start = editor.SelectionStart();
  const Position length = editor.SelectionLength();
  ReplaceAllResult result = ComputeReplaceAll(text, start, length, fields);
  if (result.count == 0) {
    // Nothing was replaced; a match may still have been found and selected.
    if (result.selectionStart != start || result.selectionLength != length) {
      editor.FocusEditor();
      editor.SetSelectionStart(result.selectionStart);
      editor.SetSelectionLength(result.selectionLength);
    }
    return 0;
  }
  // Refused before the editor is touched: the selection stays where it was.
  if (result.text.size() > kMaxDocumentBytes) throw DocumentTooLarge(kMaxDocumentBytes);
  editor.FocusEditor();
  editor.SelectWholeText();
  editor.ReplaceSelectedText(result.text);
  editor.SetSelectionStart(result.selectionStart);
  editor.SetSelectionLength(result.selectionLength);
  return result.count;
}

}  // namespace quolvi
