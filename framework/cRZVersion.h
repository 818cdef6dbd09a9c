// The processor questions the game asks at start-up: its class (family,
// at most 10), its feature word and whether it has MMX.
#pragma once

#include <cstdint>

class cRZVersion {
public:
    cRZVersion() = default;
    virtual ~cRZVersion() = default;

    uint32_t GetProcessorClass() const;
    uint32_t GetFeatureFlags() const;  // leaf-1 EDX word; 0 without CPUID
    bool HasMMX() const;
};
