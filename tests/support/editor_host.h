// A top-level window holding a RichEditor, as the main window holds it, for
// tests of the editor against the real control.
#pragma once

#include <windows.h>

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

}  // namespace quolvi::test
