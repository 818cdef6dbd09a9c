// The 8-bit run-length bitmap reader on arbitrary bytes: loading must refuse
// or accept, and drawing a sub-rectangle chosen by the input's first bytes
// into a small buffer must never write outside it (AddressSanitizer watches).
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cGZBufferBMPProxy.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    const int32_t left = data[0] % 40 - 8, top = data[1] % 40 - 8;
    const int32_t right = left + data[2] % 48, bottom = top + data[3] % 48;
    cGZBufferBMPProxy proxy("fuzz.bmp");
    if (!proxy.LoadBytes(std::string(reinterpret_cast<const char*>(data + 4), size - 4))) return 0;
    static cGZBuffer* dest = [] {
        auto* b = new cGZBuffer;
        b->Init(17, 13, cGZBuffer::kFormat565, 16, nullptr, 0, cGZBuffer::kKindPlain);
        return b;
    }();
    proxy.DrawTo(*dest, data[0] % 7 - 3, data[1] % 7 - 3, {left, top, right, bottom});
    return 0;
}
