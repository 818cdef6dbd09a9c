#include "framework/cRZPath.h"

#include <gtest/gtest.h>

#include "framework/CTGString.h"
#include "framework/RandomSequence.h"
#include "framework/ReadFloatQuad.h"
#include "framework/cRZTimer.h"

#include <sstream>

namespace {

TEST(cRZPathTest, SplitChangeAndRecombine) {
  cRZPath p(cRZString("C:\\Games\\Data\\house.v1.iff"));
  EXPECT_EQ(p.GetDrive(), "C:");
  EXPECT_EQ(p.GetDirectory(), "\\Games\\Data\\");
  EXPECT_EQ(p.GetName(), "house.v1");
  EXPECT_EQ(p.GetExtension(), ".iff");
  p.NameForChange() = "lot";
  EXPECT_EQ(p.GetFullPath(), "C:\\Games\\Data\\lot.iff");
  p.SetParts("", "Saves", "slot", "sav");
  EXPECT_EQ(p.GetFullPath(), "Saves\\slot.sav");
  p.FullPathForChange() = "a/b/c";
  EXPECT_EQ(p.GetDirectory(), "a/b/");
  EXPECT_EQ(p.GetExtension(), "");
  p.SetAndResolve(cRZString("/x/./y/../z.txt"));
  EXPECT_EQ(p.GetFullPath(), "/x/z.txt");
}

TEST(CTGStringTest, ExtractionCaseAndParsing) {
  CTGString s("  abcd  ");
  s.Trim();
  EXPECT_EQ(s, "abcd");
  EXPECT_EQ(s.Mid(2, 100), "cd");
  EXPECT_EQ(s.Mid(9, 1), "");
  EXPECT_EQ(s.Left(9), "abcd");
  EXPECT_EQ(s.Right(2), "cd");
  EXPECT_EQ(CTGString("abc").MakeUpper(), "ABC");
  EXPECT_EQ(CTGString(CTGString("ab"), CTGString("cd")), "abcd");
  EXPECT_EQ(CTGString().Sprintf("%s-%d", "x", 7), "x-7");
  EXPECT_EQ(ParseUnsignedAutoBase("10"), 10u);
  EXPECT_EQ(ParseUnsignedAutoBase("0x10"), 16u);
  EXPECT_EQ(ParseUnsignedAutoBase("1f"), 31u);
  EXPECT_EQ(ParseUnsignedAutoBase(""), 0u);
  EXPECT_EQ(DoubleByteCharCode("A"), 65u);
}

TEST(RandomSequenceTest, DrawsAndBounds) {
  RandomSequence r(1);
  // state 1: 1103515245 + 12345 = 1103527590 (0x41C67EA6); bits 16-47 = 0x41C6.
  EXPECT_EQ(r.Next(), 0x41C6u);
  EXPECT_EQ(r.State(), 1103527590u);
  RandomSequence s(12345);
  for (int i = 0; i < 1000; ++i) EXPECT_LT(s.Next(10), 10u);
  EXPECT_EQ(s.Next(0), 0u);
  const uint32_t before = s.State();
  s.Next(0xFFFFFFFFu);
  EXPECT_NE(s.State(), before);
}

TEST(ReadFloatQuadTest, PlainBarredAndUnclosed) {
  struct Case {
    const char* text;
    bool bad;
  } cases[] = {{"1 2 3 4", false}, {"| 1 2 3 4 |", false}, {"  |1 2 3 4|", false}, {"| 1 2 3 4", true}};
  for (const Case& c : cases) {
    std::istringstream in(c.text);
    float v[4] = {};
    ReadFloatQuad(in, v);
    EXPECT_EQ(v[0], 1.0f) << c.text;
    EXPECT_EQ(v[3], 4.0f) << c.text;
    EXPECT_EQ(in.rdstate() == std::ios::badbit, c.bad) << c.text;
  }
  std::istringstream junk("1 x 3 4");
  float v[4] = {};
  ReadFloatQuad(junk, v);
  EXPECT_TRUE(junk.fail());
}

TEST(cRZTimerTest, NeverStartedIsZeroAndStopwatchAccumulates) {
  cRZTimer ms(cRZTimer::kMilliseconds);
  EXPECT_EQ(ms.GetElapsed(), 0);
  cRZTimer us(cRZTimer::kMicroseconds);
  EXPECT_EQ(us.GetElapsed(), 0);  // the counter cost never drives it below 0
  cRZTimer ticks(cRZTimer::kTicks);
  ticks.Start();
  EXPECT_TRUE(ticks.IsRunning());
  ticks.Stop();
  const int64_t first = ticks.GetElapsed();
  EXPECT_GE(first, 0);
  ticks.Start();
  ticks.Stop();
  EXPECT_GE(ticks.GetElapsed(), first);
  ticks.Reset();
  EXPECT_EQ(ticks.GetElapsed(), 0);
  EXPECT_GE(cRZTimer::CounterCost(), 0);
  cRZMilliStamp stamp;
  stamp.Reset(42);
  EXPECT_EQ(stamp.start, 42u);
  EXPECT_EQ(stamp.last, 42u);
  EXPECT_EQ(stamp.elapsed, 0u);
}

}  // namespace
