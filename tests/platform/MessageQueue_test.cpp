#include "platform/MessageQueue.h"

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

using namespace platform;
using namespace std::chrono;

TEST(MessageQueue, PeekWithAndWithoutRemove) {
    MessageQueue q;
    EXPECT_FALSE(q.Peek(false));
    intptr_t big = static_cast<intptr_t>(reinterpret_cast<uintptr_t>(&q));
    q.Post(kMsgUser + 1, big, -7);
    q.Post(kMsgUser + 2, 0, 0);
    auto m = q.Peek(false);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->message, kMsgUser + 1);
    EXPECT_EQ(m->wParam, big);  // a pointer survives the trip
    EXPECT_EQ(m->lParam, -7);
    EXPECT_EQ(q.Size(), 2u);
    EXPECT_EQ(q.Peek(true)->message, kMsgUser + 1);
    EXPECT_EQ(q.Peek(true)->message, kMsgUser + 2);
    EXPECT_FALSE(q.Peek(true));
}

TEST(MessageQueue, QuitComesAfterPostedMessagesWithItsCode) {
    MessageQueue q;
    q.PostQuit(3);
    q.Post(kMsgUser, 1, 2);
    EXPECT_EQ(q.Peek(true)->message, kMsgUser);
    auto quit = q.Peek(false);
    ASSERT_TRUE(quit);
    EXPECT_EQ(quit->message, kMsgQuit);
    EXPECT_EQ(quit->wParam, 3);
    EXPECT_TRUE(q.Peek(true));
    EXPECT_FALSE(q.Peek(true));  // read once
}

TEST(MessageQueue, QuitCodeCrossesThreads) {
    auto q = MessageQueue::Current();
    q->Clear();
    std::thread t([q] { q->PostQuit(3); });
    EXPECT_TRUE(q->Wait(5000));
    t.join();
    auto m = q->Peek(true);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->message, kMsgQuit);
    EXPECT_EQ(m->wParam, 3);
    EXPECT_EQ(MessageQueue::Current().get(), q.get());  // one queue per thread
}

TEST(MessageQueue, InputWaitingOnlyForKeysAndMouse) {
    MessageQueue q;
    q.Post(kMsgUser);
    EXPECT_FALSE(q.HasInput());
    EXPECT_TRUE(q.HasMessages());
    q.Post(0x0201);  // left button down
    EXPECT_TRUE(q.HasInput());
    q.Clear();
    q.Post(0x0100);  // key down
    EXPECT_TRUE(q.HasInput());
    EXPECT_TRUE(IsInputMessage(0x0109));
    EXPECT_FALSE(IsInputMessage(0x0110));
}

TEST(MessageQueue, WaitTimesOutAndEndsEarlyOnAPost) {
    MessageQueue q;
    auto start = steady_clock::now();
    EXPECT_FALSE(q.Wait(30));
    EXPECT_GE(steady_clock::now() - start, milliseconds(25));

    std::thread t([&] {
        std::this_thread::sleep_for(milliseconds(10));
        q.Post(0x0100);
    });
    start = steady_clock::now();
    EXPECT_TRUE(q.Wait(5000));
    EXPECT_LT(steady_clock::now() - start, seconds(4));
    t.join();
}
