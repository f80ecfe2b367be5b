// The program's entry: one main window and its message loop.
#include <windows.h>
#include <commctrl.h>

#include "app/main_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  quolvi::MainWindow mainWindow;
  if (!mainWindow.Create(instance)) return 1;
  mainWindow.Show(showCommand);

  // A Unicode loop, so that typed characters reach the editor whole.
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
