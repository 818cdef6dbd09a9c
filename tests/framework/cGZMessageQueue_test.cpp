#include "framework/cGZMessageQueue.h"

#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "framework/cGZMessageQueueManager.h"

namespace {

cGZMessage M(uint32_t type, intptr_t a = 0) { return {type, a, 0, 0}; }

std::vector<uint32_t> Types(cGZMessageQueue& q) {
    std::vector<uint32_t> out;
    cGZMessage m;
    while (q.PopFront(m)) out.push_back(m.type);
    return out;
}

}  // namespace

TEST(cGZMessageQueue, EmptyQueueAnswers) {
    cGZMessageQueue q;
    cGZMessage out = M(99, 5);
    EXPECT_FALSE(q.PopFront(out));
    EXPECT_EQ(out, M(99, 5));  // unchanged
    EXPECT_EQ(q.PopFrontType(), 0u);
    EXPECT_EQ(q.FrontType(), 0u);
    EXPECT_FALSE(q.PeekBack(out));
}

TEST(cGZMessageQueue, RemovalsByTypeAndByRecord) {
    cGZMessageQueue q;
    for (uint32_t t : {5u, 7u, 5u}) q.PushBack(M(t));
    EXPECT_EQ(q.RemoveAllOfType(5), 2u);
    EXPECT_EQ(Types(q), (std::vector<uint32_t>{7}));

    for (auto m : {M(1, 1), M(2), M(1, 2), M(1, 1)}) q.PushBack(m);
    EXPECT_TRUE(q.RemoveLast(M(1, 1)));
    EXPECT_TRUE(q.ContainsType(1));
    EXPECT_FALSE(q.Contains(M(1, 3)));
    EXPECT_TRUE(q.RemoveFirstOfType(1));  // the first 1 (a = 1)
    cGZMessage front;
    ASSERT_TRUE(q.PeekFront(front));
    EXPECT_EQ(front, M(2));
    EXPECT_TRUE(q.RemoveLastOfType(1));
    EXPECT_FALSE(q.RemoveLastOfType(1));
    EXPECT_EQ(q.Clear(), 1u);

    q.PushBack(M(3));
    q.PushFront(M(4));
    EXPECT_EQ(q.FrontType(), 4u);
    EXPECT_EQ(q.BackType(), 3u);
    EXPECT_EQ(q.PopBackType(), 3u);
    EXPECT_EQ(q.RemoveAll(M(4)), 1u);
}

TEST(cGZMessageQueue, BlockingReadsWaitForAWriterWithoutLosingAny) {
    cGZMessageQueue q;
    constexpr int kCount = 2000;
    std::atomic<int> sum{0};
    std::thread reader([&] {
        for (int i = 0; i < kCount; ++i) {
            cGZMessage m;
            q.WaitPopFront(m);
            sum += static_cast<int>(m.a);
        }
    });
    std::thread writer([&] {
        for (int i = 1; i <= kCount; ++i) {
            q.PushBack(M(1, i));
            if (i % 100 == 0) std::this_thread::yield();
        }
    });
    writer.join();
    reader.join();
    EXPECT_EQ(sum.load(), kCount * (kCount + 1) / 2);
    EXPECT_EQ(q.Count(), 0u);
}

TEST(cGZMessageQueue, LiveQueuesAreCounted) {
    int32_t before = cGZMessageQueue::GetLiveQueueCount();
    {
        cGZMessageQueue a, b;
        EXPECT_EQ(cGZMessageQueue::GetLiveQueueCount(), before + 2);
    }
    EXPECT_EQ(cGZMessageQueue::GetLiveQueueCount(), before);
}

TEST(cGZMessageQueueManager, QueuesById) {
    int32_t before = cGZMessageQueue::GetLiveQueueCount();
    {
        cGZMessageQueueManager manager;
        EXPECT_EQ(manager.GetServiceID(), 0);
        EXPECT_TRUE(manager.CreateQueue(7));
        EXPECT_FALSE(manager.CreateQueue(7));

        cIGZMessageQueue* out = reinterpret_cast<cIGZMessageQueue*>(&manager);
        EXPECT_FALSE(manager.FindQueue(9, out));
        EXPECT_EQ(out, nullptr);
        EXPECT_EQ(manager.GetQueueCount(), 1u);
        EXPECT_TRUE(manager.CreateQueue(9));

        auto* mine = new cGZMessageQueue;
        EXPECT_TRUE(manager.AddQueue(3, mine));
        EXPECT_FALSE(manager.AddQueue(3, mine));
        EXPECT_TRUE(manager.FindQueue(3, out));
        EXPECT_EQ(out, mine);
        EXPECT_TRUE(manager.RemoveQueue(mine, false));  // not released: still ours
        EXPECT_FALSE(manager.RemoveQueue(mine, false));
        mine->Release();
        EXPECT_TRUE(manager.RemoveQueueById(9, true));
        EXPECT_FALSE(manager.RemoveQueueById(9, true));
        EXPECT_EQ(manager.GetQueueCount(), 1u);
        EXPECT_TRUE(manager.Init());
        EXPECT_TRUE(manager.Shutdown());
    }
    // The manager released the queue it still held.
    EXPECT_EQ(cGZMessageQueue::GetLiveQueueCount(), before);
}
