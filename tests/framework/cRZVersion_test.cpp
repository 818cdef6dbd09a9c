#include "framework/cRZVersion.h"

#include <gtest/gtest.h>

#include "platform/Cpu.h"

TEST(cRZVersion, ProcessorAnswers) {
    cRZVersion version;
    EXPECT_LE(version.GetProcessorClass(), 10u);
    EXPECT_EQ(version.GetFeatureFlags(), platform::Cpu().features);
    EXPECT_EQ(version.HasMMX(), (platform::Cpu().features >> 23 & 1) != 0);
    if (platform::Cpu().family >= 10) {
        EXPECT_EQ(version.GetProcessorClass(), 10u);
    }
}
