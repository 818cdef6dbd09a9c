// The wave-reference fix-up on arbitrary bytes: it must stay inside the size
// it is given (the bytes are copied to a buffer of exactly that size).
#include "ui/graphics/WaveReferenceFixup.h"

#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> copy(data, data + size);
    FixupWaveReference(copy.data(), static_cast<uint32_t>(copy.size()));
    return 0;
}
