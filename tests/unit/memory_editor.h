// An editor that holds its text in memory, with the same byte-offset
// semantics as the real one, for native tests of the matcher and the
// replacer. What they never call (the clipboard, undo, files, the look)
// throws, so that a first use shows.
#pragma once

#include <stdexcept>
#include <string>

#include "core/editor.h"

namespace quolvi::test {

class MemoryEditor final : public Editor {
 public:
  explicit MemoryEditor(std::string text = "") : text_(std::move(text)) {}

  const std::string& WholeText() override { return text_; }
  Position SelectionStart() override { return start_; }
  Position SelectionLength() override { return length_; }
  void SetSelectionStart(Position p) override;
  void SetSelectionLength(Position n) override;
  std::string SelectedText() override { return text_.substr(start_, length_); }
  void ReplaceSelectedText(std::string_view s) override;
  void SelectWholeText() override;
  void CutSelection() override { Unused(); }
  void CopySelection() override { Unused(); }
  void PasteClipboard() override { Unused(); }
  bool UndoAvailable() override { return Unused(); }
  void UndoLastEdit() override { Unused(); }
  int CountLines() override;
  bool IsEmpty() override { return text_.empty(); }
  void ClearText() override { Unused(); }
  void LoadTextFile(const std::string&) override { Unused(); }
  void SaveTextFile(const std::string&) override { Unused(); }
  UnwritableCharacters FindUnwritableCharacters() override { return Unused(), UnwritableCharacters{}; }
  std::function<std::string()> CopyText(const std::function<bool()>&) override { return Unused(), nullptr; }
  Position SearchText(std::string_view t, Position start, Position len, bool matchCase) override;
  void FocusEditor() override { ++focusCount; }

  bool WordWrap() const override { return Unused(); }
  void SetWordWrap(bool) override { Unused(); }
  ColorValue BackColor() const override { return Unused(); }
  void SetBackColor(ColorValue) override { Unused(); }
  std::string FaceName() const override { return Unused(), ""; }
  void SetFaceName(const std::string&) override { Unused(); }
  int PointSize() const override { return Unused(); }
  void SetPointSize(int) override { Unused(); }
  ColorValue FontColor() const override { return Unused(); }
  void SetFontColor(ColorValue) override { Unused(); }

  int focusCount = 0;
  int searchCount = 0;  // calls of SearchText

 private:
  [[noreturn]] static int Unused() { throw std::logic_error("not used by the matcher or the replacer"); }

  std::string text_;
  Position start_ = 0;
  Position length_ = 0;
};

}  // namespace quolvi::test
