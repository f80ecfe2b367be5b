// The settings file vessaro.ini beside the executable: the window's place
// and size and the editor's word wrap, colours and font, read when the
// window is created and written when it is allowed to close.
#include <string>
#include <utility>
#include <vector>

#include "app/app_error.h"
#include "app/lumo_sub1.h"
#include "app/messages.h"
#include "core/settings_value.h"
#include "win32/file_names.h"
#include "win32/profile.h"
#include "win32/shell.h"

namespace quolvi {
namespace {

constexpr char kSection[] = "ZIDEVARE";

}  // namespace

void TFLumoSub1::ReadSettings() {
  // A program whose own path has no name in the code page has no settings
  // file: it starts with the defaults, and its close says it cannot write.
  const std::string program = ExecutablePath();
  if (program.empty()) return;
  IniFileName_ = SettingsFilePath(program);
  // Each value is read on its own; whatever is missing or does not parse
  // gives the default. The values are not checked further: the window and
  // the editor cope with any of them.
  auto integer = [this](const char* key, std::int32_t fallback) {
    return ReadSettingsInteger(ReadProfileString(IniFileName_, kSection, key, ""), fallback);
  };
  HWND hwnd = Handle();
  int left = integer("Left", -1);
  int top = integer("Top", -1);
  if (left >= 0 && top >= 0) {
    Position_ = Placement::kDesigned;  // not centred when first shown
    SetWindowPos(hwnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  int width = integer("Width", -1);
  int height = integer("Height", -1);
  if (width >= 0 && height >= 0) {
    SetWindowPos(hwnd, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The check mark first, then the editor follows it. (The window is still
  // being created, so its menu bar is asked of the window.)
  bool wordWrap = integer("WordWrap", 0) == 1;
  CheckMenuItem(GetMenu(hwnd), mnWordWrap, MF_BYCOMMAND | (wordWrap ? MF_CHECKED : MF_UNCHECKED));
  reEdit.SetWordWrap(wordWrap);
  reEdit.SetBackColor(integer("BGColor", reEdit.BackColor()));
  reEdit.SetFontColor(integer("FGColor", reEdit.FontColor()));
  reEdit.SetPointSize(integer("FontSize", reEdit.PointSize()));
  reEdit.SetFaceName(ReadProfileString(IniFileName_, kSection, "Font", reEdit.FaceName()));
}

void TFLumoSub1::WriteSettings() {
  HWND hwnd = Handle();
  RECT frame;
  GetWindowRect(hwnd, &frame);
  // A minimised window stands for the place and size it is restored to,
  // not for its icon's.
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  if (IsIconic(hwnd) && GetWindowPlacement(hwnd, &placement)) frame = placement.rcNormalPosition;
  const std::vector<std::pair<std::string, std::string>> values = {
      {"Left", std::to_string(frame.left)},
      {"Top", std::to_string(frame.top)},
      {"Width", std::to_string(frame.right - frame.left)},
      {"Height", std::to_string(frame.bottom - frame.top)},
      {"WordWrap", reEdit.WordWrap() ? "1" : "0"},
      {"BGColor", std::to_string(reEdit.BackColor())},
      {"FGColor", std::to_string(reEdit.FontColor())},
      {"FontSize", std::to_string(reEdit.PointSize())},
      {"Font", reEdit.FaceName()},
  };
  if (IniFileName_.empty()) {
    throw AppError(
        messages::WithPath(messages::kCannotWriteSettings, SettingsFilePath(ShownName(ExecutableFileName()))));
  }
  // All nine or none: the file is the old one or the whole new one.
  if (!WriteProfileValues(IniFileName_, kSection, values, settingsFaults_)) {
    throw AppError(messages::WithPath(messages::kCannotWriteSettings, IniFileName_));
  }
}

}  // namespace quolvi
