#include "gamedata/SineWave.h"

#include <cmath>

#include <gtest/gtest.h>

TEST(SineWave, DefaultsToTwoCyclesOfAThousandTicks) {
    EXPECT_DOUBLE_EQ(kPi, std::acos(0.0) * 2.0);
    SineWave w;
    w.Start(100);
    EXPECT_EQ(w.GetEndTick(), 2100u);  // whole periods at the wave's speed
    EXPECT_FLOAT_EQ(w.GetValue(100), 0);
    EXPECT_NEAR(w.GetValue(350), 1.0f, 1e-6);   // a quarter period in
    EXPECT_NEAR(w.GetValue(850), -1.0f, 1e-6);  // three quarters
    EXPECT_NE(w.GetValue(1850), 0.0f);          // still in the second cycle
    EXPECT_FLOAT_EQ(w.GetValue(2100), 0);       // ended
}

TEST(SineWave, PeriodAmplitudeAndEndless) {
    SineWave w;
    w.SetPeriod(40);
    w.SetAmplitude(3);
    w.SetCycles(0);
    w.Start(0);
    EXPECT_NEAR(w.GetValue(10), 3.0f, 1e-5);
    EXPECT_NEAR(w.GetValue(1000010), 3.0f, 1e-3);  // never ends
    w.SetPeriod(0);                                 // guarded
    w.SetCycles(1);
    w.Start(0);
    EXPECT_EQ(w.GetEndTick(), 1u);
}
