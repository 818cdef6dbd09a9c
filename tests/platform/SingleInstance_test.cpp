#include "platform/SingleInstance.h"

#include <gtest/gtest.h>

#include "support/ScratchDir.h"

using platform::SingleInstance;

TEST(SingleInstance, SecondCopyRaisesTheFirst) {
    tova_test::ScratchDir dir;
    SingleInstance first("Autoplay", dir.Path());
    ASSERT_TRUE(first.Acquire());
    EXPECT_FALSE(first.PollRaiseRequest());
    EXPECT_TRUE(SingleInstance::IsRunning("Autoplay", dir.Path()));

    SingleInstance second("Autoplay", dir.Path());
    EXPECT_FALSE(second.Acquire());
    EXPECT_FALSE(second.IsFirst());
    EXPECT_TRUE(second.AskFirstToRaise());
    EXPECT_TRUE(first.PollRaiseRequest());
    EXPECT_FALSE(first.PollRaiseRequest());  // once per request
}

TEST(SingleInstance, LockIsFreeWhenTheFirstEnds) {
    tova_test::ScratchDir dir;
    {
        SingleInstance first("tova", dir.Path());
        ASSERT_TRUE(first.Acquire());
    }
    EXPECT_FALSE(SingleInstance::IsRunning("tova", dir.Path()));
    SingleInstance again("tova", dir.Path());
    EXPECT_TRUE(again.Acquire());
    // Nobody listens under another name.
    SingleInstance other("other", dir.Path());
    EXPECT_FALSE(other.AskFirstToRaise());
    EXPECT_FALSE(SingleInstance::IsRunning("never", dir.Path()));
}
