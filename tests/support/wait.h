// Waiting in tests: messages are pumped while a condition is polled, until
// it holds or a deadline passes.
#pragma once

#include <functional>

namespace quolvi::test {

// Dispatches the messages waiting for this thread.
void PumpMessages();

// Pumps messages until condition() is true; false if it is not true after
// timeoutMs milliseconds.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);

}  // namespace quolvi::test
