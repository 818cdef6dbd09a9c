// Bitmap file bytes through the bitmap loader at each mode: it must refuse or
// decode, never read or write outside (AddressSanitizer watches).
#include <cstdint>
#include <string_view>

#include "neighborhood/BitmapFile.h"
#include "ui/graphics/cGZBuffer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const int32_t mode : {0, kBitmapModePalette}) {
        if (cGZBuffer* buffer = LoadBitmapBytes(bytes, mode)) buffer->Release();
    }
    return 0;
}
