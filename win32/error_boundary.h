// Error boundaries: the places where code that may throw is called by code
// that cannot be unwound (the system's, which calls a window procedure) or
// that must go on (start-up, the message loop). What escapes the work ends
// it there and is reported; a report that fails as well (no memory for its
// words, say) is swallowed, for nothing more can be done than to go on.
#pragma once

#include <exception>
#include <utility>

namespace quolvi {

// Runs work(); an error that escapes it is handed to report(error). Returns
// whether work ran to its end.
template <class Work, class Report>
bool RunAtBoundary(Work&& work, Report&& report) noexcept {
  try {
    std::forward<Work>(work)();
    return true;
  } catch (...) {
    try {
      std::forward<Report>(report)(std::current_exception());
    } catch (...) {
      // The report failed too: nothing more can be done.
    }
    return false;
  }
}

}  // namespace quolvi
