// The editor over the rich-edit control of RICHED32.DLL (window class
// "RICHEDIT"), used for plain text only.
//
// The control holds UTF-16 and counts its positions in UTF-16 units, while
// the editor speaks Shift-JIS bytes. The text goes in and out through the
// codec in cp932.h, which carries every byte sequence through UTF-16 and back
// unchanged, and positions are mapped through the text (position_map.h).
// Characters that reach the control as ANSI messages lose that exactness, so
// the control is subclassed: typed non-ASCII characters and pasted text are
// inserted as UTF-16 by the editor itself.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <exception>
#include <string>

#include "core/editor.h"
#include "win32/handles.h"
#include "win32/text_file.h"

namespace quolvi {

class RichEditor final : public Editor {
 public:
  // The control's character height when the program starts, in pixels.
  static constexpr int kInitialHeight = -17;
  // The control's own limit, in its characters: never fewer than the
  // bytes of the same text.
  static constexpr int kTextLimit = static_cast<int>(kMaxDocumentBytes);

  RichEditor();
  ~RichEditor() override;
  RichEditor(const RichEditor&) = delete;
  RichEditor& operator=(const RichEditor&) = delete;

  // Creates the control's window as a child of parent, with the stored
  // properties. Until then, properties are only stored.
  void Create(HWND parent, int id);
  HWND Handle() const { return window_.Get(); }
  void SetBounds(const RECT& bounds);

  // The parent passes the control's WM_COMMAND notifications here; returns
  // whether the notification was the control's.
  bool HandleCommand(WPARAM wParam, LPARAM lParam);

  std::string WholeText() override;
  Position SelectionStart() override;
  Position SelectionLength() override;
  void SetSelectionStart(Position p) override;
  void SetSelectionLength(Position n) override;
  std::string SelectedText() override;
  void ReplaceSelectedText(std::string_view s) override;
  void SelectWholeText() override;
  void CutSelection() override;
  void CopySelection() override;
  void PasteClipboard() override;
  bool UndoAvailable() override;
  void UndoLastEdit() override;
  int CountLines() override;
  void ClearText() override;
  void LoadTextFile(const std::string& path) override;
  void SaveTextFile(const std::string& path) override;
  Position SearchText(std::string_view t, Position start, Position len, bool matchCase) override;
  void FocusEditor() override;

  bool WordWrap() const override { return wordWrap_; }
  void SetWordWrap(bool on) override;
  ColorValue BackColor() const override { return backColor_; }
  void SetBackColor(ColorValue color) override;
  std::string FaceName() const override { return faceName_; }
  void SetFaceName(const std::string& face) override;
  int PointSize() const override;
  void SetPointSize(int points) override;
  ColorValue FontColor() const override { return fontColor_; }
  void SetFontColor(ColorValue color) override;

  // Asked for the context menu, at screen coordinates (-1, -1 when it is
  // asked for from the keyboard).
  std::function<void(int x, int y)> OnContextMenu;

  // What escaped the handling of one of the control's messages (the control's
  // window procedure is an error boundary: that handling ends there, and the
  // program says what the user is told).
  std::function<void(std::exception_ptr)> OnEscapedError;

  // Makes the next saves fail as the faults say (for tests).
  void SetWriteFaultsForTesting(const WriteFaults& faults) { writeFaults_ = faults; }

  // The font as a character height in pixels (negative).
  int FontHeight() const { return height_; }
  int ScreenDpi() const { return dpi_; }

 private:
  std::u16string UnicodeText();
  void SetUnicodeText(std::u16string_view text);
  // Sets the whole text, as the fastest way in that keeps every byte allows.
  void SetText(std::string_view bytes);
  void InsertAtSelection(std::u16string_view text, bool canUndo);
  // Throws DocumentTooLarge when putting insertedBytes in place of the
  // selection would make the text longer than kMaxDocumentBytes.
  void CheckRoomFor(std::size_t insertedBytes);
  CHARRANGE GetCharRange();
  bool IsEmpty();
  void CreateControlWindow();
  void RecreateControlWindow();
  void ApplyCharFormat();
  void ApplyBackColor();
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK EditorWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  LibraryHandle library_;
  WindowHandle window_;
  WNDPROC originalProc_ = nullptr;
  HWND parent_ = nullptr;
  int id_ = 0;
  RECT bounds_{};
  bool raiseChanges_ = true;
  char16_t pendingHighSurrogate_ = 0;
  WriteFaults writeFaults_;

  bool wordWrap_ = false;
  ColorValue backColor_ = kClWindow;
  std::string faceName_;
  int height_ = kInitialHeight;
  ColorValue fontColor_ = kClWindowText;
  int dpi_;
};

}  // namespace quolvi
