// What a search and a replacement ask of the editor, holding the text in
// memory with the same byte-offset semantics as the real editor, for native
// tests of the matcher and the replacer.
#pragma once

#include <string>

#include "core/search_target.h"

namespace quolvi::test {

class MemoryEditor final : public SearchTarget {
 public:
  explicit MemoryEditor(std::string text = "") : text_(std::move(text)) {}

  const std::string& WholeText() override { return text_; }
  bool IsEmpty() override { return text_.empty(); }
  Position SelectionStart() override { return start_; }
  Position SelectionLength() override { return length_; }
  void SetSelectionStart(Position p) override;
  void SetSelectionLength(Position n) override;
  void SelectWholeText() override;
  void ReplaceSelectedText(std::string_view s) override;
  Position SearchText(std::string_view t, Position start, Position len, bool matchCase) override;
  void FocusEditor() override { ++focusCount; }

  std::string SelectedText() const { return text_.substr(start_, length_); }

  int focusCount = 0;

 private:
  std::string text_;
  Position start_ = 0;
  Position length_ = 0;
};

}  // namespace quolvi::test
