#include "simulation/cSimulator.h"

#include <algorithm>

#include "gamedata/GlobalContext.h"
#include "gamedata/SimRandom.h"
#include "platform/Clock.h"
#include "resfile/ReconObject.h"
#include "resfile/TypeCode.h"
#include "simulation/ObjectErrorReport.h"
#include "simulation/ObjectModule.h"
#include "simulation/PrimProfiler.h"
#include "simulation/SimProfiler.h"
#include "simulation/cXObject.h"

namespace tova {

namespace {

constexpr int16_t kCmdNewDay = 220;
constexpr int16_t kCmdTimeOfDay = 221;
constexpr int16_t kCmdReset = 209;
constexpr int16_t kCmdAddFunds = 222;
constexpr int32_t kDaysInMonth = 30;
constexpr int32_t kMaxCatchUpPeriods = 60;

}  // namespace

cSimulator::cSimulator()
    : clock_([] { return platform::TimeMs(); }), stopwatch_(PerfMicroseconds) {
  globals_[kSimSavedSpeed] = -1;
}

cSimulator::~cSimulator() {
  if (module_ != nullptr && module_->GetGlobals() == globals_.data()) module_->SetGlobals(nullptr);
}

void cSimulator::SetObjectModule(ObjectModule* module) {
  if (module_ != nullptr && module_->GetGlobals() == globals_.data()) module_->SetGlobals(nullptr);
  module_ = module;
  if (module_ != nullptr) module_->SetGlobals(globals_.data());
}

int32_t cSimulator::PeriodForSpeed(int32_t speed) {
  return static_cast<int32_t>(172.0 - speed * 0.001 * 171.0 + 0.5);
}

int32_t cSimulator::SpeedForPeriod(int32_t period) {
  return static_cast<int32_t>((172.0 - period) / 171.0 * 1000.0 + 0.5);
}

int32_t cSimulator::TimeOfDayFor(int32_t hour) {
  if (hour >= 7 && hour <= 17) return 0;
  if (hour == 18) return 1;
  if (hour == 6) return 3;
  return 2;
}

void cSimulator::Reset(ObjectModule* module) {
  SetObjectModule(module);
  globals_.fill(0);
  resumeIndex_ = 0;
  tickCount_ = 0;
  fundsBase_ = 2000;
  fundsPending_ = 0;
  msPerTick_ = 50;
  globals_[kSimHour] = 1;
  globals_[kSimDay] = 15;
  globals_[kSimMinute] = 0;
  globals_[kSimMonth] = 6;
  globals_[kSimYear] = 1997;
  globals_[kSimTimeOfDay] = static_cast<int16_t>(TimeOfDayFor(1));
  globals_[kSimSavedSpeed] = -1;
  globals_[kSimLanguage] = CurrentLanguage();
  simSeed_ = GetRandomSeed();
  SetSpeed(SpeedForPeriod(42));
}

void cSimulator::RunFrame() {
  // An error dialog's modal loop ticks the framework, which would run the
  // frame again over a half-reported object.
  if (inFrame_) return;
  inFrame_ = true;
  if (module_ != nullptr && module_->AnyPersonAwake()) {
    EndSpeedOverride();
  } else {
    BeginSpeedOverride(1000);
  }
  const uint32_t now = clock_();
  const int64_t cap = static_cast<int64_t>(tickPeriod_) * kMaxCatchUpPeriods;
  int64_t budget = accumulated_;
  if (lastRun_ != 0) {
    budget += static_cast<uint32_t>(now - lastRun_);
  } else {
    budget = tickPeriod_;
  }
  lastRun_ = now;
  accumulated_ = static_cast<int32_t>(std::min(budget, cap));
  const uint64_t started = timeLimit_ != 0 ? stopwatch_() : 0;
  while (tickPeriod_ > 0 && accumulated_ >= tickPeriod_) {
    accumulated_ -= tickPeriod_;
    Tick();
    if (messagePeek_ && messageWaiting_ && messageWaiting_()) break;
    if (timeLimit_ != 0) {
      const uint64_t elapsed = (stopwatch_() - started) / 1000;
      if (elapsed > UINT32_MAX || elapsed > static_cast<uint64_t>(timeLimit_)) break;
    }
    if (stopFlag_) break;
    if (globals_[kSimStopRequest] != 0) {
      globals_[kSimStopRequest] = 0;
      break;
    }
  }
  inFrame_ = false;
}

bool cSimulator::Tick() {
  const bool timing = profiler_ != nullptr && !IsPaused();
  if (timing) profiler_->StartTick(tickCount_);
  fundsBase_ += fundsPending_;
  fundsPending_ = 0;

  const uint32_t general = GetRandomSeed();
  SetRandomSeed(simSeed_);
  const bool completed = RunObjectPass();
  simSeed_ = GetRandomSeed();
  SetRandomSeed(general);

  int16_t event = 0;
  bool classEvaluated = false;
  if (completed) AdvanceClock(event, classEvaluated);
  if (module_ != nullptr) module_->ProcessDeletions(!completed);
  if (event != 0) Broadcast(event, 0);
  if (classEvaluated) {
    const int16_t now = static_cast<int16_t>(TimeOfDayFor(globals_[kSimHour]));
    if (now != globals_[kSimTimeOfDay]) {
      globals_[kSimTimeOfDay] = now;
      Broadcast(cmd::kTickOrConsole, 5);
      Broadcast(kCmdTimeOfDay, 0);
    }
  }
  if (timing) profiler_->EndTick();
  return completed;
}

void cSimulator::AdvanceClock(int16_t& event, bool& classEvaluated) {
  globals_[kSimSecond] = static_cast<int16_t>(globals_[kSimSecond] + 2);
  ++tickCount_;
  if (globals_[kSimSecond] < 60) return;
  globals_[kSimSecond] = static_cast<int16_t>(globals_[kSimSecond] - 60);
  ++globals_[kSimMinute];
  event = cmd::kHourSet;
  if (globals_[kSimMinute] < 60) return;
  globals_[kSimMinute] = static_cast<int16_t>(globals_[kSimMinute] - 60);
  ++globals_[kSimHour];
  classEvaluated = true;
  if (globals_[kSimHour] < 24) return;
  ++globals_[kSimDayCount];
  ++globals_[kSimDay];
  globals_[kSimHour] = static_cast<int16_t>(globals_[kSimHour] - 24);
  event = kCmdNewDay;
  if (module_ != nullptr) module_->OnNewDay();
  if (newDay_) newDay_();
  // Today (the last row) becomes yesterday (the first); the oldest drops.
  std::rotate(statistics_.rbegin(), statistics_.rbegin() + 1, statistics_.rend());
  statistics_[kSimStatisticDays - 1].fill(0);
  if (globals_[kSimDay] > kDaysInMonth) {
    ++globals_[kSimMonth];
    globals_[kSimDay] = 1;
    if (globals_[kSimMonth] > 12) {
      ++globals_[kSimYear];
      globals_[kSimMonth] = 1;
    }
    globals_[kSimDaysInMonth] = kDaysInMonth;
  }
}

bool cSimulator::RunObjectPass() {
  const bool restricted = IsPaused() || (globals_[kSimRestrictA] != 0 && globals_[kSimRestrictB] != 0);
  if (module_ != nullptr) {
    if (resumeIndex_ == 0) resumeIndex_ = 1;
    for (; resumeIndex_ <= module_->IdCount(); ++resumeIndex_) {
      const int16_t id = resumeIndex_;
      cXObject* o = module_->GetObjectById(id);
      if (o == nullptr) continue;
      const uint32_t word = module_->GetSchedulerWord(id);
      const uint32_t state = word >> 16;
      if ((state & kSchedInError) != 0) {
        if (o->GetErrorCode() != 0) {
          if (report_ != nullptr) report_->ReportError(*o);
          return false;
        }
        module_->SetStateBits(id, kSchedInError, false);
      }
      if ((state & kSchedActive) == 0 || (restricted && (state & kSchedWord60) == 0)) continue;
      const int16_t countdown = static_cast<int16_t>(word & 0xFFFF);
      if (countdown >= 1) {
        module_->SetCountdown(id, static_cast<uint16_t>(countdown - 1));
        continue;
      }
      const bool profiled = profiler_ != nullptr && !IsPaused();
      if (profiled) profiler_->StartObject(id);
      const bool ran = o->Tick();
      if (profiled) profiler_->StopObject(id);
      if (!ran) return false;
      if (o->GetErrorCode() != 0) {
        if (report_ != nullptr) report_->ReportError(*o);
        return false;
      }
    }
  }
  resumeIndex_ = 0;
  return !restricted;
}

void cSimulator::SetSpeed(int32_t speed) {
  speed = std::clamp(speed, 0, 1000);
  globals_[kSimSpeed] = static_cast<int16_t>(speed);
  tickPeriod_ = PeriodForSpeed(speed);
  ClearBudget();
  if (IsSpeedOverridden()) globals_[kSimSavedSpeed] = static_cast<int16_t>(speed);
  Broadcast(cmd::kSpeedChanged, 0);
}

void cSimulator::BeginSpeedOverride(int32_t speed) {
  if (IsSpeedOverridden()) return;
  ClearBudget();
  const int16_t keep = globals_[kSimSpeed];
  SetSpeed(speed);
  globals_[kSimSavedSpeed] = keep;
  Broadcast(cmd::kSpeedOverride, 1);
}

void cSimulator::EndSpeedOverride() {
  if (!IsSpeedOverridden()) return;
  ClearBudget();
  const int16_t restore = globals_[kSimSavedSpeed];
  globals_[kSimSavedSpeed] = -1;
  SetSpeed(restore);
  Broadcast(cmd::kSpeedOverride, 0);
}

void cSimulator::Pause() {
  if (IsPaused()) return;
  globals_[kSimPaused] = 1;
  Broadcast(cmd::kSpeedChanged, 0);
}

void cSimulator::Unpause() {
  if (!IsPaused()) return;
  globals_[kSimPaused] = 0;
  Broadcast(cmd::kSpeedChanged, 0);
  ClearBudget();
}

void cSimulator::SetHour(int32_t hour) {
  globals_[kSimMinute] = 0;
  globals_[kSimHour] = static_cast<int16_t>(hour);
  Broadcast(cmd::kHourSet, 0);
  const int16_t now = static_cast<int16_t>(TimeOfDayFor(hour));
  if (now != globals_[kSimTimeOfDay]) {
    globals_[kSimTimeOfDay] = now;
    Broadcast(kCmdTimeOfDay, 0);
  }
}

void cSimulator::StoreFundGlobals() {
  const int32_t funds = GetFunds();
  globals_[kSimFundsLow] = static_cast<int16_t>(funds % 10000);
  globals_[kSimFundsHigh] = static_cast<int16_t>(funds / 10000);
}

void cSimulator::SetFunds(int32_t value) {
  fundsPending_ = value - fundsBase_;
  StoreFundGlobals();
  Broadcast(cmd::kClockOrStatistic, value);
}

void cSimulator::AddToStatistic(int32_t type, int32_t amount) {
  fundsPending_ -= amount;
  if (type >= 0 && type < kSimStatisticTypes) statistics_[kSimStatisticDays - 1][static_cast<size_t>(type)] += amount;
  StoreFundGlobals();
  Broadcast(cmd::kClockOrStatistic, GetFunds());
}

void cSimulator::ClearAmounts() {
  for (auto& day : statistics_) day.fill(0);
}

void cSimulator::ClearStatistics() {
  ClearAmounts();
  globals_[kSimDayCount] = 0;
}

int32_t cSimulator::GetStatistic(int32_t day, int32_t type) const {
  if (day < 0 || day >= kSimStatisticDays || type < 0 || type >= kSimStatisticTypes) return 0;
  const size_t row = day == 0 ? kSimStatisticDays - 1 : static_cast<size_t>(day - 1);
  return statistics_[row][static_cast<size_t>(type)];
}

int16_t cSimulator::GetGlobal(int32_t index) const {
  return index >= 0 && index < 32 ? globals_[static_cast<size_t>(index)] : 0;
}

void cSimulator::SetGlobal(int32_t index, int16_t value) {
  if (index >= 0 && index < 32) globals_[static_cast<size_t>(index)] = value;
}

void cSimulator::SetFreeWillOption(int16_t value, cSimulator* current) {
  freeWill_ = value;
  if (current != nullptr) current->globals_[kSimFreeWill] = value;
}

int16_t cSimulator::DoCommand(int32_t command, intptr_t argument) {
  switch (static_cast<int16_t>(command)) {
    case cmd::kObjectRemoving:
      if (argument == resumeIndex_) ++resumeIndex_;
      return 1;
    case kCmdReset:
      Reset(module_);
      return 1;
    case kCmdAddFunds:
      SetFunds(GetFunds() + static_cast<int32_t>(argument));
      return 1;
    case cmd::kSelectedPersonChanged:
      globals_[kSimCommand228] = static_cast<int16_t>(argument);
      return 1;
    case cmd::kZoomChanged:
      globals_[kSimCommand249] = static_cast<int16_t>(argument);
      return 1;
    default:
      return 0;
  }
}

void cSimulator::ApplyOldSpeedWord() {
  const int16_t word = globals_[kSimSpeed];
  int32_t period = 42;
  switch (word) {
    case 1: period = 168; break;
    case 3: period = 10; break;
    case 4: period = 2; break;
    default: break;
  }
  globals_[kSimSpeed] = static_cast<int16_t>(SpeedForPeriod(period));
  globals_[kSimPaused] = word == 0 ? 1 : 0;
  globals_[kSimSavedSpeed] = -1;
}

void cSimulator::SerializeStatistics(ReconStream& stream, int32_t version) {
  // Today's block first, then the five previous days, yesterday first.
  static constexpr size_t kOrder[kSimStatisticDays] = {5, 0, 1, 2, 3, 4};
  for (size_t row : kOrder) {
    int32_t flag = 1;
    stream.SerializeLongs(&flag, 1);
    const int32_t count = flag == 0 ? kSimStatisticTypes - 1 : kSimStatisticTypes;
    stream.SerializeLongs(statistics_[row].data(), count);
    if (stream.Failed()) return;
  }
  if (stream.IsReading() && version < 52) ClearAmounts();
}

void cSimulator::Transfer(ReconStream& stream, int32_t version) {
  const bool reading = stream.IsReading();
  if (version > 17) {
    const int16_t kept = globals_[kSimKeptOnLoad];
    stream.SerializeShorts(globals_.data(), 32);
    if (reading) {
      globals_[kSimKeptOnLoad] = kept;
      globals_[kSimLanguage] = CurrentLanguage();
    }
  } else {
    stream.SerializeShorts(globals_.data(), 16);
    int32_t speed = globals_[kSimSpeed];
    stream.SerializeLongs(&speed, 1);
    if (reading) globals_[kSimSpeed] = static_cast<int16_t>(speed & 0xFFFF);
  }
  stream.SerializeLongs(&tickCount_, 1);
  stream.SerializeShorts(&resumeIndex_, 1);
  if (version > 1) stream.SerializeLongs(&fundsBase_, 1);
  if (reading && version < 6) {
    globals_[kSimMinute] = 0;
    fundsBase_ += 2000;
    globals_[kSimHour] = 1;
    globals_[kSimDay] = 15;
    globals_[kSimMonth] = 6;
    globals_[kSimYear] = 1997;
  }
  if (version > 13) {
    stream.SerializeLongs(&simSeed_, 1);
    uint32_t general = GetRandomSeed();
    stream.SerializeLongs(&general, 1);
    if (reading && !stream.Failed()) SetRandomSeed(general);
  }
  if (version >= 15) {
    stream.SerializeLongs(&fundsPending_, 1);
  } else if (reading) {
    fundsPending_ = 0;
  }
  if (stream.Failed()) return;
  if (reading && version <= 16) {
    globals_[kSimHour] = 5;
    globals_[kSimMinute] = 55;
    globals_[kSimTimeOfDay] = static_cast<int16_t>(TimeOfDayFor(5));
    SetFunds(fundsBase_);
  }
  if (reading && version <= 20) ApplyOldSpeedWord();
  if (version >= 37) {
    stream.SerializeLongs(figures_.data(), 3);
  } else if (reading) {
    figures_ = {4500, 0, 0};
  }
  if (version > 37) {
    SerializeStatistics(stream, version);
  } else if (reading) {
    ClearAmounts();
  }
  if (!reading || stream.Failed()) return;
  ClearBudget();
  SetSpeed(globals_[kSimSpeed]);
  globals_[kSimDaysInMonth] = kDaysInMonth;
  globals_[kSimFreeWill] = freeWill_;
}

int32_t cSimulator::LoadState(iResFile& file, int16_t id, int32_t* version) {
  SimpleReconObject<cSimulator> record(this, TypeCode("VUXI"));
  return ReconObject::LoadFromResFile(record, file, id, version);
}

int32_t cSimulator::SaveState(iResFile& file, int16_t id, int32_t version) {
  SimpleReconObject<cSimulator> record(this, TypeCode("VUXI"));
  return ReconObject::SaveToResFile(record, version, file, id);
}

}  // namespace tova
