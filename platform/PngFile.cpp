#include "platform/PngFile.h"
#include "platform/File.h"

#include "platform/AtomicFile.h"

#include <png.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace platform {

namespace {

// Larger pictures are refused before anything is allocated for them.
constexpr uint32_t kMaxPngSide = 16384;

void SetError(std::string* error, std::string text) {
    if (error) *error = std::move(text);
}

}  // namespace

std::optional<Image> ReadPngMemory(std::string_view bytes, std::string* error) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size())) {
        SetError(error, std::string("not a readable PNG: ") + png.message);
        png_image_free(&png);
        return std::nullopt;
    }
    if (png.width == 0 || png.height == 0 || png.width > kMaxPngSide || png.height > kMaxPngSide) {
        SetError(error, "PNG size " + std::to_string(png.width) + "x" + std::to_string(png.height) + " out of range");
        png_image_free(&png);
        return std::nullopt;
    }
    Image image;
    const bool alpha = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.channels = alpha ? 4 : 3;
    png.format = alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    image.width = static_cast<int32_t>(png.width);
    image.height = static_cast<int32_t>(png.height);
    image.pixels.resize(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) {
        SetError(error, std::string("damaged PNG: ") + png.message);
        png_image_free(&png);
        return std::nullopt;
    }
    png_image_free(&png);
    return image;
}

std::optional<Image> ReadPngFile(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        SetError(error, "cannot open " + path);
        return std::nullopt;
    }
    const std::string bytes = platform::ReadRest(in);
    std::string why;
    auto image = ReadPngMemory(bytes, &why);
    if (!image) SetError(error, path + ": " + why);
    return image;
}

std::optional<std::string> WritePngMemory(const Image& image, std::string* error) {
    if (image.width <= 0 || image.height <= 0 || (image.channels != 3 && image.channels != 4) ||
        image.pixels.size() != static_cast<size_t>(image.width) * image.height * image.channels) {
        SetError(error, "image has no pixels or the wrong number of them");
        return std::nullopt;
    }
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = static_cast<png_uint_32>(image.width);
    png.height = static_cast<png_uint_32>(image.height);
    png.format = image.channels == 4 ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(png, size, 0, image.pixels.data(), 0, nullptr)) {
        SetError(error, std::string("PNG encoding failed: ") + png.message);
        png_image_free(&png);
        return std::nullopt;
    }
    std::string out(size, '\0');
    if (!png_image_write_to_memory(&png, out.data(), &size, 0, image.pixels.data(), 0, nullptr)) {
        SetError(error, std::string("PNG encoding failed: ") + png.message);
        png_image_free(&png);
        return std::nullopt;
    }
    png_image_free(&png);
    out.resize(size);
    return out;
}

bool WritePngFile(const std::string& path, const Image& image, std::string* error) {
    auto bytes = WritePngMemory(image, error);
    if (!bytes) return false;
    return SaveFileAtomically(path, *bytes, error);
}

Image ImageFromSurface(const Surface& surface) {
    Image image;
    image.width = surface.Width();
    image.height = surface.Height();
    image.channels = 3;
    image.pixels.resize(static_cast<size_t>(image.width) * image.height * 3);
    uint8_t* out = image.pixels.data();
    for (int32_t y = 0; y < image.height; ++y) {
        for (int32_t x = 0; x < image.width; ++x, out += 3) {
            switch (surface.Layout()) {
                case PixelLayout::Rgb565:
                case PixelLayout::Rgb555:
                    UnpackRgb(surface.Layout(), surface.Pixel16(x, y), out[0], out[1], out[2]);
                    break;
                case PixelLayout::Index8:
                    out[0] = out[1] = out[2] = surface.Pixel8(x, y);
                    break;
                case PixelLayout::Depth16:
                    out[0] = out[1] = out[2] = static_cast<uint8_t>(surface.Pixel16(x, y) >> 8);
                    break;
            }
        }
    }
    return image;
}

std::unique_ptr<Surface> SurfaceFromImage(const Image& image, PixelLayout layout) {
    if (!IsColorLayout(layout) || (image.channels != 3 && image.channels != 4) ||
        image.pixels.size() != static_cast<size_t>(image.width) * image.height * image.channels)
        return nullptr;
    auto surface = Surface::Create(image.width, image.height, layout);
    if (!surface) return nullptr;
    for (int32_t y = 0; y < image.height; ++y)
        for (int32_t x = 0; x < image.width; ++x) {
            const uint8_t* p = image.At(x, y);
            surface->SetPixel(x, y, PackRgb(layout, p[0], p[1], p[2]));
        }
    return surface;
}

}  // namespace platform
