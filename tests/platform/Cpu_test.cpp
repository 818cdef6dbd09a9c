#include "platform/Cpu.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Cpu, IdentificationIsConsistent) {
    const CpuInfo& cpu = Cpu();
    EXPECT_EQ(&cpu, &Cpu());  // read once
    EXPECT_FALSE(cpu.vendor.empty());
    if (cpu.hasCpuid) {
        EXPECT_EQ(cpu.vendor.size(), 12u);
        EXPECT_GE(cpu.family, 3u);
#if defined(__x86_64__)
        // Every 64-bit x86 processor has the time-stamp counter and MMX.
        EXPECT_TRUE(cpu.features & kCpuFeatureTsc);
        EXPECT_TRUE(cpu.features & kCpuFeatureMmx);
#endif
    } else {
        EXPECT_EQ(cpu.vendor, "Unknown");
        EXPECT_EQ(cpu.family, 6u);
        EXPECT_EQ(cpu.features, 0u);
    }
}
