// An editor that holds its text in memory, with the same byte-offset
// semantics as the real one, for native tests of what works through the
// editor.
#pragma once

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
  void CutSelection() override;
  void CopySelection() override { clipboard = SelectedText(); }
  void PasteClipboard() override { ReplaceSelectedText(clipboard); }
  bool UndoAvailable() override { return false; }
  void UndoLastEdit() override {}
  int CountLines() override;
  void ClearText() override;
  void LoadTextFile(const std::string& path) override;
  void SaveTextFile(const std::string& path) override;
  Position SearchText(std::string_view t, Position start, Position len, bool matchCase) override;
  void FocusEditor() override { ++focusCount; }

  bool WordWrap() const override { return wordWrap_; }
  void SetWordWrap(bool on) override { wordWrap_ = on; }
  ColorValue BackColor() const override { return backColor_; }
  void SetBackColor(ColorValue color) override { backColor_ = color; }
  std::string FaceName() const override { return faceName_; }
  void SetFaceName(const std::string& face) override;
  int PointSize() const override { return pointSize_; }
  void SetPointSize(int points) override { pointSize_ = points; }
  ColorValue FontColor() const override { return fontColor_; }
  void SetFontColor(ColorValue color) override { fontColor_ = color; }

  std::string clipboard;
  int focusCount = 0;
  int searchCount = 0;  // calls of SearchText

 private:
  std::string text_;
  Position start_ = 0;
  Position length_ = 0;
  bool wordWrap_ = false;
  ColorValue backColor_ = kClWindow;
  std::string faceName_ = "ＭＳ ゴシック";
  int pointSize_ = 13;
  ColorValue fontColor_ = kClWindowText;
};

}  // namespace quolvi::test
