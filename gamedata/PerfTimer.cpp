#include "gamedata/PerfTimer.h"

#include <limits>

#include "platform/Clock.h"

namespace tova {

PerfTimer::PerfTimer() : PerfTimer(platform::PerfCounter, platform::PerfFrequency()) {}

PerfTimer::PerfTimer(Counter counter, int64_t frequency) : counter_(std::move(counter)), frequency_(frequency) {}

void PerfTimer::Start() {
  start_ = counter_();
  running_ = true;
}

void PerfTimer::Stop() {
  if (!running_) return;
  interval_ = counter_() - start_;
  running_ = false;
}

int64_t PerfTimer::GetElapsedMicroseconds() const {
  const int64_t counts = running_ ? counter_() - start_ : interval_;
  // A 128-bit intermediate: counts x 1,000,000 overflows 64 bits after a
  // few hours of a nanosecond counter.
  return platform::MulDiv64(counts, 1000000, frequency_);
}

int32_t PerfTimer::ShowAs32(int64_t value) {
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
    return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value);
}

}  // namespace tova
