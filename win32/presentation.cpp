#include "win32/presentation.h"

#include "core/cp932.h"
#include "core/font_size.h"
#include "win32/color.h"

namespace quolvi {
namespace {

constexpr char kDefaultFace[] = "ＭＳ ゴシック";
constexpr std::size_t kMaxFaceBytes = LF_FACESIZE - 1;

}  // namespace

Presentation::Presentation() : faceName_(kDefaultFace), dpi_(GetDeviceCaps(ScreenDC().Get(), LOGPIXELSY)) {}

std::string Presentation::FittingFaceName(const std::string& face) {
  std::size_t length = 0;
  while (length < face.size()) {
    std::size_t next = length + cp932::CharLength(face, length);
    if (next > kMaxFaceBytes) break;
    length = next;
  }
  return face.substr(0, length);
}

int Presentation::PointSize() const { return PointSizeFromHeight(height_, dpi_); }

void Presentation::SetPointSize(int points) { height_ = HeightFromPointSize(points, dpi_); }

MarkColors Presentation::MarkColorsNow() const {
  MarkColors colors;
  colors.autoText = fontColor_ == kClWindowText;
  colors.text = ResolveColor(fontColor_);
  colors.back = ResolveColor(backColor_);
  return colors;
}

void Presentation::ApplyCharFormat(ControlWindow window) const {
  // One attribute at a time, each as the default format of the whole text.
  auto set = [window](DWORD mask, auto fill) {
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    format.dwMask = mask;
    fill(format);
    window.SendAnsi(EM_SETCHARFORMAT, SCF_DEFAULT, &format);
  };
  set(CFM_COLOR, [this](CHARFORMATA& f) {
    // The system's window-text colour is sent as the automatic colour, so
    // that the text follows it when the user changes it.
    if (fontColor_ == kClWindowText) {
      f.dwEffects = CFE_AUTOCOLOR;
    } else {
      f.crTextColor = ResolveColor(fontColor_);
    }
  });
  set(CFM_FACE, [this](CHARFORMATA& f) { lstrcpynA(f.szFaceName, faceName_.c_str(), LF_FACESIZE); });
  set(CFM_CHARSET, [](CHARFORMATA& f) { f.bCharSet = SHIFTJIS_CHARSET; });
  for (DWORD style : {CFM_BOLD, CFM_ITALIC, CFM_UNDERLINE, CFM_STRIKEOUT}) {
    set(style, [](CHARFORMATA&) {});
  }
  set(CFM_SIZE, [this](CHARFORMATA& f) { f.yHeight = TwipsFromPointSize(PointSize()); });
}

void Presentation::ApplyBackColor(ControlWindow window) const {
  window.Send(EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ResolveColor(backColor_)));
}

}  // namespace quolvi
