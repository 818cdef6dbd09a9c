#include "platform/Cpu.h"

#include <cstring>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#define TOVA_HAVE_CPUID 1
#endif

namespace platform {

namespace {

CpuInfo ReadCpu() {
    CpuInfo info;
#ifdef TOVA_HAVE_CPUID
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (__get_cpuid(0, &a, &b, &c, &d)) {
        info.hasCpuid = true;
        char vendor[13];
        std::memcpy(vendor + 0, &b, 4);
        std::memcpy(vendor + 4, &d, 4);
        std::memcpy(vendor + 8, &c, 4);
        vendor[12] = '\0';
        info.vendor = vendor;
        if (a >= 1 && __get_cpuid(1, &a, &b, &c, &d)) {
            uint32_t baseFamily = (a >> 8) & 0xF;
            uint32_t baseModel = (a >> 4) & 0xF;
            info.family = baseFamily == 0xF ? baseFamily + ((a >> 20) & 0xFF) : baseFamily;
            info.model = (baseFamily == 0x6 || baseFamily == 0xF) ? (((a >> 16) & 0xF) << 4) | baseModel : baseModel;
            info.features = d;
        }
        return info;
    }
#endif
    info.vendor = "Unknown";
    info.family = 6;
    info.features = 0;
    return info;
}

}  // namespace

const CpuInfo& Cpu() {
    static const CpuInfo info = ReadCpu();
    return info;
}

}  // namespace platform
