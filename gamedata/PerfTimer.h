#pragma once
// A stopwatch on the performance counter, in microseconds. The counter and
// its frequency can be supplied, so tests run it on a manual count.

#include <cstdint>
#include <functional>

namespace tova {

class PerfTimer {
 public:
  using Counter = std::function<int64_t()>;
  // The platform's counter and frequency.
  PerfTimer();
  PerfTimer(Counter counter, int64_t frequency);

  void Start();
  void Stop();
  bool IsRunning() const { return running_; }
  // While running: since the start; when stopped: the measured interval.
  int64_t GetElapsedMicroseconds() const;
  // The elapsed microseconds as a signed 32-bit value: 2147483647 when they
  // do not fit.
  int32_t GetElapsedMicroseconds32() const { return ShowAs32(GetElapsedMicroseconds()); }
  static int32_t ShowAs32(int64_t value);

 private:
  Counter counter_;
  int64_t frequency_ = 0;
  int64_t start_ = 0;
  int64_t interval_ = 0;
  bool running_ = false;
};

}  // namespace tova
