// The simulator: the game clock's roll-overs and their broadcasts, the run
// loop's budget on a manual clock, speeds and the sleep override, the object
// pass (resuming, removal, errors, pausing) and the saved state of every
// layout it reads.
#include <gtest/gtest.h>

#include <vector>

#include "SimFixture.h"
#include "gamedata/GlobalContext.h"
#include "gamedata/RecordIO.h"
#include "gamedata/SimRandom.h"
#include "simulation/ObjectErrorReport.h"
#include "simulation/SimProfiler.h"
#include "simulation/cSimulator.h"

namespace {

using namespace tova;
using tova_test::SimFixture;

struct Heard {
  int32_t command;
  intptr_t argument;
  bool operator==(const Heard&) const = default;
};

// Hears the simulator's broadcasts.
class SimulatorListener : public Commander {
 public:
  int16_t DoCommand(int32_t command, intptr_t argument) override {
    const int16_t c = static_cast<int16_t>(command);
    if (c == 194 || c == 218 || c == 219 || c == 220 || c == 221 || c == 248 || c == 265) heard.push_back({c, argument});
    return 0;
  }
  std::vector<int32_t> Commands() const {
    std::vector<int32_t> out;
    for (const Heard& h : heard) out.push_back(h.command);
    return out;
  }
  std::vector<Heard> heard;
};

// An object whose tick is scripted: its answer, or an error code it raises.
class PassObject : public cXObject {
 public:
  using cXObject::cXObject;
  bool Tick() override {
    if (log != nullptr) log->push_back(GetId());
    if (raise != 0) {
      SetErrorCode(raise);
      OnError(raise);
    }
    return answer;
  }
  std::vector<int16_t>* log = nullptr;
  bool answer = true;
  int16_t raise = 0;
  bool person = false;
  bool IsPerson() const override { return person; }
};

class Simulator : public SimFixture {
 protected:
  void SetUp() override {
    SimFixture::SetUp();
    sim.SetClock([this] { return now; });
    sim.Reset(&module);
  }
  PassObject* Add(bool person = false) {
    PassObject* o = Make<PassObject>();
    o->log = &ran;
    o->person = person;
    return o;
  }
  void At(int h, int m, int s, int day = 15, int month = 6, int year = 1997) {
    sim.SetGlobal(kSimHour, static_cast<int16_t>(h));
    sim.SetGlobal(kSimMinute, static_cast<int16_t>(m));
    sim.SetGlobal(kSimSecond, static_cast<int16_t>(s));
    sim.SetGlobal(kSimDay, static_cast<int16_t>(day));
    sim.SetGlobal(kSimMonth, static_cast<int16_t>(month));
    sim.SetGlobal(kSimYear, static_cast<int16_t>(year));
    sim.SetGlobal(kSimTimeOfDay, static_cast<int16_t>(cSimulator::TimeOfDayFor(h)));
  }

  uint32_t now = 1000;
  std::vector<int16_t> ran;
  cSimulator sim;
};

TEST_F(Simulator, ResetStartsAtOneInTheMorningOfTheFifteenthOfJune) {
  EXPECT_EQ(sim.GetFunds(), 2000);
  EXPECT_EQ(sim.GetGlobal(kSimHour), 1);
  EXPECT_EQ(sim.GetGlobal(kSimDay), 15);
  EXPECT_EQ(sim.GetGlobal(kSimMonth), 6);
  EXPECT_EQ(sim.GetGlobal(kSimYear), 1997);
  EXPECT_EQ(sim.GetGlobal(kSimTimeOfDay), 2);
  EXPECT_EQ(sim.GetSpeed(), 760);
  EXPECT_EQ(sim.GetTickPeriod(), 42);
  EXPECT_FALSE(sim.IsSpeedOverridden());
  EXPECT_EQ(sim.GetMillisecondsPerTick(), 50);
  EXPECT_EQ(module.GetGlobals(), sim.Globals());
}

TEST_F(Simulator, LanguageAndFreeWillComeFromTheGame) {
  GlobalContext context;
  context.language = 5;
  gGlobalContext = &context;
  sim.Reset(&module);
  EXPECT_EQ(sim.GetGlobal(kSimLanguage), 5);
  cSimulator::SetFreeWillOption(1, &sim);
  EXPECT_EQ(sim.GetGlobal(kSimFreeWill), 1);
  const std::vector<uint8_t> bytes = WritePlain([&](ReconStream& out) { sim.Transfer(out, kSimulatorVersion); });
  context.language = 6;
  cSimulator read;
  ASSERT_TRUE(ReadPlain(bytes, [&](ReconStream& in) { read.Transfer(in, kSimulatorVersion); }));
  EXPECT_EQ(read.GetGlobal(kSimLanguage), 6);
  EXPECT_EQ(read.GetGlobal(kSimFreeWill), 1);
  gGlobalContext = nullptr;
  cSimulator::SetFreeWillOption(0, nullptr);
}

TEST_F(Simulator, ClockRollOvers) {
  struct Case {
    int h, m, s, day, month, year;
    int wantH, wantM, wantDay, wantMonth, wantYear;
    std::vector<int32_t> events;
  };
  const Case cases[] = {
      {10, 0, 0, 15, 6, 1997, 10, 0, 15, 6, 1997, {}},
      {10, 0, 58, 15, 6, 1997, 10, 1, 15, 6, 1997, {219}},
      {23, 59, 58, 5, 6, 1997, 0, 0, 6, 6, 1997, {220}},
      {23, 59, 58, 30, 6, 1997, 0, 0, 1, 7, 1997, {220}},
      {23, 59, 58, 30, 12, 1997, 0, 0, 1, 1, 1998, {220}},
      {17, 59, 58, 15, 6, 1997, 18, 0, 15, 6, 1997, {219, 248, 221}},
  };
  for (const Case& c : cases) {
    At(c.h, c.m, c.s, c.day, c.month, c.year);
    const int32_t ticks = sim.GetTickCount();
    SimulatorListener listener;
    EXPECT_TRUE(sim.Tick());
    EXPECT_EQ(sim.GetTickCount(), ticks + 1);
    EXPECT_EQ(sim.GetGlobal(kSimHour), c.wantH) << c.h << ":" << c.m << ":" << c.s;
    EXPECT_EQ(sim.GetGlobal(kSimMinute), c.wantM);
    EXPECT_EQ(sim.GetGlobal(kSimDay), c.wantDay);
    EXPECT_EQ(sim.GetGlobal(kSimMonth), c.wantMonth);
    EXPECT_EQ(sim.GetGlobal(kSimYear), c.wantYear);
    EXPECT_EQ(listener.Commands(), c.events) << c.h << ":" << c.m << ":" << c.s;
  }
  // The dusk tick tells the class change with argument 5.
  At(17, 59, 58);
  SimulatorListener listener;
  sim.Tick();
  ASSERT_EQ(listener.heard.size(), 3u);
  EXPECT_EQ(listener.heard[1], (Heard{248, 5}));
  EXPECT_EQ(sim.GetGlobal(kSimTimeOfDay), 1);
}

TEST_F(Simulator, ADayChangeAgesTheStatistics) {
  sim.AddToStatistic(3, 100);
  EXPECT_EQ(sim.GetFunds(), 1900);
  EXPECT_EQ(sim.GetGlobal(kSimFundsLow), 1900);
  At(23, 59, 58);
  sim.Tick();
  EXPECT_EQ(sim.GetStatistic(0, 3), 0);
  EXPECT_EQ(sim.GetStatistic(1, 3), 100);
  EXPECT_EQ(sim.GetDayCount(), 1);
  for (int day = 0; day < 5; ++day) {
    At(23, 59, 58);
    sim.Tick();
  }
  EXPECT_EQ(sim.GetStatistic(5, 3), 0) << "dropped after five days";
}

TEST_F(Simulator, FundsAndCommands) {
  sim.SetFunds(123456);
  EXPECT_EQ(sim.GetGlobal(kSimFundsLow), 3456);
  EXPECT_EQ(sim.GetGlobal(kSimFundsHigh), 12);
  Broadcast(222, 44);
  EXPECT_EQ(sim.GetFunds(), 123500);
  Broadcast(228, 7);
  Broadcast(249, 9);
  EXPECT_EQ(sim.GetGlobal(3), 7);
  EXPECT_EQ(sim.GetGlobal(2), 9);
  sim.Tick();
  EXPECT_EQ(sim.GetFunds(), 123500);
  Broadcast(209, 0);
  EXPECT_EQ(sim.GetFunds(), 2000);
  EXPECT_EQ(sim.GetTickCount(), 0);
}

TEST_F(Simulator, SpeedsAndPeriods) {
  struct Case {
    int32_t speed, period;
  };
  for (const Case& c : {Case{0, 172}, Case{1000, 1}, Case{760, 42}, Case{947, 10}, Case{23, 168}, Case{994, 2}}) {
    sim.SetSpeed(c.speed);
    EXPECT_EQ(sim.GetTickPeriod(), c.period) << c.speed;
    EXPECT_EQ(cSimulator::SpeedForPeriod(c.period), c.speed);
  }
  sim.SetSpeed(5000);
  EXPECT_EQ(sim.GetSpeed(), 1000);
  sim.SetSpeed(-3);
  EXPECT_EQ(sim.GetSpeed(), 0);
}

TEST_F(Simulator, OneFrameRunsAtMostSixtyTicksAfterAStall) {
  Add(true);
  sim.RunFrame();
  EXPECT_EQ(sim.GetSpeed(), 760) << "a person is awake";
  EXPECT_EQ(sim.GetTickCount(), 1) << "the first frame pays one period";
  now += 10'000'000;
  sim.RunFrame();
  EXPECT_EQ(sim.GetTickCount(), 61);
  now += 84;
  sim.RunFrame();
  EXPECT_EQ(sim.GetTickCount(), 63);
}

TEST_F(Simulator, TheMillisecondClockWraps) {
  Add(true);
  sim.SetSpeed(1000);
  now = 0xFFFFFFF0u;
  sim.RunFrame();
  EXPECT_EQ(sim.GetTickCount(), 1);
  now = 0x10;  // 32 ms later
  sim.RunFrame();
  EXPECT_EQ(sim.GetTickCount(), 33);
}

TEST_F(Simulator, SpeedsZeroAndAThousandOverAFrame) {
  Add(true);
  sim.SetSpeed(0);
  sim.RunFrame();
  now += 171;
  sim.RunFrame();
  EXPECT_EQ(sim.GetTickCount(), 1);
  now += 1;
  sim.RunFrame();
  EXPECT_EQ(sim.GetTickCount(), 2);
  sim.SetSpeed(1000);
  sim.RunFrame();
  now += 20;
  sim.RunFrame();
  EXPECT_EQ(sim.GetTickCount(), 23);
}

TEST_F(Simulator, NobodyAwakeRunsAtAThousandAndRestoresTheSpeedSetMeanwhile) {
  SimulatorListener listener;
  sim.RunFrame();  // an empty lot: nobody is awake
  EXPECT_TRUE(sim.IsSpeedOverridden());
  EXPECT_EQ(sim.GetSpeed(), 1000);
  EXPECT_EQ(sim.GetSavedSpeed(), 760);
  EXPECT_NE(std::find(listener.heard.begin(), listener.heard.end(), Heard{265, 1}), listener.heard.end());
  sim.BeginSpeedOverride(5);
  EXPECT_EQ(sim.GetSpeed(), 1000) << "a second override is ignored";
  sim.SetSpeed(300);
  EXPECT_EQ(sim.GetSavedSpeed(), 300);
  Add(true);
  sim.RunFrame();
  EXPECT_FALSE(sim.IsSpeedOverridden());
  EXPECT_EQ(sim.GetSpeed(), 300);
  EXPECT_NE(std::find(listener.heard.begin(), listener.heard.end(), Heard{265, 0}), listener.heard.end());
}

TEST_F(Simulator, StopRequestEndsTheFrame) {
  Add(true);
  sim.RunFrame();
  now += 42 * 10;
  sim.SetGlobal(kSimStopRequest, 1);
  sim.RunFrame();
  EXPECT_EQ(sim.GetTickCount(), 2);
  EXPECT_EQ(sim.GetGlobal(kSimStopRequest), 0);
  sim.SetMessagePeek(true);
  sim.SetMessageWaiting([] { return true; });
  now += 42 * 10;
  sim.RunFrame();
  EXPECT_EQ(sim.GetTickCount(), 3);
  sim.SetMessagePeek(false);
  uint64_t us = 0;
  sim.SetStopwatch([&us] { return us += 3000; });
  sim.SetTimeLimit(5);
  now += 42 * 10;
  sim.RunFrame();
  EXPECT_EQ(sim.GetTickCount(), 5) << "the second tick's check passes 5 ms";
  // An elapsed time beyond 32 bits of milliseconds counts as exceeded, even
  // against the largest limit.
  sim.SetStopwatch([&us] { return us += (1ull << 43); });
  sim.SetTimeLimit(INT32_MAX);
  now += 42 * 10;
  sim.RunFrame();
  EXPECT_EQ(sim.GetTickCount(), 6);
}

TEST_F(Simulator, APassResumesWhereItStoppedAndSkipsARemovedObject) {
  PassObject* a = Add();
  PassObject* b = Add();
  Add();
  Add();
  b->answer = false;
  EXPECT_FALSE(sim.Tick());
  EXPECT_EQ(ran, (std::vector<int16_t>{1, 2}));
  EXPECT_EQ(sim.GetTickCount(), 0) << "the clock waits for the pass";
  EXPECT_EQ(sim.GetResumeIndex(), 2);
  a->answer = false;  // not run again: the pass resumes at 2
  ran.clear();
  module.RemoveObject(2);
  EXPECT_EQ(sim.GetResumeIndex(), 3);
  EXPECT_TRUE(sim.Tick());
  EXPECT_EQ(ran, (std::vector<int16_t>{3, 4}));
  EXPECT_EQ(sim.GetTickCount(), 1);
  EXPECT_EQ(sim.GetResumeIndex(), 0);
}

TEST_F(Simulator, SleepersCountDownAndPausedObjectsWait) {
  PassObject* a = Add();
  PassObject* b = Add();
  module.SetCountdown(a->GetId(), 2);
  sim.Tick();
  sim.Tick();
  sim.Tick();
  EXPECT_EQ(ran, (std::vector<int16_t>{2, 2, 1, 2}));
  ran.clear();
  sim.Pause();
  module.SetStateBits(b->GetId(), kSchedWord60, true);
  const int32_t ticks = sim.GetTickCount();
  EXPECT_FALSE(sim.Tick());
  EXPECT_EQ(ran, (std::vector<int16_t>{2})) << "only the object allowed while restricted";
  EXPECT_EQ(sim.GetTickCount(), ticks);
  sim.Unpause();
  sim.SetGlobal(kSimRestrictA, 1);
  sim.SetGlobal(kSimRestrictB, 1);
  EXPECT_FALSE(sim.Tick());
  sim.SetGlobal(kSimRestrictB, 0);
  EXPECT_TRUE(sim.Tick());
}

TEST_F(Simulator, AnObjectErrorStopsThePassAndTheReportResetsIt) {
  Trees("tree 4096 \"Main\"\n params 4\nn0: 0 -> n0 n0\nend\n");
  ObjectErrorReport report;
  sim.SetErrorReport(&report);
  PassObject* a = Add();
  PassObject* b = Add();
  Add();
  b->raise = kErrIllegalPrimitive;
  EXPECT_FALSE(sim.Tick());
  EXPECT_EQ(ran, (std::vector<int16_t>{1, 2}));
  EXPECT_EQ(b->GetErrorCode(), 0) << "reset, with debug_objects off";
  EXPECT_EQ(b->GetStateFlags() & kStateInError, 0u);
  b->raise = 0;
  a->answer = true;
  ran.clear();
  EXPECT_TRUE(sim.Tick());
  EXPECT_EQ(ran, (std::vector<int16_t>{2, 3}));
  EXPECT_EQ(module.GetSchedulerWord(2) >> 16 & kSchedInError, 0u);
}

TEST_F(Simulator, TheSimulationSeedRunsApartFromTheGeneralOne) {
  SetRandomSeed(77);
  sim.SetSimulationSeed(5);
  PassObject* a = Add();
  uint32_t drawn = 0;
  a->log = nullptr;
  struct Drawer : PassObject {
    using PassObject::PassObject;
    uint32_t* out = nullptr;
    bool Tick() override {
      *out = NextRandom();
      return true;
    }
  };
  Drawer* d = Make<Drawer>();
  d->out = &drawn;
  sim.Tick();
  EXPECT_EQ(GetRandomSeed(), 77u);
  SetRandomSeed(5);
  EXPECT_EQ(drawn, NextRandom());
  EXPECT_EQ(sim.GetSimulationSeed(), GetRandomSeed());
}

TEST_F(Simulator, TheProfilerTimesTicksAndObjects) {
  uint64_t us = 0;
  SimProfiler profiler([&us] { return us += 10; });
  sim.SetProfiler(&profiler);
  Add();
  Add();
  sim.Tick();
  ASSERT_EQ(profiler.TicksTimed(), 1);
  const SimProfiler::TickRecord* r = profiler.RecordOf(0);
  ASSERT_NE(r, nullptr);
  ASSERT_EQ(r->objects.size(), 2u);
  EXPECT_EQ(r->objects[1].object, 2);
  EXPECT_EQ(r->objects[0].microseconds, 10);
  sim.Pause();
  sim.Tick();
  EXPECT_EQ(profiler.TicksTimed(), 1) << "nothing is timed while paused";
}

// The saved state as an older program wrote it.
struct OldState {
  int16_t globals[32] = {};
  int32_t speedWord = 0;  // layouts up to 17
  int32_t ticks = 9, base = 500, simSeed = 11, general = 12, pending = 7;
  int32_t figures[3] = {1, 2, 3};
  int32_t statistic = 40;  // today's amount of type 0
};

std::vector<uint8_t> MakeOldState(int32_t version, OldState s) {
  return WritePlain([&](ReconStream& out) {
    int16_t resume = 0;
    if (version > 17) {
      out.SerializeShorts(s.globals, 32);
    } else {
      out.SerializeShorts(s.globals, 16);
      out.SerializeLongs(&s.speedWord, 1);
    }
    out.SerializeLongs(&s.ticks, 1);
    out.SerializeShorts(&resume, 1);
    if (version > 1) out.SerializeLongs(&s.base, 1);
    if (version > 13) {
      out.SerializeLongs(&s.simSeed, 1);
      out.SerializeLongs(&s.general, 1);
    }
    if (version >= 15) out.SerializeLongs(&s.pending, 1);
    if (version >= 37) out.SerializeLongs(s.figures, 3);
    if (version > 37) {
      for (int day = 0; day < 6; ++day) {
        int32_t block[9] = {1, day == 0 ? s.statistic : 0};
        out.SerializeLongs(block, 9);
      }
    }
  });
}

TEST_F(Simulator, OlderSavedStatesReadAsTheirLayoutsSay) {
  struct Case {
    int32_t version;
    int32_t speedWord;
    int wantHour, wantMinute;
    int32_t wantFunds, wantSpeed;
    bool wantPaused;
    int32_t wantFigureC, wantStatistic;
  };
  const Case cases[] = {
      {5, 2, 5, 55, 2500, 760, false, 4500, 0},
      {16, 0, 5, 55, 500, 760, true, 4500, 0},
      {20, 3, 10, 30, 507, 947, false, 4500, 0},
      {37, 600, 10, 30, 507, 600, false, 1, 0},
      {51, 500, 10, 30, 507, 500, false, 1, 0},
      {52, 500, 10, 30, 507, 500, false, 1, 40},
  };
  for (const Case& c : cases) {
    OldState s;
    s.globals[kSimHour] = 10;
    s.globals[kSimMinute] = 30;
    s.globals[kSimDay] = 4;
    s.globals[kSimMonth] = 2;
    s.globals[kSimYear] = 1999;
    s.globals[kSimSavedSpeed] = 880;
    s.globals[kSimSpeed] = static_cast<int16_t>(c.speedWord);
    s.speedWord = c.speedWord;
    const std::vector<uint8_t> bytes = MakeOldState(c.version, s);
    cSimulator read;
    read.Reset(nullptr);
    read.SetGlobal(kSimKeptOnLoad, 99);
    ASSERT_TRUE(ReadPlain(bytes, [&](ReconStream& in) { read.Transfer(in, c.version); })) << c.version;
    EXPECT_EQ(read.GetGlobal(kSimHour), c.wantHour) << c.version;
    EXPECT_EQ(read.GetGlobal(kSimMinute), c.wantMinute) << c.version;
    EXPECT_EQ(read.GetFunds(), c.wantFunds) << c.version;
    EXPECT_EQ(read.GetSpeed(), c.wantSpeed) << c.version;
    EXPECT_EQ(read.IsPaused(), c.wantPaused) << c.version;
    EXPECT_EQ(read.GetFigure(cSimulator::kFigureC), c.wantFigureC) << c.version;
    EXPECT_EQ(read.GetStatistic(0, 0), c.wantStatistic) << c.version;
    EXPECT_EQ(read.GetTickCount(), 9);
    EXPECT_EQ(read.GetGlobal(kSimKeptOnLoad), 99);
    EXPECT_EQ(read.GetGlobal(kSimDaysInMonth), 30);
    if (c.version <= 20) {
      EXPECT_FALSE(read.IsSpeedOverridden()) << c.version;
    }
  }
  // The oldest layout starts the clock at the reset's date.
  cSimulator read;
  ASSERT_TRUE(ReadPlain(MakeOldState(5, {}), [&](ReconStream& in) { read.Transfer(in, 5); }));
  EXPECT_EQ(read.GetGlobal(kSimDay), 15);
  EXPECT_EQ(read.GetGlobal(kSimYear), 1997);
}

TEST_F(Simulator, TheCurrentStateRoundTrips) {
  At(14, 22, 8, 9, 11, 2001);
  sim.SetFunds(4321);
  sim.AddToStatistic(2, 30);
  sim.SetFigure(cSimulator::kFigureB, 77);
  sim.SetSpeed(947);
  sim.SetSimulationSeed(1234);
  sim.SetGlobal(20, -5);
  const std::vector<uint8_t> bytes = WritePlain([&](ReconStream& out) { sim.Transfer(out, kSimulatorVersion); });
  ASSERT_FALSE(bytes.empty());
  cSimulator read;
  ASSERT_TRUE(ReadPlain(bytes, [&](ReconStream& in) { read.Transfer(in, kSimulatorVersion); }));
  for (int32_t g = 0; g < 32; ++g) {
    if (g == kSimKeptOnLoad || g == kSimFreeWill || g == kSimDaysInMonth) continue;
    EXPECT_EQ(read.GetGlobal(g), sim.GetGlobal(g)) << g;
  }
  EXPECT_EQ(read.GetFunds(), 4291);
  EXPECT_EQ(read.GetStatistic(0, 2), 30);
  EXPECT_EQ(read.GetFigure(cSimulator::kFigureB), 77);
  EXPECT_EQ(read.GetSpeed(), 947);
  EXPECT_EQ(read.GetSimulationSeed(), 1234u);
  // A record cut short fails.
  std::vector<uint8_t> cut(bytes.begin(), bytes.end() - 10);
  cSimulator damaged;
  EXPECT_FALSE(ReadPlain(cut, [&](ReconStream& in) { damaged.Transfer(in, kSimulatorVersion); }));
}

}  // namespace
