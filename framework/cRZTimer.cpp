#include "framework/cRZTimer.h"

#include <algorithm>
#include <atomic>

#include "platform/Clock.h"

namespace {

std::atomic<int64_t> gCounterCost{0};
std::atomic<bool> gCalibrated{false};

void Calibrate() {
  if (gCalibrated.exchange(true)) return;
  // Two readings of the counter, twice; the mean is the cost of one reading.
  const int64_t frequency = platform::PerfFrequency();
  int64_t total = 0;
  for (int i = 0; i < 2; ++i) {
    const int64_t a = platform::PerfCounter();
    const int64_t b = platform::PerfCounter();
    total += platform::MulDiv64(b - a, 1000000, frequency);
  }
  gCounterCost.store(total / 2);
}

int64_t ReadCounter() {
  // 0 means "stopped": a counter that reads 0 is taken as 1.
  const int64_t now = platform::PerfCounter();
  return now != 0 ? now : 1;
}

}  // namespace

cRZTimer::cRZTimer(uint32_t unit) : mUnit(unit), mFrequency(platform::PerfFrequency()) { Calibrate(); }

void cRZTimer::Start() {
  if (mStart == 0) mStart = ReadCounter();
}

void cRZTimer::Stop() {
  if (mStart == 0) return;
  mAccumulated += ReadCounter() - mStart;
  mStart = 0;
}

void cRZTimer::Reset() {
  mStart = 0;
  mAccumulated = 0;
}

void cRZTimer::Restart() {
  Reset();
  Start();
}

int64_t cRZTimer::GetElapsed() const {
  int64_t ticks = mAccumulated;
  if (mStart != 0) ticks += ReadCounter() - mStart;
  switch (mUnit) {
    case kMicroseconds:
      return std::max<int64_t>(0, platform::MulDiv64(ticks, 1000000, mFrequency) - gCounterCost.load());
    case kMilliseconds:
      return platform::MulDiv64(ticks, 1000, mFrequency);
    default:
      return ticks;
  }
}

int64_t cRZTimer::CounterCost() {
  Calibrate();
  return gCounterCost.load();
}

void cRZMilliStamp::Reset(uint32_t value) {
  if (value == 0xFFFFFFFFu) value = platform::TimeMs();
  start = last = value;
  elapsed = 0;
}

cRZMilliStamp& GlobalMilliStamp() {
  static cRZMilliStamp stamp = [] {
    cRZMilliStamp s;
    s.Reset();
    return s;
  }();
  return stamp;
}
