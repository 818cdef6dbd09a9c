#pragma once
// The simulation's clock, speed and money, and the run loop that drives the
// lot's objects: each frame pays for as many fixed-length ticks as the real
// time since the last frame allows; a tick runs the object pass and moves
// the game clock on by two seconds. The 32 globals trees read as owner 6
// live here. Time comes from injected clocks, so tests drive it by hand.

#include <array>
#include <cstdint>
#include <functional>

#include "gamedata/Commander.h"
#include "gamedata/LotInterfaces.h"
#include "resfile/ReconStream.h"

namespace tova {

class ObjectModule;
class cXObject;
class SimProfiler;
class ObjectErrorReport;

// Simulator globals with a fixed meaning.
enum SimGlobal : int32_t {
  kSimHour = 0,
  kSimDay = 1,
  kSimCommand249 = 2,
  kSimCommand228 = 3,
  kSimTimeOfDay = 4,
  kSimMinute = 5,
  kSimSecond = 6,
  kSimMonth = 7,
  kSimYear = 8,
  kSimFamily = 9,
  kSimRestrictA = 10,
  kSimStopRequest = 11,
  kSimFundsLow = 13,
  kSimFundsHigh = 14,
  kSimLanguage = 15,
  kSimSpeed = 16,
  kSimPaused = 17,
  kSimSavedSpeed = 18,
  kSimRestrictB = 19,
  kSimLotFlag = 22,
  kSimWorldSize = 23,
  kSimKeptOnLoad = 25,
  kSimTutorial = 26,
  kSimDayCount = 28,
  kSimDaysInMonth = 29,
  kSimFreeWill = 30,
  kSimGlobalCall14 = 31,
};

// The version the simulator's record is written at.
constexpr int32_t kSimulatorVersion = 62;
constexpr int32_t kSimStatisticTypes = 8;
constexpr int32_t kSimStatisticDays = 6;  // five previous days, then today

class cSimulator : public Commander, public iLotSimulator {
 public:
  // Milliseconds of the global clock (wrapping at 32 bits), microseconds of
  // a stopwatch, and whether a message waits in the thread's queue.
  using MillisecondClock = std::function<uint32_t()>;
  using MicrosecondClock = std::function<uint64_t()>;
  using MessageWaiting = std::function<bool()>;
  // The neighbourhood's daily lot statistics.
  using NewDayHook = std::function<void()>;

  cSimulator();
  ~cSimulator() override;

  void SetClock(MillisecondClock clock) { clock_ = std::move(clock); }
  void SetStopwatch(MicrosecondClock stopwatch) { stopwatch_ = std::move(stopwatch); }
  void SetMessageWaiting(MessageWaiting waiting) { messageWaiting_ = std::move(waiting); }
  void SetNewDayHook(NewDayHook hook) { newDay_ = std::move(hook); }
  void SetErrorReport(ObjectErrorReport* report) { report_ = report; }
  void SetProfiler(SimProfiler* profiler) { profiler_ = profiler; }
  SimProfiler* GetProfiler() const { return profiler_; }

  // The objects to run; the simulator's globals are handed to them.
  void SetObjectModule(ObjectModule* module);
  ObjectModule* GetObjectModule() const { return module_; }

  void Reset(ObjectModule* module);
  void RunFrame();
  bool Tick();
  bool RunObjectPass();

  void SetSpeed(int32_t speed);
  int32_t GetSpeed() const { return globals_[kSimSpeed]; }
  void BeginSpeedOverride(int32_t speed);
  void EndSpeedOverride();
  bool IsSpeedOverridden() const { return globals_[kSimSavedSpeed] != -1; }
  int32_t GetSavedSpeed() const { return globals_[kSimSavedSpeed]; }
  void Pause();
  void Unpause();
  bool IsPaused() const { return globals_[kSimPaused] != 0; }
  int32_t GetTickPeriod() const { return tickPeriod_; }
  static int32_t PeriodForSpeed(int32_t speed);
  static int32_t SpeedForPeriod(int32_t period);

  void SetHour(int32_t hour);
  int32_t GetTimeOfDay() const { return TimeOfDayFor(globals_[kSimHour]); }
  static int32_t TimeOfDayFor(int32_t hour);

  int32_t GetFunds() const { return fundsBase_ + fundsPending_; }
  void SetFunds(int32_t value);
  void AddToStatistic(int32_t type, int32_t amount);
  void ClearStatistics();
  // Day 0 is today, 1 yesterday ... 5 five days ago.
  int32_t GetStatistic(int32_t day, int32_t type) const;
  int32_t GetDayCount() const { return globals_[kSimDayCount]; }

  int16_t GetGlobal(int32_t index) const override;
  void SetGlobal(int32_t index, int16_t value) override;
  int16_t* Globals() { return globals_.data(); }
  int32_t GetTickCount() const { return tickCount_; }
  int32_t GetMillisecondsPerTick() const { return msPerTick_; }
  uint32_t GetSimulationSeed() const { return simSeed_; }
  void SetSimulationSeed(uint32_t seed) { simSeed_ = seed; }
  int16_t GetResumeIndex() const { return resumeIndex_; }

  // Figures C, A and B of the lot's worth.
  int32_t GetFigure(int32_t n) const override { return n >= 0 && n < 3 ? figures_[static_cast<size_t>(n)] : 0; }
  void SetFigure(int32_t n, int32_t value) override {
    if (n >= 0 && n < 3) figures_[static_cast<size_t>(n)] = value;
  }
  enum : int32_t { kFigureC = 0, kFigureA = 1, kFigureB = 2 };

  // Console switches: a frame's time limit in milliseconds (0 none) and
  // ending a frame when a message waits.
  void SetTimeLimit(int32_t milliseconds) { timeLimit_ = milliseconds; }
  void SetMessagePeek(bool on) { messagePeek_ = on; }
  // The console's stop flag: every run loop ends its frame after a tick
  // while it is on.
  static void SetStopFlag(bool on) { stopFlag_ = on; }
  // The game's free-will option (global 30 of the simulator given).
  static void SetFreeWillOption(int16_t value, cSimulator* current);

  int16_t DoCommand(int32_t command, intptr_t argument) override;

  // The saved state at the stream's version; a short record fails the stream.
  void Transfer(ReconStream& stream, int32_t version);
  void Reconstitute(ReconStream& stream, int32_t version) { Transfer(stream, version); }
  // The state as resource ('VUXI', id) of a lot file.
  int32_t LoadState(iResFile& file, int16_t id, int32_t* version) override;
  int32_t SaveState(iResFile& file, int16_t id, int32_t version) override;
  void ResetState() override { Reset(module_); }

 private:
  void StoreFundGlobals();
  void ClearAmounts();
  void ClearBudget() {
    accumulated_ = 0;
    lastRun_ = 0;
  }
  void AdvanceClock(int16_t& event, bool& classEvaluated);
  void ApplyOldSpeedWord();
  void SerializeStatistics(ReconStream& stream, int32_t version);

  std::array<int16_t, 32> globals_{};
  int32_t fundsBase_ = 0;
  int32_t fundsPending_ = 0;
  int32_t tickCount_ = 0;
  std::array<int32_t, 3> figures_{};
  int32_t msPerTick_ = 50;
  uint32_t simSeed_ = 0;
  ObjectModule* module_ = nullptr;
  SimProfiler* profiler_ = nullptr;
  ObjectErrorReport* report_ = nullptr;
  uint32_t lastRun_ = 0;
  int32_t accumulated_ = 0;
  int32_t tickPeriod_ = 42;
  int32_t timeLimit_ = 0;
  bool messagePeek_ = false;
  // [0..4] yesterday .. five days ago, [5] today.
  std::array<std::array<int32_t, kSimStatisticTypes>, kSimStatisticDays> statistics_{};
  int16_t resumeIndex_ = 0;
  bool inFrame_ = false;

  MillisecondClock clock_;
  MicrosecondClock stopwatch_;
  MessageWaiting messageWaiting_;
  NewDayHook newDay_;

  static inline bool stopFlag_ = false;
  static inline int16_t freeWill_ = 0;
};

}  // namespace tova
