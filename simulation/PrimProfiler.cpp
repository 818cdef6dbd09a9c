#include "simulation/PrimProfiler.h"

#include <algorithm>

#include "platform/Clock.h"

namespace tova {

int32_t ClampMicroseconds(uint64_t elapsed) {
  return elapsed > static_cast<uint64_t>(INT32_MAX) ? INT32_MAX : static_cast<int32_t>(elapsed);
}

uint64_t PerfMicroseconds() {
  return static_cast<uint64_t>(platform::MulDiv64(platform::PerfCounter(), 1000000, platform::PerfFrequency()));
}

PrimProfiler::PrimProfiler(int32_t durations, TickSource ticks, Stopwatch stopwatch)
    : ticks_(std::move(ticks)),
      stopwatch_(stopwatch ? std::move(stopwatch) : Stopwatch(PerfMicroseconds)),
      durations_(static_cast<size_t>(std::max(durations, 1)), 0.0) {}

PrimProfiler::TickRecord& PrimProfiler::RecordAt(int32_t index) {
  while (static_cast<int32_t>(records_.size()) <= index) records_.emplace_back();
  return records_[static_cast<size_t>(index)];
}

const PrimProfiler::TickRecord* PrimProfiler::RecordOf(int32_t sample) const {
  const int32_t index = ((sample % kTickRecords) + kTickRecords) % kTickRecords;
  return index < static_cast<int32_t>(records_.size()) ? &records_[static_cast<size_t>(index)] : nullptr;
}

void PrimProfiler::StartTick() {
  if (suspended_) return;
  TickRecord& record = RecordAt(samples_ % kTickRecords);
  record.entries.clear();
  record.tick = ticks_ ? ticks_() : 0;
  tickStart_ = stopwatch_();
  tickRunning_ = true;
}

void PrimProfiler::EndTick() {
  if (suspended_ || !tickRunning_) return;
  tickRunning_ = false;
  const int32_t elapsed = ClampMicroseconds(stopwatch_() - tickStart_);
  durations_[static_cast<size_t>(samples_) % durations_.size()] = elapsed;
  ++samples_;
}

void PrimProfiler::StartPrimitive(int32_t) {
  if (suspended_) return;
  primitiveStart_ = stopwatch_();
  primitiveRunning_ = true;
}

void PrimProfiler::StopPrimitive(int32_t opcode) {
  if (suspended_ || !primitiveRunning_) return;
  primitiveRunning_ = false;
  const int32_t elapsed = ClampMicroseconds(stopwatch_() - primitiveStart_);
  // A negative opcode belongs to the tick before the current one.
  const int32_t index = opcode < 0 ? (samples_ + kTickRecords - 1) % kTickRecords : samples_ % kTickRecords;
  TickRecord& record = RecordAt(index);
  auto it = std::find_if(record.entries.begin(), record.entries.end(),
                         [opcode](const Entry& e) { return e.opcode == opcode; });
  if (it == record.entries.end()) {
    record.entries.push_back({opcode, 0, 0});
    it = record.entries.end() - 1;
  }
  ++it->calls;
  const int64_t total = static_cast<int64_t>(it->totalMicroseconds) + elapsed;
  it->totalMicroseconds = total > INT32_MAX ? INT32_MAX : static_cast<int32_t>(total);
}

}  // namespace tova
