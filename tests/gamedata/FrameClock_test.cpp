#include "gamedata/FrameClock.h"

#include <gtest/gtest.h>

#include "gamedata/CycleTimer.h"
#include "gamedata/GameCalendar.h"
#include "gamedata/NamedFileMap.h"

TEST(FrameClock, FollowsRealTimeButNeverJumpsMoreThanTheLimit) {
    FrameClock c;
    c.TickAt(1000);  // the first tick from 0 is a jump too
    EXPECT_EQ(c.GetTime(), 1000u);
    c.TickAt(1016);
    EXPECT_EQ(c.GetTime(), 1016u);
    EXPECT_EQ(c.GetLag(), 16);
    c.TickAt(6016);  // a 5-second pause
    EXPECT_EQ(c.GetTime(), 3016u);
    EXPECT_EQ(c.GetLag(), 2000);
    c.TickAt(6032);  // then on at real speed from there
    EXPECT_EQ(c.GetTime(), 3032u);
    EXPECT_EQ(c.GetTickCount(), 4u);
    // Across the 32-bit wrap of the real clock.
    FrameClock w;
    w.TickAt(0xFFFFFFF0u);
    w.TickAt(0xFFFFFFF0u);
    w.TickAt(0x10u);
    EXPECT_EQ(w.GetLag(), 0x20);
}

TEST(GameCalendar, DayNumbers) {
    struct Case {
        int y, m, d, expected;
    };
    for (Case c : {Case{1900, 1, 1, 0}, Case{1900, 2, 1, 30}, Case{1901, 1, 1, 360}, Case{1899, 5, 5, 0},
                   Case{2000, 13, 1, 0}, Case{2000, 0, 1, 0}, Case{1900, 12, 30, 359},
                   Case{INT32_MAX, 12, 30, 0}, Case{1900, 1, INT32_MIN, 0}})
        EXPECT_EQ(DayNumber(c.y, c.m, c.d), c.expected) << c.y << "-" << c.m << "-" << c.d;
    EXPECT_EQ(GetDaysInMonth(2, 1904), 30);
    EXPECT_EQ(DaysBetweenDates(1900, 2, 1, 1900, 1, 1), 30);
    EXPECT_EQ(DaysBetweenDates(1900, 1, 1, 1901, 1, 1), -360);
    EXPECT_EQ(DaysBetweenDates(1900, 1, INT32_MAX, 1900, 1, -INT32_MAX), INT32_MAX);  // held at the limit
    VersionWord v = SplitVersionWord(0x1234);
    EXPECT_EQ(v.high, 0x12);
    EXPECT_EQ(v.low, 0x34);
}

TEST(NamedFileMap, CountsByWholePathIgnoringCaseAndSeparators) {
    int a = 0, b = 0;
    NamedFileMap<int> map;
    map.AddRef("GameData\\Objects\\Chair.iff", &a);
    map.AddRef("gamedata/objects/CHAIR.IFF", &a);
    map.AddRef("UserData/Objects/Chair.iff", &b);  // same name, other folder
    EXPECT_EQ(map.Count(), 2u);
    EXPECT_EQ(map.Find("GAMEDATA/OBJECTS/chair.iff"), &a);
    EXPECT_EQ(map.Find("userdata\\objects\\chair.iff"), &b);
    EXPECT_EQ(map.Find("chair.iff"), nullptr);
    EXPECT_FALSE(map.Release(&a));
    EXPECT_TRUE(map.Release(&a));
    EXPECT_EQ(map.Find("GameData/Objects/Chair.iff"), nullptr);
    int c = 0;
    EXPECT_FALSE(map.Release(&c));
}

TEST(CycleTimer, MeasuresOnTheHighResolutionCounter) {
    EXPECT_GE(MeasureCycleRate(), 1.0);
    CycleTimer t;
    t.Start();
    EXPECT_TRUE(t.IsRunning());
    volatile double x = 0;
    for (int i = 0; i < 100000; ++i) x = x + i;
    t.Stop();
    EXPECT_FALSE(t.IsRunning());
    EXPECT_GT(t.GetElapsedSeconds(), 0.0);
    EXPECT_LT(t.GetElapsedSeconds(), 10.0);
    uint32_t elapsed = t.GetElapsed();
    t.Stop();  // not running: keeps the value
    EXPECT_EQ(t.GetElapsed(), elapsed);
}
