// Row kernels of the 16-bit same-size blits: a constant-alpha mix (optionally
// skipping a key colour) and a keyed copy, for the 565 and 555 layouts. The
// scalar set is the reference; the wide set works eight pixels a step where
// the processor allows (SSE2 on x86-64) and gives the same pixels.
#pragma once

#include <cstdint>

namespace platform {

struct BlitRowKernels {
    // dst[x] = mix(src[x * step], dst[x], alpha), step 1 or -1 (mirrored);
    // when `keyed`, source pixels equal to `key` leave dst as it was.
    void (*alpha565)(uint16_t* dst, const uint16_t* src, int32_t n, bool mirror, bool keyed, uint16_t key,
                     unsigned alpha);
    void (*alpha555)(uint16_t* dst, const uint16_t* src, int32_t n, bool mirror, bool keyed, uint16_t key,
                     unsigned alpha);
    // dst[x] = src[x * step] unless that equals `key`.
    void (*keyed)(uint16_t* dst, const uint16_t* src, int32_t n, bool mirror, uint16_t key);
    const char* name;
};

const BlitRowKernels& ScalarBlitRows();
// The widest set this processor runs; the scalar set where there is none.
const BlitRowKernels& WideBlitRows();

}  // namespace platform
