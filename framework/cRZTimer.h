// cRZTimer: a stopwatch on the high-resolution counter, in microseconds,
// milliseconds or raw counter ticks; and the millisecond stamp on the
// program's millisecond clock. All interval arithmetic is 64-bit.
#pragma once

#include <cstdint>

class cRZTimer {
 public:
  enum Unit : uint32_t { kMicroseconds = 0, kMilliseconds = 1, kTicks = 2 };

  explicit cRZTimer(uint32_t unit = kMilliseconds);

  // Starts when stopped; a running timer goes on.
  void Start();
  // Adds the running interval to the total and stops.
  void Stop();
  // Stops and forgets the total.
  void Reset();
  // Reset and Start.
  void Restart();
  bool IsRunning() const { return mStart != 0; }

  // The total so far in the timer's unit; microseconds have the cost of
  // reading the counter taken off (never below 0).
  int64_t GetElapsed() const;

  // The measured cost of reading the counter, in microseconds.
  static int64_t CounterCost();

 private:
  uint32_t mUnit;
  int64_t mStart = 0;
  int64_t mAccumulated = 0;
  int64_t mFrequency;
};

// Three millisecond values from the program's millisecond clock.
struct cRZMilliStamp {
  uint32_t start = 0;
  uint32_t last = 0;
  uint32_t elapsed = 0;

  // value -1 takes the clock's time.
  void Reset(uint32_t value = 0xFFFFFFFFu);
};

// The stamp reset at start-up.
cRZMilliStamp& GlobalMilliStamp();
