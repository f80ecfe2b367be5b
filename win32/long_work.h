// Work long enough for the user to notice it, done in steps on the window's
// own thread: from half a second on it says how far it has come and lets the
// windows paint between steps, while input waits in the queue until the work
// is done, so no command can start in the middle of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace quolvi {

// Told the share done, in per cent, and once -1 when work that was reported
// has ended.
using ProgressReport = std::function<void(int percent)>;

class LongWork {
 public:
  static constexpr unsigned kNoticeableMs = 500;

  // Reports from delayMs on.
  explicit LongWork(const ProgressReport& report, unsigned delayMs = kNoticeableMs);
  ~LongWork();
  LongWork(const LongWork&) = delete;
  LongWork& operator=(const LongWork&) = delete;

  // After each step: done of total units of work are done.
  void Reached(std::size_t done, std::size_t total);

 private:
  const ProgressReport& report_;
  std::uint32_t start_;  // the tick count it began at
  unsigned delayMs_;
  int shown_ = -1;  // the share last reported
};

}  // namespace quolvi
