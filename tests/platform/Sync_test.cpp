#include "platform/Sync.h"

#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "support/Eventually.h"

using namespace platform;
using namespace std::chrono;

namespace {

// Spins (bounded) until the event has n waiters, so a pulse hits them.
bool WaitForWaiters(Event& e, int n) {
    return support::Eventually([&] { return e.WaiterCount() == n; });
}

}  // namespace

TEST(CriticalSection, CountsEveryEntryOfTheHolder) {
    CriticalSection cs;
    EXPECT_EQ(cs.LockCount(), 0);
    cs.Enter();
    cs.Enter();
    EXPECT_TRUE(cs.TryEnter());
    EXPECT_EQ(cs.LockCount(), 3);
    cs.Leave();
    cs.Leave();
    cs.Leave();
    EXPECT_EQ(cs.LockCount(), 0);
}

TEST(CriticalSection, TryEnterFromAnotherThreadFailsWhileHeld) {
    CriticalSection cs;
    {
        ScopedLock hold(cs);
        bool got = true;
        std::thread t([&] { got = cs.TryEnter(); });
        t.join();
        EXPECT_FALSE(got);
        EXPECT_EQ(cs.LockCount(), 1);
    }
    bool got = false;
    std::thread t([&] {
        got = cs.TryEnter();
        if (got) cs.Leave();
    });
    t.join();
    EXPECT_TRUE(got);
    EXPECT_EQ(cs.LockCount(), 0);
}

TEST(Event, WaitTimesOutWhenNotSignalled) {
    Event e(false);
    auto start = steady_clock::now();
    EXPECT_FALSE(e.Wait(30));
    EXPECT_GE(steady_clock::now() - start, milliseconds(25));
    EXPECT_FALSE(e.Wait(0));
}

TEST(Event, AutoResetSetIsConsumedByOneWait) {
    Event e(false);
    e.Set();
    EXPECT_TRUE(e.Wait(0));
    EXPECT_FALSE(e.Wait(0));
}

TEST(Event, ManualResetStaysSetUntilReset) {
    Event e(true);
    e.Set();
    EXPECT_TRUE(e.Wait(0));
    EXPECT_TRUE(e.Wait(10));
    e.Reset();
    EXPECT_FALSE(e.Wait(0));
}

TEST(Event, PulseWithNoWaiterIsLost) {
    for (bool manual : {false, true}) {
        Event e(manual);
        e.Pulse();
        EXPECT_FALSE(e.Wait(20)) << "manual=" << manual;
    }
}

TEST(Event, PulseReleasesOnlyPresentWaiters) {
    struct Case {
        bool manual;
        int expectedReleased;
    };
    for (Case c : {Case{true, 3}, Case{false, 1}}) {
        Event e(c.manual);
        std::atomic<int> released{0};
        std::thread waiters[3];
        for (auto& t : waiters)
            t = std::thread([&] {
                if (e.Wait(10000)) ++released;  // every one is released long before
            });
        ASSERT_TRUE(WaitForWaiters(e, 3));
        e.Pulse();
        ASSERT_TRUE(WaitForWaiters(e, 3 - c.expectedReleased));
        // The released ones may be slow to run; then no more may follow.
        ASSERT_TRUE(support::Eventually([&] { return released == c.expectedReleased; }));
        std::this_thread::sleep_for(milliseconds(20));
        EXPECT_EQ(released.load(), c.expectedReleased) << "manual=" << c.manual;
        // Those not released are still waiting; let them go.
        for (int i = c.expectedReleased; i < 3; ++i) e.Set();
        for (auto& t : waiters) t.join();
        EXPECT_EQ(released.load(), 3);
        // The pulse did not leave the event signalled for a late waiter.
        EXPECT_FALSE(e.Wait(0));
    }
}

TEST(Event, AutoResetSetReleasesExactlyOneWaiter) {
    Event e(false);
    std::atomic<int> released{0};
    // Long waits: a loaded machine must not let them time out before Set.
    std::thread a([&] { if (e.Wait(10000)) ++released; });
    std::thread b([&] { if (e.Wait(10000)) ++released; });
    ASSERT_TRUE(WaitForWaiters(e, 2));
    e.Set();
    ASSERT_TRUE(support::Eventually([&] { return released == 1; }));
    std::this_thread::sleep_for(milliseconds(20));
    EXPECT_EQ(released.load(), 1);
    EXPECT_EQ(e.WaiterCount(), 1);  // the other one still waits
    e.Set();
    a.join();
    b.join();
    EXPECT_EQ(released.load(), 2);
    EXPECT_FALSE(e.Wait(0));
}
