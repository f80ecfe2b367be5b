// A top-level window holding a RichEditor, as the main window holds it, for
// tests of the editor against the real control.
#pragma once

#include <windows.h>
#include <richedit.h>

#include <string>
#include <string_view>

#include "win32/base_window.h"
#include "win32/rich_editor.h"

namespace quolvi::test {

class EditorHost : public BaseWindow<EditorHost> {
 public:
  // visible: shown and made the foreground window (for keyboard input).
  explicit EditorHost(bool visible = false);
  ~EditorHost();

  RichEditor& editor() { return editor_; }
  HWND window() const { return Handle(); }
  // How many change events the editor has raised.
  int changes() const { return changes_; }
  void ResetChanges() { changes_ = 0; }

 private:
  friend class BaseWindow<EditorHost>;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  RichEditor editor_;
  int changes_ = 0;
};

// The characters the control holds, which the user sees.
std::u16string ControlText(HWND control);

// The text on the clipboard as CF_UNICODETEXT; empty when there is none.
std::u16string ReadClipboardText(HWND owner);
// Empties the clipboard and puts text on it, unless text is empty.
void PutClipboardText(HWND owner, std::u16string_view text);

// The control's character format: its default or the selection's (which).
CHARFORMAT2A CharFormatOf(HWND control, WPARAM which = SCF_DEFAULT);

}  // namespace quolvi::test
