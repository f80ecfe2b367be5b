// The text of the box in which the message loop reports an error.
#pragma once

#include <string>

namespace quolvi {

// The message with a full stop appended, unless it is empty or its last byte
// compares at or below "." (as a full stop, a blank or a line break do).
inline std::string ErrorBoxText(std::string message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') message += '.';
  return message;
}

}  // namespace quolvi
