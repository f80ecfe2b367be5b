#include "document/folder_rules.h"

#include "editor/cp932.h"

namespace quolvi {

std::string StartFolder(std::string_view folder) {
  if (folder.size() < 2) return std::string(folder);
  // Find where the last character starts, walking the characters.
  std::size_t last = 0;
  std::size_t previous = 0;
  for (std::size_t i = 0; i < folder.size(); i += cp932::CharLength(folder, i)) {
    previous = last;
    last = i;
  }
  bool endsWithBackslash = folder[last] == '\\' && last == folder.size() - 1;
  bool afterColon = last > 0 && folder[previous] == ':' && previous + 1 == last;
  if (endsWithBackslash && !afterColon) folder.remove_suffix(1);
  return std::string(folder);
}

}  // namespace quolvi
