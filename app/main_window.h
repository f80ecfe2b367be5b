// The main window: the editor above a status bar.
#pragma once

#include <windows.h>

#include "app/win_handles.h"
#include "editor/rich_editor.h"

namespace quolvi {

class MainWindow {
 public:
  static constexpr char kClassName[] = "TFLumoSub1";
  static constexpr int kWidth = 491;
  static constexpr int kHeight = 391;
  static constexpr int kStatusBarHeight = 20;

  MainWindow() = default;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Registers the window class and creates the window; false on failure.
  bool Create(HINSTANCE instance);
  void Show(int showCommand);
  HWND Handle() const { return window_.Get(); }
  RichEditor& reEdit() { return reEdit_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateChildren();
  void Layout();

  WindowHandle window_;
  HWND statusBar1_ = nullptr;
  RichEditor reEdit_;
};

}  // namespace quolvi
