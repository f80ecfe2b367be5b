#include "app/error_box.h"

#include <new>
#include <string>

#include "app/messages.h"
#include "core/error_text.h"

namespace quolvi {

void ShowErrorBox(HWND owner, std::exception_ptr error) {
  try {
    std::string text = ErrorBoxText(messages::TextOf(error));
    MessageBoxA(owner, text.c_str(), messages::kAppTitle, MB_OK | MB_ICONERROR);
  } catch (const std::bad_alloc&) {
    // Not even the text could be made: the fixed one, as it is.
    MessageBoxA(owner, messages::kOutOfMemory, messages::kAppTitle, MB_OK | MB_ICONERROR);
  }
}

}  // namespace quolvi
