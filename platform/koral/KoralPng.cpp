// PNG through libpng's simplified interface: any PNG reads as 8-bit BGRA.
#include "platform/koral/KoralAbi.h"
#include "platform/koral/KoralCodecs.h"

#include <png.h>

#include <cstring>

namespace koral {

bool AllocatePixels(Pixels& pixels, int64_t width, int64_t height) {
    if (!KoralSizeAcceptable(width, height)) return false;
    pixels.width = static_cast<int32_t>(width);
    pixels.height = static_cast<int32_t>(height);
    pixels.bgra.assign(static_cast<size_t>(width * height), 0);
    return true;
}

bool DecodePng(const uint8_t* data, size_t size, Pixels& out) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) return false;
    const int bits = static_cast<int>(PNG_IMAGE_SAMPLE_CHANNELS(image.format) * PNG_IMAGE_SAMPLE_COMPONENT_SIZE(image.format) * 8);
    if (!AllocatePixels(out, image.width, image.height)) {
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_BGRA;
    if (!png_image_finish_read(&image, nullptr, out.bgra.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    out.bits = bits;
    return true;
}

bool EncodePng(const Pixels& in, std::vector<uint8_t>& out) {
    if (!KoralSizeAcceptable(in.width, in.height)) return false;
    bool opaque = true;
    for (uint32_t p : in.bgra) opaque = opaque && (p >> 24) == 0xFF;
    // The simplified writer takes the colour layout of the input rows, so an
    // opaque picture is repacked as 3-byte rows first.
    std::vector<uint8_t> rows;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(in.width);
    image.height = static_cast<png_uint_32>(in.height);
    const void* source = in.bgra.data();
    if (opaque) {
        image.format = PNG_FORMAT_RGB;
        rows.resize(in.bgra.size() * 3);
        for (size_t i = 0; i < in.bgra.size(); ++i) {
            rows[i * 3] = static_cast<uint8_t>(in.bgra[i] >> 16);
            rows[i * 3 + 1] = static_cast<uint8_t>(in.bgra[i] >> 8);
            rows[i * 3 + 2] = static_cast<uint8_t>(in.bgra[i]);
        }
        source = rows.data();
    } else {
        image.format = PNG_FORMAT_BGRA;
    }
    png_alloc_size_t bytes = 0;
    if (!png_image_write_to_memory(&image, nullptr, &bytes, 0, source, 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    out.resize(bytes);
    if (!png_image_write_to_memory(&image, out.data(), &bytes, 0, source, 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    out.resize(bytes);
    return true;
}

}  // namespace koral
