#include "core/folder_rules.h"

#include "core/cp932.h"

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

std::string FolderOf(std::string_view path) {
  std::size_t delimiter = std::string_view::npos;
  std::size_t beforeDelimiter = std::string_view::npos;  // start of the character before it
  std::size_t previous = std::string_view::npos;
  for (std::size_t i = 0; i < path.size(); i += cp932::CharLength(path, i)) {
    if (cp932::CharLength(path, i) == 1 && (path[i] == '\\' || path[i] == ':')) {
      delimiter = i;
      beforeDelimiter = previous;
    }
    previous = i;
  }
  if (delimiter == std::string_view::npos) return "";
  std::string folder(path.substr(0, delimiter + 1));
  if (path[delimiter] == '\\' && delimiter > 0) {
    // Kept only after a colon or a backslash that are characters of their own.
    bool keep = beforeDelimiter + 1 == delimiter && (path[beforeDelimiter] == ':' || path[beforeDelimiter] == '\\');
    if (!keep) folder.pop_back();
  }
  return folder;
}

}  // namespace quolvi
