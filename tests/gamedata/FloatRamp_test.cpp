#include "gamedata/FloatRamp.h"

#include <cmath>

#include <gtest/gtest.h>

TEST(FloatRamp, LinearOverTicks) {
    FloatRamp r;
    r.Init(0, 10, 5, 0);
    EXPECT_FLOAT_EQ(r.GetValue(0), 0);
    EXPECT_FLOAT_EQ(r.GetValue(1), 2);
    EXPECT_FLOAT_EQ(r.GetValue(5), 10);
    EXPECT_FLOAT_EQ(r.GetValue(100), 10);

    r.Init(10, 0, 5, 3);  // down, after a delay of 3 ticks
    EXPECT_FLOAT_EQ(r.GetValue(3), 10);
    EXPECT_FLOAT_EQ(r.GetValue(4), 8);
    EXPECT_FLOAT_EQ(r.GetValue(8), 0);
}

TEST(FloatRamp, FromStepAndConstant) {
    FloatRamp r;
    r.InitFromStep(0, 10, -2.5f, 0);  // the sign of the step does not matter
    EXPECT_EQ(r.GetEndTick(), 4);
    EXPECT_FLOAT_EQ(r.GetValue(2), 5);
    r.InitConstant(7);
    EXPECT_FLOAT_EQ(r.GetValue(0), 7);
    EXPECT_FLOAT_EQ(r.GetValue(123), 7);
}

TEST(FloatRamp, ZeroTicksOrStepGiveTheTargetAfterTheDelay) {
    FloatRamp r;
    r.Init(0, 10, 0, 4);
    EXPECT_EQ(r.GetEndTick(), 4);
    for (uint32_t tick : {0u, 3u, 4u, 50u}) {
        EXPECT_TRUE(std::isfinite(r.GetValue(tick)));
        EXPECT_FLOAT_EQ(r.GetValue(tick), 10);
    }
    r.InitFromStep(0, 10, 0, 2);
    EXPECT_EQ(r.GetEndTick(), 2);
    EXPECT_FLOAT_EQ(r.GetValue(0), 10);
    // Already at the target: no movement, no division by zero.
    r.InitFromStep(10, 10, 1, 0);
    EXPECT_FLOAT_EQ(r.GetValue(0), 10);
}
