#include "ui/graphics/WaveReferenceFixup.h"

#include <utility>

uint32_t FixupWaveReference(uint8_t* data, uint32_t size) {
    if (!data) return 0;
    uint32_t length = 0;
    while (length < size && data[length] != 0) ++length;
    if (static_cast<uint64_t>(length) + 1 >= size) return length + 1;
    const uint64_t boundary = (static_cast<uint64_t>(length) + 1 + 3) & ~uint64_t{3};
    if (boundary + 6 > size) return length + 1;
    for (uint64_t i = boundary; i < boundary + 6; i += 2) std::swap(data[i], data[i + 1]);
    return static_cast<uint32_t>(boundary + 6);
}
