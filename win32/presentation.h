// The editor's look: word wrap, the font and the colours, kept as
// properties and applied to a window of the control.
#pragma once

#include <string>

#include "core/color_value.h"
#include "core/marked_rtf.h"
#include "win32/edit_control.h"

namespace quolvi {

class Presentation {
 public:
  // The control's character height when the program starts, in pixels.
  static constexpr int kInitialHeight = -17;

  Presentation();

  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool on) { wordWrap_ = on; }
  ColorValue BackColor() const { return backColor_; }
  void SetBackColor(ColorValue color) { backColor_ = color; }
  const std::string& FaceName() const { return faceName_; }
  void SetFaceName(const std::string& face) { faceName_ = face; }
  // A face name as the control holds it: at most 31 bytes, and a
  // double-byte character that would not fit whole left out rather than
  // cut in two.
  static std::string FittingFaceName(const std::string& face);
  int PointSize() const;
  void SetPointSize(int points);
  ColorValue FontColor() const { return fontColor_; }
  void SetFontColor(ColorValue color) { fontColor_ = color; }
  // The font as a character height in pixels (negative).
  int FontHeight() const { return height_; }
  int ScreenDpi() const { return dpi_; }

  // The colours unmarked text shows in now, which marks are shades of.
  MarkColors MarkColorsNow() const;

  // Sets the whole text's default character format from the font, and the
  // background colour, as they are now (system colours resolved now).
  void ApplyCharFormat(ControlWindow window) const;
  void ApplyBackColor(ControlWindow window) const;

 private:
  bool wordWrap_ = false;
  ColorValue backColor_ = kClWindow;
  std::string faceName_;
  int height_ = kInitialHeight;
  ColorValue fontColor_ = kClWindowText;
  int dpi_;
};

}  // namespace quolvi
