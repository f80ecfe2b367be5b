#include "core/command_line.h"

#include <type_traits>

namespace quolvi {
namespace {

template <class Char>
bool IsSeparator(Char c) {
  return c != 0 && static_cast<std::make_unsigned_t<Char>>(c) <= 32;
}

template <class Char>
std::vector<std::basic_string<Char>> Split(std::basic_string_view<Char> line) {
  line = line.substr(0, line.find(Char{0}));
  std::vector<std::basic_string<Char>> arguments;
  std::size_t i = 0;
  for (;;) {
    // Separators, and empty quote pairs at the start of an argument.
    while (i < line.size()) {
      if (IsSeparator(line[i])) {
        ++i;
      } else if (line[i] == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        i += 2;
      } else {
        break;
      }
    }
    if (i >= line.size()) break;
    std::basic_string<Char> argument;
    while (i < line.size() && !IsSeparator(line[i])) {
      if (line[i] == '"') {
        std::size_t close = line.find('"', i + 1);
        if (close == std::basic_string_view<Char>::npos) close = line.size();
        argument.append(line, i + 1, close - i - 1);
        i = close == line.size() ? close : close + 1;
      } else {
        argument.push_back(line[i++]);
      }
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) { return Split(line); }

std::vector<std::wstring> SplitCommandLine(std::wstring_view line) { return Split(line); }

}  // namespace quolvi
