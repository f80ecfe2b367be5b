// Splitting a command line, against a plain reference of the same rules.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/command_line.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// Separators are the characters 1 to 32; a quote runs to the next quote or
// the end and is removed; touching stretches are one argument; "" at the
// start of an argument is skipped like a separator; NUL ends the line.
std::vector<std::string> RefSplit(const std::string& line) {
  std::vector<std::string> args;
  std::string current;
  bool inArgument = false, quoted = false;
  for (std::size_t i = 0; i < line.size() && line[i] != '\0'; ++i) {
    unsigned char c = static_cast<unsigned char>(line[i]);
    if (quoted) {
      if (c == '"') {
        quoted = false;
      } else {
        current += static_cast<char>(c);
      }
    } else if (c <= 32) {
      if (inArgument) args.push_back(current);
      current.clear();
      inArgument = false;
    } else if (c == '"' && !inArgument && i + 1 < line.size() && line[i + 1] == '"') {
      ++i;  // an empty pair before an argument
    } else if (c == '"') {
      quoted = true;
      inArgument = true;
    } else {
      current += static_cast<char>(c);
      inArgument = true;
    }
  }
  if (inArgument) args.push_back(current);
  return args;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string line(reinterpret_cast<const char*>(data), size);
  quolvi::fuzz::Check(quolvi::SplitCommandLine(line) == RefSplit(line), "the splitters differ");
  return 0;
}
