// An error that ends the command in which it arises and is shown to the user
// by the message loop. Its message is Shift-JIS text, ready to be shown.
#pragma once

#include <stdexcept>

namespace quolvi {

class AppError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace quolvi
