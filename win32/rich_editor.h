// The editor over the rich-edit control of RICHED32.DLL, used for plain
// text only. The control holds UTF-16 and counts UTF-16 units; the editor
// speaks Shift-JIS bytes, maps positions through the text, and keeps the
// bytes the system's conversion would lose as marks in the control. Why it
// is built so (Wine's control and heap): docs/design.md.
//
// Its parts: EditControl (the control's windows), ControlText (the text in
// and out of a window), EditJournal (edits made by rewriting, and their
// undo), TypedInput (the keyboard and the input method), Presentation
// (word wrap, font and colours).
#pragma once

#include <windows.h>
#include <richedit.h>

#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/cp932.h"
#include "core/editor.h"
#include "core/position_map.h"
#include "win32/control_text.h"
#include "win32/edit_control.h"
#include "win32/edit_journal.h"
#include "win32/long_work.h"
#include "win32/presentation.h"
#include "win32/text_file.h"
#include "win32/typed_input.h"

namespace quolvi {

class RichEditor final : public Editor, private TypingTarget {
 public:
  // The control's character height when the program starts, in pixels.
  static constexpr int kInitialHeight = Presentation::kInitialHeight;
  // The control's own limit, in its characters: never fewer than the
  // bytes of the same text.
  static constexpr int kTextLimit = static_cast<int>(kMaxDocumentBytes);
  static constexpr UINT kScrollCaret = ControlWindow::kScrollCaret;
  static constexpr LPARAM kEventMask = EditControl::kEventMask;

  RichEditor();
  ~RichEditor() override;
  RichEditor(const RichEditor&) = delete;
  RichEditor& operator=(const RichEditor&) = delete;

  // Creates the control's window as a child of parent, with the stored
  // properties; until then, properties are only stored. Throws
  // EditorUnavailable when the control or its library cannot be made.
  void Create(HWND parent, int id);
  HWND Handle() const { return control_.Handle(); }
  void SetBounds(const RECT& bounds) { control_.SetBounds(bounds); }

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
  // Loads the file whole before it returns (BeginLoad, then FinishLoad).
  void LoadTextFile(const std::string& path) override;
  void SaveTextFile(const std::string& path) override;
  UnwritableCharacters FindUnwritableCharacters() override;
  std::function<std::string()> CopyText(const std::function<bool()>& interrupted) override;
  Position SearchText(std::string_view t, Position start, Position len, bool matchCase) override;
  void FocusEditor() override;

  // Loading a file a piece at a time, so that its first screen shows at
  // once whatever its size. The file is read and checked whole first (an
  // error then leaves everything as it was, a load going on too); the first
  // piece goes into a new window, which is shown; then BeginLoad returns,
  // and the rest goes in a piece at a time from the window's timer, which
  // the system sends only while no other message waits, so the user can
  // read, scroll, move the caret, select and copy meanwhile. The user cannot
  // change the text until the last piece is in: then loaded() runs. A load
  // that fails part of the way puts the text from before it back (with its
  // selection and modified state) and the error escapes to OnEscapedError;
  // loaded() does not run. A load begun during another takes its place, and
  // what goes back if it fails is the text from before the first.
  void BeginLoad(const std::string& path, std::function<void()> loaded);
  bool Loading() const { return load_ != nullptr; }
  // Puts the rest of the text in now.
  void FinishLoad();
  // Stops the load where it is; the text so far stays, for the caller to
  // replace (a close, the text of a recovery file).
  void AbandonLoad();

  bool WordWrap() const override { return look_.WordWrap(); }
  void SetWordWrap(bool on) override;
  ColorValue BackColor() const override { return look_.BackColor(); }
  void SetBackColor(ColorValue color) override;
  std::string FaceName() const override { return look_.FaceName(); }
  void SetFaceName(const std::string& face) override;
  int PointSize() const override { return look_.PointSize(); }
  void SetPointSize(int points) override;
  ColorValue FontColor() const override { return look_.FontColor(); }
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

  // How the next change to a new window fails (for tests): its window
  // cannot be made, or it ends up holding less than the whole text.
  enum class SwapFault { kNone, kNoWindow, kTextCut };
  void SetSwapFaultForTesting(SwapFault fault);

  // The font as a character height in pixels (negative).
  int FontHeight() const { return look_.FontHeight(); }
  int ScreenDpi() const { return look_.ScreenDpi(); }

 private:
  // The text with its marks and its bytes, read once while it stays as it
  // is (the control's generation says).
  const IndexedText& Current();
  // Replaces the selection; with canUndo the replacement is one undo step.
  void InsertAtSelection(const cp932::MarkedText& text, bool canUndo);
  bool RewritesEdit(CHARRANGE range, std::u16string_view inserted);
  void Rewrite(CHARRANGE range, const cp932::MarkedText& inserted, bool canUndo);
  // Throws DocumentTooLarge when putting insertedBytes in place of the
  // selection would make the text longer than kMaxDocumentBytes.
  void CheckRoomFor(std::size_t insertedBytes);

  // Puts a text into a new window of the control, made with the
  // presentation as it is and hidden, which takes the old one's place once
  // it holds the whole text (checked by its length), with selection and the
  // control's modified state. put(text) puts the text into the new window's
  // text and returns its length in units. If anything fails on the way, the
  // text, the selection and the modified state are as they were, undo() is
  // run (the caller's own state back), and the error escapes.
  using Put = std::function<std::size_t(ControlText& text)>;
  void PutInNewWindow(const Put& put, CHARRANGE selection, bool modified, const std::function<void()>& undo = {});
  void PutInNewWindow(const cp932::MarkedText& text, CHARRANGE selection, bool modified,
                      const std::function<void()>& undo = {});
  // The old window stays until the new one holds the whole text.
  void SwapWindows(const Put& put, CHARRANGE selection, bool modified);
  // A text of at most this many units (one piece) stays in the old window
  // while the new one is filled; of a longer one the window goes first
  // (docs/design.md).
  static constexpr LONG kKeptWindowUnits = 64 * 1024;
  // Carries out a change of the font or the background colour; where the
  // control may hold marks, the text is written anew with them into a new
  // window, for the marked runs keep the format they were written with.
  enum class Look { kFont, kBackground };
  void ChangePresentation(Look what, const std::function<void()>& change);
  bool Modified() const;
  // A new window of the control with the presentation as it is, not yet in place.
  WindowHandle MakeWindow();

  // A load going on: the file's text, the fill that puts it into the window
  // in place, and what goes back if it fails.
  struct Load {
    std::string bytes;
    std::optional<PieceFill> fill;
    cp932::MarkedText before;
    CHARRANGE selectionBefore{0, 0};
    bool modifiedBefore = false;
    bool beforeInPlace = false;  // the window in place still holds it
    std::function<void()> loaded;
    std::optional<LongWork> work;  // its progress
    DWORD frameDrawn = 0;          // the tick count the scroll bars were last drawn at
  };
  static constexpr UINT_PTR kLoadTimer = 0x5157;
  // The units of the first piece, which fill the first screen of any window.
  static constexpr std::size_t kFirstPieceUnits = 16 * 1024;
  // A text of at most this many units goes in whole before it is shown, in
  // less time than the user would notice; only a longer one is read-only
  // for a while.
  static constexpr std::size_t kWholeAtOnceUnits = 128 * 1024;
  // Pieces go in one after the other for at most this long, or until a
  // message waits; then the program waits for input, as an idle one does,
  // until the timer's next tick.
  static constexpr DWORD kLoadBurstMs = 200;
  // The scroll bars are drawn anew at most this often while a load goes on.
  static constexpr DWORD kFrameDrawMs = 500;
  void OnLoadTimer();
  // Puts the next piece in; the last ends the load.
  void ContinueLoad();
  // After each piece: the progress, and the end after the last.
  void Reached();
  // Throws EditorUnavailable unless window holds the whole text loaded.
  void CheckLoaded(ControlWindow window);
  void EndLoad();
  // Runs a step of the load; if it fails, the load fails.
  template <class Step>
  void LoadStep(Step step);
  // Puts the text from before the load back, after a failure.
  void FailLoad();
  // The load's window as any other: its timer gone, open to the user's
  // edits and reporting its changes.
  void StopLoading();
  // Before an operation that changes the text, or needs the whole of it.
  void CompleteLoad() {
    if (load_) FinishLoad();
  }

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // What typing asks of the editor.
  void InsertTyped(std::u16string_view text) override;
  bool EditsManyLines(std::u16string_view text) override;
  void Paste() override { PasteClipboard(); }
  LRESULT PassOn(UINT message, WPARAM wParam, LPARAM lParam) override;

  EditControl control_;
  ControlText text_;  // of the window in place
  EditJournal journal_;
  TypedInput input_;
  Presentation look_;
  int changeNotices_ = 0;  // the control's change notifications so far
  // The text last read, good while the control's generation is the one it
  // was read at.
  std::optional<IndexedText> current_;
  unsigned currentGeneration_ = 0;
  WriteFaults writeFaults_;
  bool cutNextText_ = false;  // SwapFault::kTextCut
  unsigned progressDelayMs_ = LongWork::kNoticeableMs;
  std::unique_ptr<Load> load_;
  bool colorsChangedWhileLoading_ = false;
};

}  // namespace quolvi
