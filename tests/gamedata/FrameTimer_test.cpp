#include "gamedata/FrameTimer.h"

#include <gtest/gtest.h>

TEST(FrameTimer, FirstAccumulateMakesOneStepDue) {
    FrameTimer t;
    t.Init();
    t.Accumulate(5000);
    EXPECT_EQ(t.TakeStep(), 1);
    EXPECT_EQ(t.TakeStep(), 0);
    t.Accumulate(5250);  // 2.5 periods
    EXPECT_EQ(t.TakeStep(), 1);
    EXPECT_EQ(t.TakeStep(), 1);
    EXPECT_EQ(t.TakeStep(), 0);
    EXPECT_EQ(t.GetAccumulated(), 50);
}

TEST(FrameTimer, CapLimitsStepsAfterAPause) {
    FrameTimer t;
    t.Init(100, 3);
    t.Accumulate(1000);
    t.TakeStep();
    t.Accumulate(61000);  // a minute later
    int steps = 0;
    while (t.TakeStep()) ++steps;
    EXPECT_EQ(steps, 3);
}

TEST(FrameTimer, AcrossTheWrapOfTheMillisecondClock) {
    FrameTimer t;
    t.Init(100, 0);
    t.Accumulate(INT32_MAX - 49);
    EXPECT_EQ(t.TakeStep(), 1);
    t.Accumulate(INT32_MIN + 50);  // 100 ms later, past the wrap
    EXPECT_EQ(t.GetAccumulated(), 100);
    EXPECT_EQ(t.TakeStep(), 1);
    EXPECT_EQ(t.TakeStep(), 0);
}
