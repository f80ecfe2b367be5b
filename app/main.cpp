// The program's entry: the main window and its message loop.
#include <windows.h>
#include <commctrl.h>

#include "app/lumo_sub1.h"
#include "app/messages.h"
#include "win32/application_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  // The application's title, which the taskbar and the task switcher show,
  // is the application window's; the main window belongs to it.
  quolvi::ApplicationWindow application;
  if (!application.Create(instance, quolvi::messages::kAppTitle, LoadIconA(instance, MAKEINTRESOURCEA(1)))) return 1;
  quolvi::TFLumoSub1 mainWindow;
  if (!mainWindow.Create(instance, &application)) return 1;
  mainWindow.Show(showCommand);

  // A Unicode loop, so that typed characters reach the editor whole. The
  // modeless find and replace dialogs get their keys; main menu shortcuts
  // are matched before the focused control sees the key.
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (mainWindow.HandleDialogMessage(message)) continue;
    if (mainWindow.HandleShortcut(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
