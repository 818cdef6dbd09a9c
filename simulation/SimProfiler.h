#pragma once
// The simulator's profiler: how long each tick took and each object's share
// of it, for the last 300 ticks, in a ring whose records are reused.

#include <cstdint>
#include <vector>

#include "simulation/PrimProfiler.h"

namespace tova {

class SimProfiler {
 public:
  static constexpr int32_t kTickRecords = 300;
  struct ObjectTime {
    int32_t object = 0;
    int32_t microseconds = 0;
  };
  struct TickRecord {
    std::vector<ObjectTime> objects;
    int32_t tick = 0;
    int32_t microseconds = 0;
  };

  explicit SimProfiler(PrimProfiler::Stopwatch stopwatch = {});

  void StartTick(int32_t tickCount);
  void EndTick();
  void StartObject(int16_t id);
  void StopObject(int16_t id);

  int32_t TicksTimed() const { return ticksTimed_; }
  // The record of timed tick n (n modulo the ring), or null before it exists.
  const TickRecord* RecordOf(int32_t tick) const;

 private:
  PrimProfiler::Stopwatch stopwatch_;
  std::vector<TickRecord> records_;
  uint64_t tickStart_ = 0;
  bool tickRunning_ = false;
  uint64_t objectStart_ = 0;
  bool objectRunning_ = false;
  int32_t ticksTimed_ = 0;
};

}  // namespace tova
