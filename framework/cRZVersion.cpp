#include "framework/cRZVersion.h"

#include <algorithm>

#include "platform/Cpu.h"

uint32_t cRZVersion::GetProcessorClass() const { return std::min<uint32_t>(platform::Cpu().family & 0x7FFF, 10); }

uint32_t cRZVersion::GetFeatureFlags() const { return platform::Cpu().features; }

bool cRZVersion::HasMMX() const { return (GetFeatureFlags() & platform::kCpuFeatureMmx) != 0; }
