#pragma once
// A live object's profiler: how long each of its ticks took, and per tick
// how often each primitive ran and for how long. The last 300 ticks are
// kept in a ring whose records are reused. Nothing is timed while
// suspended.

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "simulation/PrimitiveOpcode.h"

namespace tova {

class PrimProfiler {
 public:
  static constexpr int32_t kTickRecords = 300;
  // Microseconds of a stopwatch; the simulator's tick count.
  using Stopwatch = std::function<uint64_t()>;
  using TickSource = std::function<int32_t()>;

  struct Entry {
    int32_t opcode = 0;
    int32_t calls = 0;
    int32_t totalMicroseconds = 0;
    // The primitive's name ("kPrimExpression"); empty for a person's own
    // opcodes and the people's work slots.
    std::string_view Name() const { return PrimitiveOpcodeName(opcode); }
  };
  struct TickRecord {
    int32_t tick = 0;
    std::vector<Entry> entries;
  };

  // durations: the length of the tick-duration ring (at least 1).
  PrimProfiler(int32_t durations, TickSource ticks, Stopwatch stopwatch = {});

  void StartTick();
  void EndTick();
  void StartPrimitive(int32_t opcode);
  void StopPrimitive(int32_t opcode);
  // The people's own work timed in the negative slots -1 to -6, when the
  // object has a profiler.
  static void StartIfEnabled(PrimProfiler* profiler, int32_t slot) {
    if (profiler != nullptr) profiler->StartPrimitive(slot);
  }
  static void StopIfEnabled(PrimProfiler* profiler, int32_t slot) {
    if (profiler != nullptr) profiler->StopPrimitive(slot);
  }
  void SetSuspended(bool on) { suspended_ = on; }
  bool IsSuspended() const { return suspended_; }

  int32_t SamplesTaken() const { return samples_; }
  const std::vector<double>& Durations() const { return durations_; }
  // The record of sample n (n modulo the ring), or null before it exists.
  const TickRecord* RecordOf(int32_t sample) const;

 private:
  TickRecord& RecordAt(int32_t index);

  TickSource ticks_;
  Stopwatch stopwatch_;
  std::vector<double> durations_;
  std::vector<TickRecord> records_;
  uint64_t tickStart_ = 0;
  bool tickRunning_ = false;
  uint64_t primitiveStart_ = 0;
  bool primitiveRunning_ = false;
  int32_t samples_ = 0;
  bool suspended_ = false;
};

// A stopwatch's elapsed microseconds as a 32-bit figure: the largest signed
// 32-bit value when beyond it.
int32_t ClampMicroseconds(uint64_t elapsed);
// The performance counter in microseconds.
uint64_t PerfMicroseconds();

}  // namespace tova
