#include "gamedata/CTGSizedQueue.h"

#include <gtest/gtest.h>

TEST(CTGSizedQueue, OverwritesTheOldestWhenFull) {
    FrameRateQueue q;
    EXPECT_EQ(q.GetCount(), 0u);
    for (unsigned long i = 1; i <= 1000; ++i) q.Push(i);
    EXPECT_EQ(q.GetCount(), 1000u);
    EXPECT_EQ(q.GetAt(0), 1u);
    q.Push(1001);
    EXPECT_EQ(q.GetCount(), 1000u);
    EXPECT_EQ(q.GetAt(0), 2u);  // the second value pushed is now the oldest
    EXPECT_EQ(q.GetAt(999), 1001u);
}

TEST(CTGSizedQueue, RatePerSecondThenEmpty) {
    FrameRateQueue q;
    q.Push(500);
    EXPECT_EQ(q.GetRatePerSecond(), 0.0L);  // a single value
    for (unsigned long t = 0; t < 10; ++t) q.Push(1000 + 100 * t);
    EXPECT_NEAR(static_cast<double>(q.GetRatePerSecond()), 10.0, 1e-9);
    EXPECT_EQ(q.GetCount(), 0u);
    // All in the same millisecond: no division by zero.
    q.Push(7);
    q.Push(7);
    q.Push(7);
    EXPECT_EQ(q.GetRatePerSecond(), 0.0L);
}

TEST(CTGSizedQueue, RateAcrossTheWrapOfTheRing) {
    CTGSizedQueue<unsigned long, 4> q;
    for (unsigned long t = 0; t < 6; ++t) q.Push(t * 50);  // keeps 100..250
    EXPECT_EQ(q.GetCount(), 4u);
    EXPECT_NEAR(static_cast<double>(q.GetRatePerSecond()), 3 * 1000.0 / 150.0, 1e-9);
}
