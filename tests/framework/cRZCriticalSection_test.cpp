#include "framework/cRZCriticalSection.h"

#include <thread>

#include <gtest/gtest.h>

#include "framework/cRZLock.h"

TEST(cRZCriticalSection, LockCountAndTryEnterFromAnotherThread) {
    cRZCriticalSection cs;
    EXPECT_TRUE(cs.IsValid());
    {
        cRZLock outer(cs);
        cRZLock inner(cs);  // the holder may enter again
        EXPECT_EQ(cs.GetLockCount(), 2);
        bool other = true;
        std::thread([&] { other = cs.TryEnter(); }).join();
        EXPECT_FALSE(other);
        EXPECT_EQ(cs.GetLockCount(), 2);
    }
    EXPECT_EQ(cs.GetLockCount(), 0);
    bool other = false;
    std::thread([&] {
        other = cs.TryEnter();
        if (other) cs.Leave();
    }).join();
    EXPECT_TRUE(other);
}
