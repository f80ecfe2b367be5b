#include "app/messages.h"

namespace quolvi::messages {

std::string WithPath(std::string_view format, std::string_view path) {
  // '%' is below 0x40, so it is never the second byte of a double-byte character.
  std::string out(format);
  std::size_t at = out.find("%s");
  if (at != std::string::npos) out.replace(at, 2, path);
  return out;
}

}  // namespace quolvi::messages
