#include "core/marked_splice.h"

#include <algorithm>

namespace quolvi::cp932 {

MarkedText Splice(const MarkedText& text, std::size_t from, std::size_t to, const MarkedText& inserted) {
  to = std::min(to, text.text.size());
  from = std::min(from, to);
  MarkedText out;
  out.text.reserve(text.text.size() - (to - from) + inserted.text.size());
  out.text.append(text.text, 0, from);
  out.text += inserted.text;
  out.text.append(text.text, to);
  for (const Mark& mark : text.marks) {
    if (mark.unit >= from) break;
    out.marks.push_back(mark);
  }
  for (const Mark& mark : inserted.marks) out.marks.push_back({from + mark.unit, mark.value});
  for (const Mark& mark : text.marks) {
    if (mark.unit >= to) out.marks.push_back({mark.unit - to + from + inserted.text.size(), mark.value});
  }
  return out;
}

}  // namespace quolvi::cp932
