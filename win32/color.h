// Colour values resolved for the system: a system colour is looked up now.
#pragma once

#include <windows.h>

#include "core/color_value.h"

namespace quolvi {

inline COLORREF ResolveColor(ColorValue color) {
  return IsSystemColor(color) ? GetSysColor(SystemColorIndex(color)) : static_cast<COLORREF>(color);
}

}  // namespace quolvi
