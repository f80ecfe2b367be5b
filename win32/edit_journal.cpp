#include "win32/edit_journal.h"

#include <algorithm>

namespace quolvi {

bool EditJournal::Rewrites(ControlWindow window, CHARRANGE range, std::u16string_view inserted,
                           const std::function<std::u16string_view()>& text) {
  // The document's line breaks are CR LF.
  auto lines = static_cast<LRESULT>(std::count(inserted.begin(), inserted.end(), u'\r'));
  if (range.cpMax > range.cpMin) {
    LRESULT rows = window.Send(EM_EXLINEFROMCHAR, 0, range.cpMax) - window.Send(EM_EXLINEFROMCHAR, 0, range.cpMin);
    if (rows + lines < kRewriteLines) return false;
    std::u16string_view whole = text();
    std::u16string_view replaced = whole.substr(std::min(static_cast<std::size_t>(range.cpMin), whole.size()),
                                                static_cast<std::size_t>(range.cpMax - range.cpMin));
    lines += std::count(replaced.begin(), replaced.end(), u'\r');
  }
  return lines >= kRewriteLines;
}

}  // namespace quolvi
