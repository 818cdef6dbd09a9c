// What processor the program runs on, in the three answers the rest of the
// program asks for: whether CPUID exists, the family (with bit 15 set for a
// processor not made by the vendor the graphics code was tuned for) and the
// feature word. Each has a form taking a given CpuInfo, so every answer can
// be tested on any machine.
#pragma once

#include "platform/Cpu.h"

#include <cstdint>

// 1 once GetCPUType or GetCPUFeatures saw a vendor other than "GenuineIntel"
// (or no CPUID at all); read by nothing but kept for callers that report it.
extern int16_t gNonIntelCpu;

int HasCpuid();
uint32_t GetCPUType();
uint32_t GetCPUFeatures();

int HasCpuid(const platform::CpuInfo& cpu);
uint32_t GetCPUType(const platform::CpuInfo& cpu);
uint32_t GetCPUFeatures(const platform::CpuInfo& cpu);
