#include <gtest/gtest.h>

#include "framework/cRZCallbackThread.h"
#include "framework/cRZCallbackTimer.h"

namespace {

struct Counter {
    cRZCallbackTimer* timer = nullptr;
    cRZCallbackTimer* other = nullptr;
    int calls = 0;
    int limit = 0;
    enum Action { kNone, kStopSelf, kRestartSelf, kStopOther } action = kNone;
};

void Count(void* context) {
    auto* c = static_cast<Counter*>(context);
    ++c->calls;
    switch (c->action) {
        case Counter::kStopSelf:
            if (c->calls == c->limit) c->timer->Stop();
            break;
        case Counter::kRestartSelf:
            // A one-shot that arms itself again until its limit.
            if (c->calls < c->limit) {
                EXPECT_TRUE(c->timer->StartOnce(30));
            }
            break;
        case Counter::kStopOther:
            c->other->Stop();
            break;
        case Counter::kNone:
            break;
    }
}

}  // namespace

TEST(cRZCallbackThreadManual, AdvanceRunsTimersAsTheyFallDue) {
    cRZCallbackThread thread{cRZCallbackThread::Manual{}};
    auto* timer = new cRZCallbackTimer(&thread);
    Counter counter;
    timer->SetCallback(&Count, &counter);
    ASSERT_TRUE(timer->StartRepeating(100));
    EXPECT_TRUE(timer->IsRunning());
    thread.Advance(99);
    EXPECT_EQ(counter.calls, 0);
    thread.Advance(1);
    EXPECT_EQ(counter.calls, 1);
    thread.Advance(1000);
    EXPECT_EQ(counter.calls, 11);
    EXPECT_EQ(thread.GetNowMs(), 1100u);

    auto* once = new cRZCallbackTimer(&thread);
    Counter onceCounter;
    once->SetCallback(&Count, &onceCounter);
    ASSERT_TRUE(once->StartOnce(10));
    thread.Advance(100);
    EXPECT_EQ(onceCounter.calls, 1);
    EXPECT_FALSE(once->IsRunning());
    once->Release();
    timer->Release();
}

TEST(cRZCallbackThreadManual, CallbacksStopRestartAndStopOthersWithExactCounts) {
    cRZCallbackThread thread{cRZCallbackThread::Manual{}};
    auto* selfStop = new cRZCallbackTimer(&thread);
    Counter a{selfStop, nullptr, 0, 3, Counter::kStopSelf};
    selfStop->SetCallback(&Count, &a);
    selfStop->StartRepeating(10);

    auto* restart = new cRZCallbackTimer(&thread);
    Counter b{restart, nullptr, 0, 4, Counter::kRestartSelf};
    restart->SetCallback(&Count, &b);
    restart->StartOnce(30);

    auto* victim = new cRZCallbackTimer(&thread);
    Counter v;
    victim->SetCallback(&Count, &v);
    victim->StartRepeating(10);
    auto* killer = new cRZCallbackTimer(&thread);
    Counter k{killer, victim, 0, 0, Counter::kStopOther};
    killer->SetCallback(&Count, &k);
    killer->StartOnce(35);

    thread.Advance(1000);
    EXPECT_EQ(a.calls, 3);
    EXPECT_FALSE(selfStop->IsRunning());
    EXPECT_EQ(b.calls, 4);
    EXPECT_EQ(k.calls, 1);
    EXPECT_EQ(v.calls, 3);
    EXPECT_EQ(thread.GetEntryCount(), 0u);
    for (auto* t : {selfStop, restart, victim, killer}) t->Release();
}
