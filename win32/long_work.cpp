#include "win32/long_work.h"

#include <windows.h>

namespace quolvi {
namespace {

// Paint messages handled between two steps, at most: a window that does not
// validate what it was asked to paint must not keep the work waiting.
constexpr int kMaxPaintsPerStep = 64;

void PaintWaitingWindows() {
  MSG message;
  for (int i = 0; i < kMaxPaintsPerStep && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT); ++i) {
    DispatchMessageW(&message);
  }
}

}  // namespace

LongWork::LongWork(const ProgressReport& report, unsigned delayMs)
    : report_(report), start_(GetTickCount()), delayMs_(delayMs) {}

LongWork::~LongWork() {
  if (shown_ < 0 || !report_) return;
  try {
    report_(-1);
  } catch (...) {
    // Only the report of the end failed; the work itself is done.
  }
}

void LongWork::Reached(std::size_t done, std::size_t total) {
  if (!report_ || total == 0 || GetTickCount() - start_ < delayMs_) return;
  int percent = static_cast<int>(static_cast<std::uint64_t>(done) * 100 / total);
  if (percent == shown_) return;
  shown_ = percent;
  report_(percent);
  PaintWaitingWindows();
}

}  // namespace quolvi
