#include "framework/cRZThreadSignal.h"

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "support/Eventually.h"

using namespace std::chrono;

TEST(cRZThreadSignal, WaitsBelow1024MicrosecondsOnlyPoll) {
    cRZThreadSignal signal(false);
    auto start = steady_clock::now();
    EXPECT_FALSE(signal.Wait(1000));
    EXPECT_LT(steady_clock::now() - start, milliseconds(500));
    start = steady_clock::now();
    EXPECT_FALSE(signal.Wait(20 * 1024));  // 20 ms
    EXPECT_GE(steady_clock::now() - start, milliseconds(15));
}

TEST(cRZThreadSignal, ASignalWithNoWaiterIsLost) {
    cRZThreadSignal signal(true);
    signal.Signal();
    EXPECT_FALSE(signal.Wait(10 * 1024));
}

// Waiters do not hold the signal's lock, so several wait at once and a
// manual-reset signal releases all present waiters; an automatic one, one.
TEST(cRZThreadSignal, SignalReleasesThePresentWaiters) {
    for (bool manual : {true, false}) {
        cRZThreadSignal signal(manual);
        std::atomic<int> released{0};
        std::vector<std::thread> threads;
        for (int i = 0; i < 3; ++i)
            threads.emplace_back([&] {
                if (signal.Wait(0)) ++released;
            });
        ASSERT_TRUE(support::Eventually([&] { return signal.GetWaiterCount() == 3; }));
        signal.SignalAll();
        int expected = manual ? 3 : 1;
        ASSERT_TRUE(support::Eventually([&] { return signal.GetWaiterCount() == 3 - expected; }));
        // The released ones may be slow to run; then no more may follow.
        ASSERT_TRUE(support::Eventually([&] { return released == expected; }));
        std::this_thread::sleep_for(milliseconds(10));
        EXPECT_EQ(released.load(), expected) << "manual=" << manual;
        // Release the rest one by one.
        while (released < 3) {
            int before = signal.GetWaiterCount();
            signal.Signal();
            ASSERT_TRUE(support::Eventually([&] { return signal.GetWaiterCount() < before; }));
            ASSERT_TRUE(support::Eventually([&] { return released == 3 - signal.GetWaiterCount(); }));
        }
        for (auto& t : threads) t.join();
    }
}

TEST(cRZThreadSignal, WaitZeroWaitsUntilSignalled) {
    cRZThreadSignal signal(false);
    std::atomic<bool> done{false};
    std::thread t([&] { done = signal.Wait(0); });
    // Pulse until the waiter was there to be released.
    auto end = steady_clock::now() + seconds(5);
    while (!done && steady_clock::now() < end) {
        signal.Signal();
        std::this_thread::sleep_for(milliseconds(2));
    }
    t.join();
    EXPECT_TRUE(done.load());
}
