#include "platform/PeriodicTimer.h"

#include <gtest/gtest.h>

#include <atomic>

#include "support/Eventually.h"

using platform::PeriodicTimer;

TEST(PeriodicTimer, ManualClockRunsDueCallbacksInTimeOrder) {
    PeriodicTimer timers(PeriodicTimer::Mode::Manual);
    std::vector<std::pair<char, uint64_t>> calls;
    timers.Start(30, [&] { calls.push_back({'a', timers.NowMs()}); });
    timers.Start(50, [&] { calls.push_back({'b', timers.NowMs()}); }, false);
    timers.Advance(100);
    const std::vector<std::pair<char, uint64_t>> expected = {{'a', 30}, {'b', 50}, {'a', 60}, {'a', 90}};
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(timers.NowMs(), 100u);
    EXPECT_EQ(timers.Count(), 1u);  // the one-shot is gone
}

TEST(PeriodicTimer, CallbackMayKillItselfRestartItselfOrKillAnother) {
    PeriodicTimer timers(PeriodicTimer::Mode::Manual);
    int selfKill = 0;
    uint32_t selfId = 0;
    selfId = timers.Start(10, [&] {
        if (++selfKill == 3) {
            EXPECT_TRUE(timers.Kill(selfId));
        }
    });

    int restarts = 0;
    uint32_t restartId = 0;
    std::function<void()> restart = [&] {
        ++restarts;
        timers.Kill(restartId);
        if (restarts < 4) restartId = timers.Start(25, restart);
    };
    restartId = timers.Start(25, restart);

    int victimCalls = 0;
    const uint32_t victim = timers.Start(10, [&] { ++victimCalls; });
    int killerCalls = 0;
    timers.Start(35, [&] {
        ++killerCalls;
        timers.Kill(victim);
    }, false);

    timers.Advance(1000);
    EXPECT_EQ(selfKill, 3);
    EXPECT_EQ(restarts, 4);
    EXPECT_EQ(killerCalls, 1);
    EXPECT_EQ(victimCalls, 3);  // at 10, 20 and 30; killed at 35
    EXPECT_EQ(timers.Count(), 0u);
    EXPECT_FALSE(timers.Kill(victim));
}

TEST(PeriodicTimer, RealTimerCallbackKillsItselfWithoutDeadlock) {
    PeriodicTimer timers;
    std::atomic<int> calls{0};
    std::atomic<uint32_t> id{0};
    std::atomic<bool> killed{false};
    id = timers.Start(1, [&] {
        while (id == 0) {
        }
        if (++calls == 5) killed = timers.Kill(id);
    });
    EXPECT_TRUE(support::Eventually([&] { return killed.load(); }));
    EXPECT_EQ(timers.Count(), 0u);
    EXPECT_EQ(calls.load(), 5);
}

TEST(PeriodicTimer, KillFromAnotherThreadWaitsForTheCallUnderWay) {
    PeriodicTimer timers;
    std::atomic<bool> entered{false};
    std::atomic<bool> release{false};
    std::atomic<bool> finished{false};
    const uint32_t id = timers.Start(1, [&] {
        entered = true;
        while (!release) std::this_thread::yield();
        finished = true;
    }, false);
    ASSERT_TRUE(support::Eventually([&] { return entered.load(); }));
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        release = true;
    });
    timers.Kill(id);
    EXPECT_TRUE(finished.load());
    releaser.join();
}

TEST(PeriodicTimer, RefusesZeroPeriodsAndEmptyCallbacks) {
    PeriodicTimer timers(PeriodicTimer::Mode::Manual);
    EXPECT_EQ(timers.Start(0, [] {}), 0u);
    EXPECT_EQ(timers.Start(10, nullptr), 0u);
}
