#include "framework/cRZCallbackTimer.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <random>
#include <stdexcept>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "framework/cGZFrameWork.h"
#include "framework/cRZCallbackThread.h"
#include "support/Eventually.h"

using namespace std::chrono;
using support::Eventually;

namespace {

struct TimerCounter {
    std::atomic<int> calls{0};
    std::function<void()> action;
    static void Call(void* self) {
        auto* c = static_cast<TimerCounter*>(self);
        ++c->calls;
        if (c->action) c->action();
    }
};

// A timer on a thread of its own that calls a counter. The counter is
// declared before the timer, so it outlives a call the timer's destructor
// still waits for.
class TimerTest : public ::testing::Test {
protected:
    TimerTest() { timer.SetCallback(&TimerCounter::Call, &counter); }

    cRZCallbackThread thread;
    TimerCounter counter;
    cRZCallbackTimer timer{&thread};
};

}  // namespace

TEST_F(TimerTest, OneShotFiresOnceAndCanStartAgain) {
    timer.SetCallback(nullptr, nullptr);
    EXPECT_FALSE(timer.StartOnce(10));  // no callback
    timer.SetCallback(&TimerCounter::Call, &counter);
    timer.SetInterval(30);
    auto start = steady_clock::now();
    ASSERT_TRUE(timer.StartOnce());
    EXPECT_TRUE(timer.IsArmed());
    ASSERT_TRUE(Eventually([&] { return counter.calls == 1; }));
    EXPECT_GE(steady_clock::now() - start, milliseconds(25));
    std::this_thread::sleep_for(milliseconds(80));
    EXPECT_EQ(counter.calls.load(), 1);
    EXPECT_FALSE(timer.IsArmed());
    EXPECT_EQ(timer.GetKey(), 0u);
    EXPECT_TRUE(timer.Stop());  // nothing to stop
    ASSERT_TRUE(timer.StartOnce(5));
    ASSERT_TRUE(Eventually([&] { return counter.calls == 2; }));
    uint32_t interval = 0;
    timer.GetInterval(interval);
    EXPECT_EQ(interval, 30u);  // StartOnce(5) was for that run only
}

TEST_F(TimerTest, RepeatingFiresAtItsPeriodUntilStopped) {
    auto start = steady_clock::now();
    ASSERT_TRUE(timer.StartRepeating(20));
    EXPECT_FALSE(timer.StartRepeating(20));  // already armed
    EXPECT_FALSE(timer.StartOnce());
    ASSERT_TRUE(Eventually([&] { return counter.calls >= 4; }));
    timer.Stop();
    int calls = counter.calls;
    // Due times advance by the period from the start: never more calls than
    // whole periods elapsed.
    auto elapsed = duration_cast<milliseconds>(steady_clock::now() - start).count();
    EXPECT_LE(calls, elapsed / 20 + 1);
    std::this_thread::sleep_for(milliseconds(60));
    EXPECT_EQ(counter.calls.load(), calls);  // nothing after Stop returned
    uint32_t interval = 0, aux = 0;
    timer.GetInterval(interval);
    timer.GetAuxValue(aux);
    EXPECT_EQ(interval, 20u);
    EXPECT_EQ(aux, 100u);
}

TEST_F(TimerTest, SetIntervalRestartsFromNow) {
    ASSERT_TRUE(timer.StartRepeating(1000));
    std::this_thread::sleep_for(milliseconds(20));
    auto change = steady_clock::now();
    timer.SetInterval(60);
    EXPECT_TRUE(timer.IsArmed());
    ASSERT_TRUE(Eventually([&] { return counter.calls >= 1; }));
    auto first = steady_clock::now() - change;
    EXPECT_GE(first, milliseconds(50));
    EXPECT_LT(first, milliseconds(900));
    timer.Stop();
}

TEST(cRZCallbackTimer, TwoOneShotsDueTogetherBothFire) {
    cRZCallbackThread thread;
    TimerCounter ca, cb;
    cRZCallbackTimer a(&thread), b(&thread);
    a.SetCallback(&TimerCounter::Call, &ca);
    b.SetCallback(&TimerCounter::Call, &cb);
    a.StartOnce(15);
    b.StartOnce(15);
    ASSERT_TRUE(Eventually([&] { return ca.calls == 1 && cb.calls == 1; }));
}

TEST(cRZCallbackTimer, ACallbackMayStopItselfAndAnother) {
    cRZCallbackThread thread;
    TimerCounter c1, c2;
    cRZCallbackTimer first(&thread), second(&thread);
    c1.action = [&] {
        first.Stop();
        second.Stop();
    };
    first.SetCallback(&TimerCounter::Call, &c1);
    second.SetCallback(&TimerCounter::Call, &c2);
    second.StartRepeating(400);
    first.StartRepeating(10);
    ASSERT_TRUE(Eventually([&] { return c1.calls >= 1; }));
    std::this_thread::sleep_for(milliseconds(100));
    EXPECT_EQ(c1.calls.load(), 1);
    EXPECT_EQ(c2.calls.load(), 0);
    EXPECT_FALSE(first.IsArmed());
    EXPECT_FALSE(second.IsArmed());
}

TEST_F(TimerTest, StopFromAnotherThreadWaitsForACallUnderWay) {
    std::atomic<bool> inside{false}, finished{false};
    counter.action = [&] {
        inside = true;
        std::this_thread::sleep_for(milliseconds(50));
        finished = true;
    };
    timer.StartRepeating(5);
    ASSERT_TRUE(Eventually([&] { return inside.load(); }));
    timer.Stop();
    EXPECT_TRUE(finished.load());
    int calls = counter.calls;
    std::this_thread::sleep_for(milliseconds(30));
    EXPECT_EQ(counter.calls.load(), calls);
}

// A one-shot armed with a short interval may fall due before StartOnce has
// returned; the timer thread must still recognise it as armed and call it.
TEST_F(TimerTest, EveryOneShotArmedBackToBackFires) {
    ASSERT_TRUE(timer.SetInterval(0));
    for (int i = 1; i <= 300; ++i) {
        ASSERT_TRUE(timer.StartOnce());
        ASSERT_TRUE(Eventually([&] { return counter.calls == i; })) << "arming " << i << " never fired";
        EXPECT_FALSE(timer.IsArmed());
    }
}

// A timer owned outright (a member of its owner, not released) that is
// destroyed while its one-shot call runs: the destructor must wait for that
// call, since the timer thread still holds the timer until the call ends.
TEST(cRZCallbackTimer, DestroyingATimerWaitsForItsCallUnderWay) {
    cRZCallbackThread thread;
    auto timer = std::make_unique<cRZCallbackTimer>(&thread);
    TimerCounter counter;
    std::atomic<bool> inside{false}, letGo{false}, finished{false};
    counter.action = [&] {
        inside = true;
        Eventually([&] { return letGo.load(); });
        finished = true;
    };
    timer->SetCallback(&TimerCounter::Call, &counter);
    ASSERT_TRUE(timer->StartOnce(1));
    ASSERT_TRUE(Eventually([&] { return inside.load(); }));
    std::thread releaser([&] {
        std::this_thread::sleep_for(milliseconds(20));
        letGo = true;
    });
    timer.reset();
    EXPECT_TRUE(finished.load());
    releaser.join();
}

TEST_F(TimerTest, AThrowingCallbackIsReportedAndStopped) {
    ClearCallbackCrash();
    counter.action = [] { throw std::runtime_error("boom"); };
    timer.StartRepeating(5);
    ASSERT_TRUE(Eventually([&] { return GetCallbackCrash() != nullptr; }));
    ASSERT_TRUE(Eventually([&] { return !timer.IsArmed(); }));
    std::this_thread::sleep_for(milliseconds(30));
    EXPECT_EQ(counter.calls.load(), 1);
    ClearCallbackCrash();
}

TEST_F(TimerTest, AfterStopAllNothingFiresAgain) {
    timer.StartRepeating(10);
    ASSERT_TRUE(Eventually([&] { return counter.calls >= 1; }));
    thread.StopAll();
    int calls = counter.calls;
    timer.Stop();
    EXPECT_TRUE(timer.StartRepeating(5));
    std::this_thread::sleep_for(milliseconds(60));
    EXPECT_EQ(counter.calls.load(), calls);
    EXPECT_EQ(thread.GetEntryCount(), 1u);
}

TEST(cRZCallbackTimer, AReleasedTimerIsNotCalledAndIsDeleted) {
    cRZCallbackThread thread;
    auto* timer = new cRZCallbackTimer(&thread);
    EXPECT_EQ(timer->GetRefCount(), 1u);
    TimerCounter counter;
    timer->SetCallback(&TimerCounter::Call, &counter);
    timer->StartOnce(20);
    EXPECT_EQ(timer->Release(), 0u);  // deleted; its destructor disarmed it
    std::this_thread::sleep_for(milliseconds(60));
    EXPECT_EQ(counter.calls.load(), 0);
    EXPECT_EQ(thread.GetEntryCount(), 0u);
}

// Two threads arm and stop 100 one-shot timers for about two seconds. Every
// timer left armed must fire, none late beyond the tolerance, and none after
// Stop returned.
TEST(cRZCallbackTimer, StressTwoThreadsArmAndStopTimers) {
    cRZCallbackThread thread;
    constexpr int kTimers = 100;
    struct Slot {
        cRZCallbackTimer* timer = nullptr;
        std::atomic<int64_t> dueNs{0};
        std::atomic<bool> stopped{true};
        std::atomic<int> lateMs{0};
        std::atomic<int> firedWhileStopped{0};
        std::atomic<int> fired{0};
    };
    std::vector<Slot> slots(kTimers);
    auto nowNs = [] { return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count(); };
    struct Context {
        Slot* slot;
        decltype(nowNs)* now;
    };
    std::vector<Context> contexts(kTimers);
    auto fire = [](void* p) {
        auto* c = static_cast<Context*>(p);
        Slot* slot = c->slot;
        ++slot->fired;
        if (slot->stopped) ++slot->firedWhileStopped;
        int late = static_cast<int>(((*c->now)() - slot->dueNs) / 1000000);
        if (late > slot->lateMs) slot->lateMs = late;
    };
    for (int i = 0; i < kTimers; ++i) {
        contexts[i] = {&slots[i], &nowNs};
        slots[i].timer = new cRZCallbackTimer(&thread);
        slots[i].timer->SetCallback(fire, &contexts[i]);
    }
    auto worker = [&](int first, unsigned seed) {
        std::mt19937 rng(seed);
        auto end = steady_clock::now() + milliseconds(1800);
        while (steady_clock::now() < end) {
            Slot& s = slots[first + rng() % (kTimers / 2)];
            if (s.timer->IsArmed()) {
                s.timer->Stop();
                s.stopped = true;
            } else {
                uint32_t ms = 1 + rng() % 30;
                s.stopped = false;
                s.dueNs = nowNs() + int64_t(ms) * 1000000;
                s.timer->StartOnce(ms);
            }
            std::this_thread::sleep_for(microseconds(200));
        }
    };
    std::thread t1(worker, 0, 1u), t2(worker, kTimers / 2, 2u);
    t1.join();
    t2.join();
    // Every armed one-shot fires and disarms itself; a loaded machine may take
    // a while to get there, so wait for it (bounded) rather than a fixed time.
    auto armedCount = [&] {
        int n = 0;
        for (Slot& s : slots) n += s.timer->IsArmed() ? 1 : 0;
        return n;
    };
    support::Eventually([&] { return armedCount() == 0; });
    int armed = armedCount(), maxLate = 0, afterStop = 0, fired = 0;
    for (Slot& s : slots) {
        maxLate = std::max(maxLate, s.lateMs.load());
        afterStop += s.firedWhileStopped;
        fired += s.fired;
    }
    EXPECT_EQ(armed, 0);
    EXPECT_EQ(afterStop, 0);
    EXPECT_GT(fired, 100);
    EXPECT_LT(maxLate, 500);
    for (Slot& s : slots) s.timer->Release();
    EXPECT_EQ(thread.GetEntryCount(), 0u);
}

// Timers released while armed and due: the timer thread must not take a
// reference to one whose count already reached 0, or it deletes it a second
// time. The derived destructor is slow, so the thread sees the timer due
// while it is being destroyed.
TEST(cRZCallbackTimer, ReleasingADueTimerDeletesItOnce) {
    cRZCallbackThread thread;
    static std::atomic<int> destroyed{0};
    struct SlowTimer : cRZCallbackTimer {
        using cRZCallbackTimer::cRZCallbackTimer;
        ~SlowTimer() override {
            std::this_thread::sleep_for(milliseconds(3));
            ++destroyed;
        }
    };
    destroyed = 0;
    TimerCounter counter;
    constexpr int kTimers = 40;
    for (int i = 0; i < kTimers; ++i) {
        auto* timer = new SlowTimer(&thread);
        timer->SetCallback(&TimerCounter::Call, &counter);
        ASSERT_TRUE(timer->StartRepeating(1));
        std::this_thread::sleep_for(milliseconds(2));
        timer->Release();
    }
    std::this_thread::sleep_for(milliseconds(20));
    EXPECT_EQ(destroyed.load(), kTimers);
    EXPECT_EQ(thread.GetEntryCount(), 0u);
}

// A callback blocked at exit: the program's timer thread waits for it a
// bounded time and then lets the process end, leaving the thread object (and
// the timer the pass holds) in place. Had the exit waited for the callback,
// the callback's own return would end the process with code 3.
TEST(cRZCallbackTimerDeathTest, ExitDoesNotWaitForABlockedCallback) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            static std::atomic<bool> entered{false};
            auto* timer = new cRZCallbackTimer();  // on the program's timer thread
            timer->SetCallback(
                [](void*) {
                    entered = true;
                    std::this_thread::sleep_for(seconds(60));
                    std::_Exit(3);
                },
                nullptr);
            timer->StartOnce(1);
            while (!entered) std::this_thread::sleep_for(milliseconds(1));
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(cRZCallbackThread, ShutdownWaitsABoundedTimeForABlockedCallback) {
    cRZCallbackThread thread;
    std::atomic<bool> entered{false};
    std::atomic<bool> release{false};
    struct Context {
        std::atomic<bool>* entered;
        std::atomic<bool>* release;
    } context{&entered, &release};
    cRZCallbackTimer timer(&thread);
    timer.SetCallback(
        [](void* c) {
            auto* ctx = static_cast<Context*>(c);
            *ctx->entered = true;
            while (!*ctx->release) std::this_thread::sleep_for(milliseconds(1));
        },
        &context);
    ASSERT_TRUE(timer.StartOnce(1));
    while (!entered) std::this_thread::sleep_for(milliseconds(1));
    EXPECT_FALSE(thread.Shutdown(10));  // the callback is still blocked
    release = true;
    EXPECT_TRUE(thread.Shutdown(UINT32_MAX));
}
