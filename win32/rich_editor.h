// The editor over the rich-edit control of RICHED32.DLL (window class
// "RICHEDIT"), used for plain text only.
//
// The control holds UTF-16 and counts its positions in UTF-16 units, while
// the editor speaks Shift-JIS bytes. The text goes in and out through the
// codec in cp932.h, and positions are mapped through the text
// (position_map.h). Characters that reach the control as ANSI messages lose
// their exactness, so the control is subclassed: typed non-ASCII characters
// and pasted text are inserted as UTF-16 by the editor itself.
//
// The control shows every character as the system's conversion gives it, so
// a character that stands for other bytes (an extension duplicate such as
// 纊 from 0xED40, which the system writes as 0xFA5C, or the placeholder
// U+FFFD of a stray byte) carries a mark, and the mark lives in the control,
// with the character: undo, cutting and word-wrap switches move and restore
// the two together, and whatever the user types or pastes comes without one.
// The mark is a character format the program sets nowhere else, for the
// control keeps formats per run of characters and restores them with the
// text it undoes. Which format: the rich-edit control of RICHED32 keeps every
// format through undo, but sets many at once only as it reads RTF
// (EM_STREAMIN), and one EM_SETCHARFORMAT per character costs a
// re-layout of its paragraph and a walk over the paragraphs before it, which
// a file with thousands of stray bytes would wait minutes for. Of what its
// RTF reader sets, only the text and background colours carry a number and
// show nothing when they differ from the document's by a shade. So a mark is
// a shade of colour (marked_rtf.h), written in one pass of RTF and read back
// in one pass of RTF (EM_STREAMOUT) against the control's own text. A text
// without marks goes in and out as plain text, as fast as before.
//
// The editor remembers whether the control may hold marks: then its text is
// read with them, its own insertions write the neutral format (so that a
// character typed next to a marked one takes no mark from it), and a change
// of font or colours writes the text anew, for the marked runs keep the
// format they were written with.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <exception>
#include <functional>
#include <optional>
#include <string>

#include "core/cp932.h"
#include "core/editor.h"
#include "core/marked_rtf.h"
#include "core/position_map.h"
#include "win32/handles.h"
#include "win32/long_work.h"
#include "win32/text_file.h"

namespace quolvi {

class RichEditor final : public Editor {
 public:
  // The control's character height when the program starts, in pixels.
  static constexpr int kInitialHeight = -17;
  // The control's own limit, in its characters: never fewer than the
  // bytes of the same text.
  static constexpr int kTextLimit = static_cast<int>(kMaxDocumentBytes);
  // EM_SCROLLCARET of the rich-edit control, which its header leaves out.
  static constexpr UINT kScrollCaret = WM_USER + 49;
  // The notifications the control sends its parent.
  static constexpr LPARAM kEventMask = ENM_CHANGE | ENM_REQUESTRESIZE | ENM_SELCHANGE | ENM_PROTECTED;

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
  // The parent passes WM_SYSCOLORCHANGE here: the colours that stand for
  // system colours are resolved anew, and marked characters get shades
  // against them.
  void SystemColorsChanged();

  const std::string& WholeText() override;
  Position SelectionStart() override;
  Position SelectionLength() override;
  void SetSelectionStart(Position p) override;
  void SetSelectionLength(Position n) override;
  void Select(Position start, Position length) override;
  std::string SelectedText() override;
  void ReplaceSelectedText(std::string_view s) override;
  void SelectWholeText() override;
  void CutSelection() override;
  void CopySelection() override;
  void PasteClipboard() override;
  bool UndoAvailable() override;
  void UndoLastEdit() override;
  int CountLines() override;
  bool IsEmpty() override;
  void ClearText() override;
  void LoadTextFile(const std::string& path) override;
  void SaveTextFile(const std::string& path) override;
  UnwritableCharacters FindUnwritableCharacters() override;
  std::function<std::string()> CopyText(const std::function<bool()>& interrupted) override;
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

  // Told how far a long change of the whole text (a load, a word-wrap
  // switch, a replace all) has come, from half a second on; the windows
  // paint meanwhile, and input waits until it is done.
  ProgressReport OnProgress;

  // Reports progress from the start of the work on (for tests).
  void ReportAllProgressForTesting() { progressDelayMs_ = 0; }

  // Makes the next saves fail as the faults say (for tests).
  void SetWriteFaultsForTesting(const WriteFaults& faults) { writeFaults_ = faults; }

  // The font as a character height in pixels (negative).
  int FontHeight() const { return height_; }
  int ScreenDpi() const { return dpi_; }

 private:
  std::u16string UnicodeText();
  // At most units of the text, GT_DEFAULT for all of it or GT_SELECTION.
  std::u16string ReadUnicode(DWORD which, std::size_t units);
  // The text with its marks (none while the control holds none) and its
  // bytes, read once while the text stays as it is.
  const IndexedText& Current();
  // The selected units, clamped to the text, and their characters.
  CHARRANGE SelectedUnits();
  std::u16string SelectionUnicode();
  // The marks of text, the whole text or the selected part of it.
  std::vector<cp932::Mark> ReadMarks(std::u16string_view text, bool selectionOnly = false);
  LONG UnitCount();
  void SetUnicodeText(std::u16string_view text);
  // Sets the whole text, as the fastest way in that keeps every byte allows.
  void SetText(std::string_view bytes);
  void SetMarkedText(const cp932::MarkedText& text);
  // Streams a whole text of size units in: streamIn(from, to) streams the
  // units [from, to) in at the selection, and pieceEnd(from) tells where the
  // piece that starts at from ends.
  void PutInPieces(std::size_t size, const std::function<std::size_t(std::size_t from)>& pieceEnd,
                   const std::function<void(std::size_t from, std::size_t to)>& streamIn);
  void StreamInRtf(const std::string& rtf, bool atSelection);
  MarkColors CurrentMarkColors() const;
  // Replaces the selection; with canUndo the replacement is one undo step.
  void InsertAtSelection(const cp932::MarkedText& text, bool canUndo);
  // The control spends time in proportion to the whole text on each line it
  // deletes or inserts in place (and as much again to undo it), so an edit of
  // many lines is made by writing the resulting text into a new window, in
  // pieces, as a file is loaded; undo then puts the text before it back the
  // same way.
  static constexpr LONG kRewriteLines = 128;
  bool RewritesEdit(CHARRANGE range, std::u16string_view inserted);
  bool SelectionRewrites() { return RewritesEdit(SelectedUnits(), {}); }
  void Rewrite(CHARRANGE range, const cp932::MarkedText& inserted, bool canUndo);
  // Makes the window anew with text and selection (units) in it, scrolled
  // to the caret; raises no change.
  void PutTextInNewWindow(const cp932::MarkedText& text, CHARRANGE selection);
  // A character typed at the keyboard: in overwrite mode it takes the place
  // of the character after the caret, which SelectForOverwrite selects.
  void InsertTyped(std::u16string_view text);
  void SelectForOverwrite();
  // Carries out a change of font or colours; where the control may hold
  // marks, the text is written anew with them afterwards (see above).
  void ChangePresentation(const std::function<void()>& change);
  // Throws DocumentTooLarge when putting insertedBytes in place of the
  // selection would make the text longer than kMaxDocumentBytes.
  void CheckRoomFor(std::size_t insertedBytes);
  CHARRANGE GetCharRange();
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
  int changeNotices_ = 0;  // the control's change notifications so far
  char16_t pendingHighSurrogate_ = 0;
  bool overwrite_ = false;  // overwrite mode (the Insert key)
  bool mayHoldMarks_ = false;
  MarkColors markColors_;  // the colours the marks in the control were written against
  // The text last read, good while no message that may change the text has
  // reached the control and it has reported no change since (generation_
  // counts those).
  unsigned generation_ = 0;
  unsigned currentGeneration_ = 0;
  std::optional<IndexedText> current_;
  // What undo puts back after an edit made by Rewrite: the text and the
  // selection before it. Kept while later edits can be undone in the control.
  struct RewriteUndo {
    cp932::MarkedText text;
    CHARRANGE selection;
  };
  std::optional<RewriteUndo> rewriteUndo_;
  WriteFaults writeFaults_;
  unsigned progressDelayMs_ = LongWork::kNoticeableMs;

  bool wordWrap_ = false;
  ColorValue backColor_ = kClWindow;
  std::string faceName_;
  int height_ = kInitialHeight;
  ColorValue fontColor_ = kClWindowText;
  int dpi_;
};

}  // namespace quolvi
