// The box in which the program reports an error that ended a command, the
// handling of a message or start-up.
#pragma once

#include <windows.h>

#include <exception>

namespace quolvi {

// Shows what is known of error in the program's own words (MB_ICONERROR,
// caption "Quolvi"), owned by owner (null: no window yet); when not even
// the words can be made, the fixed words for lack of memory.
void ShowErrorBox(HWND owner, std::exception_ptr error);

}  // namespace quolvi
