// A top-level window holding a RichEditor, as the main window holds it, for
// tests of the editor against the real control.
#pragma once

#include <windows.h>

#include "win32/handles.h"
#include "win32/rich_editor.h"

namespace quolvi::test {

class EditorHost {
 public:
  // visible: shown and made the foreground window (for keyboard input).
  explicit EditorHost(bool visible = false);
  ~EditorHost();
  EditorHost(const EditorHost&) = delete;
  EditorHost& operator=(const EditorHost&) = delete;

  RichEditor& editor() { return editor_; }
  HWND window() const { return window_.Get(); }
  // How many change events the editor has raised.
  int changes() const { return changes_; }
  void ResetChanges() { changes_ = 0; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  WindowHandle window_;
  RichEditor editor_;
  int changes_ = 0;
};

}  // namespace quolvi::test
