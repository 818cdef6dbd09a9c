#include "simulation/SimProfiler.h"

namespace tova {

SimProfiler::SimProfiler(PrimProfiler::Stopwatch stopwatch)
    : stopwatch_(stopwatch ? std::move(stopwatch) : PrimProfiler::Stopwatch(PerfMicroseconds)) {}

void SimProfiler::StartTick(int32_t tickCount) {
  const size_t index = static_cast<size_t>(ticksTimed_ % kTickRecords);
  while (records_.size() <= index) records_.emplace_back();
  TickRecord& record = records_[index];
  record.objects.clear();
  record.tick = tickCount;
  record.microseconds = 0;
  tickStart_ = stopwatch_();
  tickRunning_ = true;
}

void SimProfiler::EndTick() {
  if (!tickRunning_) return;
  tickRunning_ = false;
  records_[static_cast<size_t>(ticksTimed_ % kTickRecords)].microseconds = ClampMicroseconds(stopwatch_() - tickStart_);
  ++ticksTimed_;
}

void SimProfiler::StartObject(int16_t) {
  objectStart_ = stopwatch_();
  objectRunning_ = true;
}

void SimProfiler::StopObject(int16_t id) {
  if (!objectRunning_ || !tickRunning_) return;
  objectRunning_ = false;
  records_[static_cast<size_t>(ticksTimed_ % kTickRecords)].objects.push_back(
      {id, ClampMicroseconds(stopwatch_() - objectStart_)});
}

const SimProfiler::TickRecord* SimProfiler::RecordOf(int32_t tick) const {
  const size_t index = static_cast<size_t>(((tick % kTickRecords) + kTickRecords) % kTickRecords);
  return index < records_.size() ? &records_[index] : nullptr;
}

}  // namespace tova
