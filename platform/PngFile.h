// PNG files: 8-bit RGB and RGBA images read and written through libpng, and
// the conversions between them and 16-bit surfaces. Golden-picture tests,
// frame dumps, cursors with PNG images and the image codec all use these.
//
// Reading accepts any PNG (palette, grey, 16-bit channels and transparency
// are expanded to 8-bit RGB or RGBA); a damaged file gives nothing and an
// error text, never a crash.
#pragma once

#include "platform/Surface.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct Image {
    int32_t width = 0;
    int32_t height = 0;
    int channels = 4;             // 3 = RGB, 4 = RGBA
    std::vector<uint8_t> pixels;  // rows of width * channels bytes, no padding

    const uint8_t* At(int32_t x, int32_t y) const {
        return &pixels[(static_cast<size_t>(y) * width + x) * channels];
    }
};

std::optional<Image> ReadPngFile(const std::string& path, std::string* error = nullptr);
std::optional<Image> ReadPngMemory(std::string_view bytes, std::string* error = nullptr);
// Written to a temporary file and renamed over the old one.
bool WritePngFile(const std::string& path, const Image& image, std::string* error = nullptr);
std::optional<std::string> WritePngMemory(const Image& image, std::string* error = nullptr);

// A 565 or 555 surface as RGB (each field widened by bit replication), an
// index surface as grey levels, a depth surface by its high byte.
Image ImageFromSurface(const Surface& surface);
// An image packed into a new colour surface (alpha ignored); the exact
// inverse of ImageFromSurface for colour layouts.
std::unique_ptr<Surface> SurfaceFromImage(const Image& image, PixelLayout layout);

}  // namespace platform
