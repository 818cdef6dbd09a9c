#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tarn/TarnPrint.h"
#include "tarn/TarnSystem.h"

namespace {

TEST(TarnCopyFill, EveryLengthAndAlignment) {
    uint8_t source[80], destination[96];
    for (int i = 0; i < 80; ++i) source[i] = static_cast<uint8_t>(i * 7 + 1);
    for (int offset = 0; offset < 8; ++offset)
        for (size_t n = 0; n <= 70; ++n) {
            std::memset(destination, 0xEE, sizeof destination);
            TarnCopy(destination + offset, source, n);
            EXPECT_EQ(std::memcmp(destination + offset, source, n), 0);
            EXPECT_EQ(destination[offset + n], 0xEE) << "past the end";
            if (offset > 0) {
                EXPECT_EQ(destination[offset - 1], 0xEE);
            }
            std::memset(destination, 0xEE, sizeof destination);
            TarnFill(destination + offset, 0, n);
            for (size_t k = 0; k < n; ++k) ASSERT_EQ(destination[offset + k], 0);
            EXPECT_EQ(destination[offset + n], 0xEE);
        }
}

TEST(TarnPages, OneByteGetsOnePage) {
    size_t size = 1;
    void* block = TarnPageAlloc(&size);
    ASSERT_NE(block, nullptr);
    EXPECT_GE(size, 4096u);
    EXPECT_EQ(size & (size - 1), 0u);  // a power of two: the page size
    std::memset(block, 0x5A, size);
    TarnPageFree(block);
}

TEST(TarnPriorities, MapBothWays) {
    const int system[7] = {-15, -2, -1, 0, 1, 2, 15};
    for (int level = -3; level <= 3; ++level) {
        EXPECT_EQ(TarnPriorityToSystem(level), system[level + 3]);
        EXPECT_EQ(TarnPriorityFromSystem(system[level + 3]), level);
    }
    EXPECT_EQ(TarnPriorityToSystem(9), 0);
    EXPECT_EQ(TarnPriorityFromSystem(7), 0);
}

std::vector<uint32_t> gSleeps;

TEST(TarnSleeps, TicksBecomeMilliseconds) {
    gSleeps.clear();
    TarnSetSleepRoutine([](uint32_t ms) { gSleeps.push_back(ms); });
    TarnSleepTicks(50);
    TarnSleep(7);
    TarnSetSleepRoutine(nullptr);
    EXPECT_EQ(gSleeps, (std::vector<uint32_t>{500, 7}));
    EXPECT_EQ(TarnTicksPerSecond(), 100u);
}

TEST(TarnThreads, RoutineRunsAndJoins) {
    std::atomic<int> value{0};
    TarnThreadRecord record;
    TarnThreadHandle handle = TarnThreadCreateRoutine(
        [](void* user) {
            static_cast<std::atomic<int>*>(user)->store(42);
            return 0;
        },
        &value, 0, 1, &record);
    ASSERT_NE(handle, nullptr);
    EXPECT_GT(record.serial, 0u);
    EXPECT_GE(record.slot, 0);
    EXPECT_EQ(record.priority, 1);
    EXPECT_TRUE(TarnThreadJoin(&record, 0));
    EXPECT_TRUE(TarnThreadIsGone(&record));
    EXPECT_EQ(value.load(), 42);
    EXPECT_GT(TarnThreadSlotCount(), 100);
    EXPECT_TRUE(TarnIsThread(nullptr));  // the test runs on the main thread
    EXPECT_TRUE(TarnIsThread(kTarnCurrentThread));
}

class Waiter : public TarnRunnable {
public:
    TarnEventHandle go = TarnEventCreate();
    std::atomic<bool> sawItself{false};
    int Run(TarnThreadRecord& record) override {
        sawItself = TarnIsThread(&record) && !TarnIsThread(nullptr);
        TarnEventWait(go);
        TarnThreadExit();
    }
};

TEST(TarnThreads, ObjectThreadWaitsForItsEventAndExits) {
    Waiter waiter;
    TarnThreadRecord record;
    ASSERT_NE(TarnThreadCreate(&waiter, 0, 0, &record), nullptr);
    EXPECT_FALSE(TarnThreadJoin(&record, 1));  // one wait of 10 ms: still waiting for its event
    EXPECT_FALSE(TarnThreadTerminate(&record));  // another thread cannot be ended from outside
    TarnEventSet(waiter.go);
    EXPECT_TRUE(TarnThreadJoin(&record, 0));
    EXPECT_TRUE(waiter.sawItself.load());
    TarnEventClose(waiter.go);
}

TEST(TarnEvents, WaitAnyAnswersTheSignalledOne) {
    TarnEventHandle events[2] = {TarnEventCreate(), TarnEventCreateManual()};
    EXPECT_EQ(TarnWaitAny(2, events, 0), nullptr);
    TarnEventSet(events[1]);
    EXPECT_EQ(TarnWaitAny(2, events, 0), events[1]);
    EXPECT_EQ(TarnWaitAny(2, events, 0), events[1]);  // manual reset stays set
    TarnEventReset(events[1]);
    TarnEventSet(events[0]);
    EXPECT_TRUE(TarnEventWaitTicks(events[0], 1));
    EXPECT_FALSE(TarnEventWaitTicks(events[0], 0));  // automatic reset consumed it
    TarnEventClose(events[0]);
    TarnEventSignalAndClose(events[1]);
}

TEST(TarnLocks, PoolRefillsAndMarksFreeNodes) {
    std::vector<TarnLock*> locks;
    for (int i = 0; i < 40; ++i) {
        TarnLock* lock = TarnLockCreate();
        ASSERT_NE(lock, nullptr);
        EXPECT_NE(TarnLockMarker(lock), kTarnFreeLockMarker);
        locks.push_back(lock);
    }
    EXPECT_GT(TarnLockNodesPerRefill(), 32);  // after the first refill: what fitted in the pages
    TarnLockEnter(locks[0]);
    TarnLockEnter(locks[0]);  // recursive
    TarnLockLeave(locks[0]);
    TarnLockLeave(locks[0]);
    TarnLock* first = locks[0];
    for (TarnLock* lock : locks) TarnLockDestroy(lock);
    EXPECT_EQ(TarnLockMarker(first), kTarnFreeLockMarker);
}

TEST(TarnErrors, TextCarriesTheLowBits) {
    char text[64];
    TarnSetLastError(0x12345);
    EXPECT_EQ(TarnErrorText(text), 0x12345u);
    EXPECT_STREQ(text, "[ 9029] sorry, not implemented");  // 0x2345
}

}  // namespace
