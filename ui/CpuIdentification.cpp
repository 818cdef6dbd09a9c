#include "ui/CpuIdentification.h"

int16_t gNonIntelCpu = 0;

namespace {

constexpr uint32_t kNonIntelBit = 0x8000;

void NoteVendor(const platform::CpuInfo& cpu) {
    gNonIntelCpu = (!cpu.hasCpuid || cpu.vendor != "GenuineIntel") ? 1 : 0;
}

}  // namespace

int HasCpuid(const platform::CpuInfo& cpu) { return cpu.hasCpuid ? 1 : 0; }

// Without CPUID the family is what the platform layer reports for such
// machines; the flag tests for pre-CPUID processors have no meaning here.
uint32_t GetCPUType(const platform::CpuInfo& cpu) {
    NoteVendor(cpu);
    uint32_t type = cpu.family & 0xFF;
    if (gNonIntelCpu) type |= kNonIntelBit;
    return type;
}

uint32_t GetCPUFeatures(const platform::CpuInfo& cpu) {
    if (!cpu.hasCpuid) return 0;
    NoteVendor(cpu);
    return cpu.features;
}

int HasCpuid() { return HasCpuid(platform::Cpu()); }
uint32_t GetCPUType() { return GetCPUType(platform::Cpu()); }
uint32_t GetCPUFeatures() { return GetCPUFeatures(platform::Cpu()); }
