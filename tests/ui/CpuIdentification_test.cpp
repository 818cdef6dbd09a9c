#include "ui/CpuIdentification.h"

#include <gtest/gtest.h>

namespace {

platform::CpuInfo Info(bool cpuid, const char* vendor, uint32_t family, uint32_t features) {
    platform::CpuInfo info;
    info.hasCpuid = cpuid;
    info.vendor = vendor;
    info.family = family;
    info.features = features;
    return info;
}

TEST(CpuIdentification, IntelFamilyHasNoVendorBit) {
    const auto intel = Info(true, "GenuineIntel", 6, 0x00800010);
    EXPECT_EQ(HasCpuid(intel), 1);
    EXPECT_EQ(GetCPUType(intel), 6u);
    EXPECT_EQ(gNonIntelCpu, 0);
    EXPECT_EQ(GetCPUFeatures(intel), 0x00800010u);
}

TEST(CpuIdentification, OtherVendorsSetBit15AndTheFlag) {
    for (const char* vendor : {"AuthenticAMD", "GenuineIntek", "CentaurHauls"}) {
        const auto other = Info(true, vendor, 0x17, 0x1);
        EXPECT_EQ(GetCPUType(other), 0x8017u) << vendor;
        EXPECT_EQ(gNonIntelCpu, 1);
        EXPECT_EQ(GetCPUFeatures(Info(true, "GenuineIntel", 6, 0)), 0u);
        EXPECT_EQ(gNonIntelCpu, 0) << "the feature query runs the vendor test too";
    }
}

TEST(CpuIdentification, WithoutCpuidNoFeatures) {
    const auto none = Info(false, "Unknown", 6, 0xFFFF);
    EXPECT_EQ(HasCpuid(none), 0);
    EXPECT_EQ(GetCPUFeatures(none), 0u);
    EXPECT_EQ(GetCPUType(none) & 0xFF, 6u);
}

TEST(CpuIdentification, ThisMachineAgreesWithThePlatform) {
    EXPECT_EQ(GetCPUFeatures(), platform::Cpu().hasCpuid ? platform::Cpu().features : 0u);
    EXPECT_EQ(GetCPUType() & 0xFF, platform::Cpu().family & 0xFF);
}

}  // namespace
