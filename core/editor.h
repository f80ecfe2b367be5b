// The editor: the one text control that holds the document. Everything else
// reaches the text through these operations.
//
// The document is Shift-JIS text whose line breaks are all CR LF, and every
// position and length here is a byte offset into it: a double-byte character
// counts 2, a line break counts 2. No position the editor reports lies inside
// a double-byte character. How the editor over the rich-edit control is
// built, and why: docs/design.md.
#pragma once

#include <cstddef>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/color_value.h"
#include "core/search_target.h"

namespace quolvi {

// The largest document, in bytes: larger files are refused before the text
// is touched, and no edit of the program's own makes the text longer. Why
// 12 MB (the control's memory per byte of text): docs/design.md.
inline constexpr std::size_t kMaxDocumentBytes = 12u << 20;

// An edit that would make the document larger than limit() bytes; the
// document stays as it was.
class DocumentTooLarge : public std::length_error {
 public:
  explicit DocumentTooLarge(std::size_t limit) : std::length_error("the document would be too large"), limit_(limit) {}
  std::size_t limit() const { return limit_; }

 private:
  std::size_t limit_;
};

// The characters of the text that a file cannot hold as themselves: each is
// written as "?" or as its nearest character. The first is named by its code
// point, on its line counted from 1.
struct UnwritableCharacters {
  int count = 0;
  char32_t first = 0;
  int line = 0;
};

// The editor's control could not be made, or could not take the whole text
// (a window that holds less than it was given): the operation changed
// nothing, and the document is as it was.
class EditorUnavailable : public std::runtime_error {
 public:
  EditorUnavailable() : std::runtime_error("the editor's control is not available") {}
};

// The editor is what a search needs (core/search_target.h: the text, the
// selection, search and replacement) and the rest below.
class Editor : public SearchTarget {
 public:
  virtual std::string SelectedText() = 0;
  virtual void CutSelection() = 0;
  virtual void CopySelection() = 0;
  virtual void PasteClipboard() = 0;
  virtual bool UndoAvailable() = 0;
  virtual void UndoLastEdit() = 0;
  // The number of lines as shown, leaving out an empty last line: 0 exactly
  // when the text is empty. Counting takes time that grows with the text;
  // IsEmpty tells at once whether there is any.
  virtual int CountLines() = 0;
  virtual void ClearText() = 0;
  // Replace the text with a file's, or write the text to a file; both throw
  // FileError, naming the file and the step, when the file cannot be used.
  virtual void LoadTextFile(const std::string& path) = 0;
  virtual void SaveTextFile(const std::string& path) = 0;
  // What of the text a save would not keep (see UnwritableCharacters).
  virtual UnwritableCharacters FindUnwritableCharacters() = 0;
  // The bytes a save would write, in two steps, for a copy to be written
  // beside the window: what must be read of the editor is read now, unless
  // interrupted(), asked now and then meanwhile, says to give up (the result
  // is then empty); the function returned makes the bytes, on any thread.
  virtual std::function<std::string()> CopyText(const std::function<bool()>& interrupted) = 0;

  virtual bool WordWrap() const = 0;
  virtual void SetWordWrap(bool on) = 0;
  virtual ColorValue BackColor() const = 0;
  virtual void SetBackColor(ColorValue color) = 0;
  virtual std::string FaceName() const = 0;
  virtual void SetFaceName(const std::string& face) = 0;
  virtual int PointSize() const = 0;
  virtual void SetPointSize(int points) = 0;
  virtual ColorValue FontColor() const = 0;
  virtual void SetFontColor(ColorValue color) = 0;

  // The change event: raised by every change of the text that the user makes
  // and by ReplaceSelectedText, CutSelection, PasteClipboard and UndoLastEdit.
  std::function<void()> OnChange;

 protected:
  void RaiseChange() {
    if (OnChange) OnChange();
  }
};

}  // namespace quolvi
