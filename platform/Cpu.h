// Processor identification: vendor text, family number and the feature word
// (leaf 1, EDX). Where the processor has no CPUID instruction (other
// architectures), fixed answers stand in: vendor "Unknown", family 6,
// features 0.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

struct CpuInfo {
    bool hasCpuid = false;
    std::string vendor;      // 12 characters from leaf 0, e.g. "GenuineIntel"
    uint32_t family = 0;     // base family plus extended family
    uint32_t model = 0;
    uint32_t features = 0;   // leaf 1 EDX
};

// Read once, then cached.
const CpuInfo& Cpu();

// Feature-word bits the program asks about.
inline constexpr uint32_t kCpuFeatureTsc = 1u << 4;
inline constexpr uint32_t kCpuFeatureMmx = 1u << 23;

}  // namespace platform
