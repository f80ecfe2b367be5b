// The program's entry: the main window and its message loop.
#include <windows.h>
#include <commctrl.h>

#include <exception>
#include <optional>

#include "app/error_box.h"
#include "app/lumo_sub1.h"
#include "app/messages.h"
#include "win32/application_window.h"
#include "win32/error_boundary.h"

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
  bool created = false;
  quolvi::RunAtBoundary([&] { created = mainWindow.emplace().Create(instance, &application); },
                        [](std::exception_ptr error) { quolvi::ShowErrorBox(nullptr, error); });
  if (!created) return 1;  // no window to go on with
  const auto report = [&mainWindow](std::exception_ptr error) { mainWindow->OnEscapedError(error); };
  quolvi::RunAtBoundary([&] { mainWindow->Show(showCommand); }, report);

  // A Unicode loop, so that typed characters reach the editor whole. The
  // modeless find and replace dialogs get their keys; main menu shortcuts
  // are matched before the focused control sees the key.
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    quolvi::RunAtBoundary(
        [&] {
          if (mainWindow->HandleDialogMessage(message) || mainWindow->HandleShortcut(message)) return;
          TranslateMessage(&message);
          DispatchMessageW(&message);
        },
        report);
  }
  return static_cast<int>(message.wParam);
}
