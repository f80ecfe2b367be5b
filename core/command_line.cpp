#include "core/command_line.h"

namespace quolvi {
namespace {

bool IsSeparator(char c) { return c != '\0' && static_cast<unsigned char>(c) <= 32; }

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
  line = line.substr(0, line.find('\0'));
  std::vector<std::string> arguments;
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
    std::string argument;
    while (i < line.size() && !IsSeparator(line[i])) {
      if (line[i] == '"') {
        std::size_t close = line.find('"', i + 1);
        if (close == std::string_view::npos) close = line.size();
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

}  // namespace quolvi
