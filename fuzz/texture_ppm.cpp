// Arbitrary bytes as a PPM texture, into a 565 and an indexed target.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "character/TextureImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TextureImage image;
    ReadPpmTexture(bytes, TexturePixelFormat::Rgb565(), image);
    TextureImage indexed;
    ReadPpmTexture(bytes, TexturePixelFormat::Indexed8(), indexed);
    return 0;
}
