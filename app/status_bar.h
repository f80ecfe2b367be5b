// StatusBar1: the bar along the bottom of the main window, with one panel
// that runs to the right edge. It shows what a command reports there (the
// count of a replace all) and how far a long change of the whole text has
// come; every text it shows is written here.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "win32/handles.h"

namespace quolvi {

class StatusBar {
 public:
  // The least height of the bar's drawing area; its font may make it higher.
  static constexpr int kMinHeight = 20;

  // Makes the bar, a child of parent, drawn in font, which it keeps.
  void Create(HWND parent, int id, FontHandle font);
  // Along the bottom of the parent's client area, as high as its font and
  // its least height make it; returns that height.
  int Place();

  // Shows text in the panel until another text takes its place.
  void SetText(const char* text);
  // Shows how far a long change of the whole text has come (percent), in
  // the words of the work going on, and, once it is done (percent below 0),
  // what the panel said before.
  void ShowProgress(int percent);
  // The words of the work going on (a format with one %d); null for the
  // general ones.
  void SetProgressFormat(const char* format) { progressFormat_ = format; }

 private:
  FontHandle font_;
  HWND window_ = nullptr;  // a child of the main window, which destroys it
  const char* progressFormat_ = nullptr;
  std::optional<std::string> textBeforeProgress_;
};

}  // namespace quolvi
