#include "platform/Thread.h"

#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "support/Eventually.h"

using namespace platform;
using namespace std::chrono;

namespace {

constexpr int kReleasedCode = 17;

// Starts a body that keeps running until `release` is set, then returns
// kReleasedCode.
bool StartUntilReleased(Thread& t, std::atomic<bool>& release) {
    return t.Start([&release] {
        while (!release) std::this_thread::sleep_for(milliseconds(1));
        return kReleasedCode;
    });
}

}  // namespace

TEST(Thread, ReturnsItsResultAndCanStartAgain) {
    Thread t;
    EXPECT_FALSE(t.Join());  // nothing started
    ASSERT_TRUE(t.Start([] { return 42; }));
    EXPECT_NE(t.Id(), 0u);
    EXPECT_NE(t.Id(), Thread::CurrentId());
    EXPECT_TRUE(t.Join());
    EXPECT_FALSE(t.IsRunning());
    EXPECT_EQ(t.ExitCode(), 42);
    ASSERT_TRUE(t.Start([] { return 7; }));
    t.Join();
    EXPECT_EQ(t.ExitCode(), 7);
}

TEST(Thread, RefusesToStartWhileRunning) {
    Thread t;
    std::atomic<bool> release{false};
    std::atomic<bool> secondRan{false};
    ASSERT_TRUE(StartUntilReleased(t, release));
    EXPECT_FALSE(t.Start([&] { secondRan = true; return 1; }));
    EXPECT_TRUE(t.IsRunning());
    release = true;
    t.Join();
    EXPECT_FALSE(secondRan.load());
    EXPECT_EQ(t.ExitCode(), kReleasedCode);  // the first body ran to its end
}

TEST(Thread, ExitCurrentEndsTheBodyWithItsCode) {
    Thread t;
    std::atomic<bool> after{false};
    ASSERT_TRUE(t.Start([&]() -> int {
        Thread::ExitCurrent(5);
        after = true;
        return 1;
    }));
    t.Join();
    EXPECT_FALSE(after.load());
    EXPECT_EQ(t.ExitCode(), 5);
    EXPECT_FALSE(t.IsRunning());
}

TEST(Thread, JoinOnItselfFails) {
    Thread t;
    std::atomic<int> result{-1};
    ASSERT_TRUE(t.Start([&] {
        result = t.Join() ? 1 : 0;
        return 0;
    }));
    t.Join();
    EXPECT_EQ(result.load(), 0);
}

TEST(Thread, SelfSuspendUntilResumed) {
    Thread t;
    std::atomic<int> stage{0};
    std::atomic<int> previous{-2};
    ASSERT_TRUE(t.Start([&] {
        stage = 1;
        previous = t.Suspend();
        stage = 2;
        return 0;
    }));
    ASSERT_TRUE(support::Eventually([&] { return stage == 1; }));
    std::this_thread::sleep_for(milliseconds(20));
    EXPECT_EQ(stage.load(), 1);  // still suspended
    // Resume may come before the thread actually blocks; retry until it took.
    ASSERT_TRUE(support::Eventually([&] { return t.Resume() == 1; }));
    t.Join();
    EXPECT_EQ(stage.load(), 2);
    EXPECT_EQ(previous.load(), 0);
}

TEST(Thread, SuspendingAnotherThreadFailsCleanly) {
    Thread t;
    std::atomic<bool> release{false};
    ASSERT_TRUE(StartUntilReleased(t, release));
    EXPECT_EQ(t.Suspend(), -1);
    EXPECT_EQ(t.Resume(), 0);  // not suspended: nothing to do
    release = true;
    t.Join();
}

TEST(Thread, AlertableSleepIsEndedByWake) {
    Thread t;
    std::atomic<bool> woken{false};
    std::atomic<bool> sleeping{false};
    ASSERT_TRUE(t.Start([&] {
        sleeping = true;
        woken = Thread::AlertableSleep(10000);
        return 0;
    }));
    ASSERT_TRUE(support::Eventually([&] { return sleeping.load(); }));
    auto start = steady_clock::now();
    EXPECT_TRUE(t.Wake());
    t.Join();
    EXPECT_TRUE(woken.load());
    EXPECT_LT(steady_clock::now() - start, seconds(5));
    EXPECT_FALSE(t.Wake());  // no longer running
}

TEST(Thread, AlertableSleepWithoutWakeRunsItsTime) {
    auto start = steady_clock::now();
    EXPECT_FALSE(Thread::AlertableSleep(20));
    EXPECT_GE(steady_clock::now() - start, milliseconds(15));
}

TEST(Thread, PriorityIsRecordedAndDefaultsToNormal) {
    Thread t;
    EXPECT_EQ(t.Priority(), ThreadPriority::Normal);
    EXPECT_TRUE(t.SetPriority(ThreadPriority::BelowNormal));
    ASSERT_TRUE(t.Start([] { return 0; }));
    t.Join();
    EXPECT_EQ(t.Priority(), ThreadPriority::BelowNormal);
    EXPECT_FALSE(t.SetPriority(static_cast<ThreadPriority>(9)));
}

TEST(Thread, DestructorJoinsARunningThread) {
    std::atomic<bool> finished{false};
    {
        Thread t;
        ASSERT_TRUE(t.Start([&] {
            std::this_thread::sleep_for(milliseconds(20));
            finished = true;
            return 0;
        }));
    }
    EXPECT_TRUE(finished.load());
}

// A body that deletes its own thread object (the object detaches then) must
// not race with Start, which stores the thread's handle in that object.
TEST(Thread, ABodyMayDeleteItsOwnObjectAtOnce) {
    constexpr int kThreads = 50;
    std::atomic<int> done{0};
    for (int i = 0; i < kThreads; ++i) {
        auto* t = new Thread;
        ASSERT_TRUE(t->Start([t, &done] {
            delete t;
            ++done;
            return 0;
        }));
    }
    EXPECT_TRUE(support::Eventually([&] { return done == kThreads; }));
}

// A Wake that no sleep of a run used ends with that run: a thread started
// again on the object does not inherit it.
TEST(Thread, AWakeLeftOverFromOneRunDoesNotReachTheNext) {
    Thread t;
    std::atomic<bool> release{false};
    ASSERT_TRUE(StartUntilReleased(t, release));
    EXPECT_TRUE(t.Wake());  // no sleep takes it
    release = true;
    t.Join();
    ASSERT_TRUE(t.Start([] { return Thread::AlertableSleep(30) ? 1 : 0; }));
    t.Join();
    EXPECT_EQ(t.ExitCode(), 0);
}
