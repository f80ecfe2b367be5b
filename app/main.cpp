// The program's entry: the main window and its message loop.
#include <windows.h>
#include <commctrl.h>

#include <exception>
#include <optional>

#include "app/lumo_sub1.h"
#include "app/messages.h"
#include "core/error_text.h"
#include "win32/application_window.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  // The application's title, which the taskbar and the task switcher show,
  // is the application window's; the main window belongs to it.
  quolvi::ApplicationWindow application;
  if (!application.Create(instance, quolvi::messages::kAppTitle, LoadIconA(instance, MAKEINTRESOURCEA(1)))) return 1;

  // Start-up and the loop are error boundaries too: an error that escapes
  // them is reported, and the program goes on wherever it can.
  std::optional<quolvi::TFLumoSub1> mainWindow;
  try {
    mainWindow.emplace();
    if (!mainWindow->Create(instance, &application)) return 1;
  } catch (...) {
    // No window to go on with.
    try {
      std::string text = quolvi::ErrorBoxText(quolvi::messages::TextOf(std::current_exception()));
      MessageBoxA(nullptr, text.c_str(), quolvi::messages::kAppTitle, MB_OK | MB_ICONERROR);
    } catch (...) {
      MessageBoxA(nullptr, quolvi::messages::kOutOfMemory, quolvi::messages::kAppTitle, MB_OK | MB_ICONERROR);
    }
    return 1;
  }
  try {
    mainWindow->Show(showCommand);
  } catch (...) {
    mainWindow->OnEscapedError(std::current_exception());
  }

  // A Unicode loop, so that typed characters reach the editor whole. The
  // modeless find and replace dialogs get their keys; main menu shortcuts
  // are matched before the focused control sees the key.
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    try {
      if (mainWindow->HandleDialogMessage(message)) continue;
      if (mainWindow->HandleShortcut(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    } catch (...) {
      mainWindow->OnEscapedError(std::current_exception());
    }
  }
  return static_cast<int>(message.wParam);
}
