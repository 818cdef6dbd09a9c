#include "framework/cRZThread.h"

#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

#include "support/Eventually.h"

using namespace std::chrono;

namespace {

struct Body : cIGZThreadStartable {
    std::atomic<int> runs{0};
    int result = 11;
    int Run() override {
        ++runs;
        return result;
    }
};

int AddOne(void* arg) { return *static_cast<int*>(arg) + 1; }

}  // namespace

TEST(cRZThread, RunsAnObjectOrAFunctionAndKeepsTheExitCode) {
    cRZThread thread;
    Body body;
    ASSERT_TRUE(thread.Start(&body));
    EXPECT_TRUE(thread.WaitForEnd());
    int code = 0;
    EXPECT_FALSE(thread.GetExitCode(code));  // no longer running...
    EXPECT_EQ(code, 11);                     // ...but the code is kept
    // A finished thread can be started again.
    int arg = 41;
    ASSERT_TRUE(thread.StartFunction(&AddOne, &arg));
    thread.WaitForEnd();
    thread.GetExitCode(code);
    EXPECT_EQ(code, 42);
}

TEST(cRZThread, StartWhileRunningStartsNothing) {
    cRZThread thread;
    std::atomic<bool> release{false};
    struct Wait : cIGZThreadStartable {
        std::atomic<bool>* release;
        int Run() override {
            while (!*release) std::this_thread::sleep_for(milliseconds(1));
            return 0;
        }
    } waiter;
    waiter.release = &release;
    Body other;
    ASSERT_TRUE(thread.Start(&waiter));
    EXPECT_FALSE(thread.Start(&other));
    uint32_t id = 0;
    EXPECT_TRUE(thread.GetThreadId(id));
    EXPECT_NE(id, 0u);
    release = true;
    thread.WaitForEnd();
    EXPECT_EQ(other.runs.load(), 0);
}

TEST(cRZThread, ExitFromInsideAndWaitForEndOnItself) {
    cRZThread thread;
    std::atomic<int> selfWait{-1};
    struct Exiter : cIGZThreadStartable {
        cRZThread* thread;
        std::atomic<int>* selfWait;
        int Run() override {
            *selfWait = thread->WaitForEnd() ? 1 : 0;
            thread->Exit(9);
            return 1;  // not reached
        }
    } body;
    body.thread = &thread;
    body.selfWait = &selfWait;
    ASSERT_TRUE(thread.Start(&body));
    thread.WaitForEnd();
    int code = 0;
    thread.GetExitCode(code);
    EXPECT_EQ(code, 9);
    EXPECT_EQ(selfWait.load(), 0);
}

TEST(cRZThread, SuspendOnlyItselfAndAlertableSleepWokenByWake) {
    cRZThread thread;
    std::atomic<int> stage{0};
    std::atomic<int> otherSuspend{99};
    struct Body2 : cIGZThreadStartable {
        cRZThread* thread;
        std::atomic<int>* stage;
        int Run() override {
            *stage = 1;
            thread->Suspend();
            *stage = 2;
            SleepMicroseconds(60u * 1000 * 1000);  // a minute, unless woken
            *stage = 3;
            return 0;
        }
    } body;
    body.thread = &thread;
    body.stage = &stage;
    ASSERT_TRUE(thread.Start(&body));
    ASSERT_TRUE(support::Eventually([&] { return stage == 1; }));
    std::thread([&] { otherSuspend = thread.Suspend(); }).join();
    EXPECT_EQ(otherSuspend.load(), -1);  // another thread cannot suspend it
    ASSERT_TRUE(support::Eventually([&] { return thread.Resume() == 1; }));
    ASSERT_TRUE(support::Eventually([&] { return stage == 2; }));
    ASSERT_TRUE(thread.Wake());
    ASSERT_TRUE(support::Eventually([&] { return stage == 3; }));
    thread.WaitForEnd();
}

TEST(cRZThread, PriorityScale) {
    cRZThread thread;
    EXPECT_EQ(thread.GetPriority(), 3);  // normal
    EXPECT_TRUE(thread.SetPriority(6));
    EXPECT_EQ(thread.GetPriority(), 6);
    EXPECT_FALSE(thread.SetPriority(7));
    EXPECT_FALSE(thread.SetPriority(-1));
    EXPECT_EQ(thread.GetPriority(), 6);
}

TEST(cRZThread, DestroyingTheObjectWaitsForTheThread) {
    std::atomic<bool> finished{false};
    struct Slow : cIGZThreadStartable {
        std::atomic<bool>* finished;
        int Run() override {
            std::this_thread::sleep_for(milliseconds(20));
            *finished = true;
            return 0;
        }
    } body;
    body.finished = &finished;
    {
        cRZThread thread;
        ASSERT_TRUE(thread.Start(&body));
    }
    EXPECT_TRUE(finished.load());
}
