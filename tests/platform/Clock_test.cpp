#include "platform/Clock.h"

#include <chrono>
#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

using namespace platform;

TEST(Clock, MillisecondClockAdvancesAcrossSleep) {
    uint32_t a = TimeMs();
    SleepMs(20);
    uint32_t b = TimeMs();
    // Unsigned difference: correct across the 32-bit wrap too.
    EXPECT_GE(static_cast<uint32_t>(b - a), 15u);
    EXPECT_LT(static_cast<uint32_t>(b - a), 5000u);
}

TEST(Clock, MillisecondClockWrapsAt32Bits) {
    // The wrap is put 20 ms ahead; a thread held up past it before the first
    // reading (a loaded machine) tries again rather than failing.
    uint32_t before = 0;
    for (int attempt = 0; attempt < 20; ++attempt) {
        SetTimeMsOffsetForTest(0xFFFFFFFFu - TimeMs() - 20);
        before = TimeMs();
        if (before >= 0xFFFFFF00u) break;
    }
    SleepMs(40);
    uint32_t after = TimeMs();
    SetTimeMsOffsetForTest(0);
    EXPECT_GE(before, 0xFFFFFF00u);
    EXPECT_LT(after, before);  // wrapped
    EXPECT_GE(static_cast<uint32_t>(after - before), 35u);
}

TEST(Clock, HighResolutionCounterIsMonotonicInNanoseconds) {
    EXPECT_EQ(PerfFrequency(), 1000000000LL);
    int64_t a = PerfCounter();
    SleepUs(2000);
    int64_t b = PerfCounter();
    EXPECT_GE(b - a, 1500000);
    EXPECT_GT(TickCount(), 0u);
}

TEST(Clock, MulDivTable) {
    struct Case {
        int32_t a, b, c, expected;
    };
    const Case cases[] = {
        {10, 3, 4, 8},           // 7.5 rounds away from zero
        {-10, 3, 4, -8},
        {10, -3, -4, 8},
        {7, 1, 2, 4},
        {1000000000, 1000, 1000000, 1000000},  // product needs 64 bits
        {1, 1, 0, -1},           // division by zero
        {std::numeric_limits<int32_t>::max(), 2, 1, -1},  // does not fit
    };
    for (const Case& c : cases)
        EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << "*" << c.b << "/" << c.c;
}

TEST(Clock, MulDiv64KeepsTheFullProduct) {
    // A minute of nanoseconds scaled to microseconds.
    EXPECT_EQ(MulDiv64(60'000'000'000LL, 1'000'000, 1'000'000'000LL), 60'000'000LL);
    EXPECT_EQ(MulDiv64(INT64_MAX, 4, 2), INT64_MAX);
    EXPECT_EQ(MulDiv64(5, 5, 0), 0);
}
