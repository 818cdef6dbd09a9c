// Texture images: BMP (8-bit with or without run-length compression, 24-bit,
// bottom-up or top-down) and binary PPM ("P6") files read into a surface of
// the texture format the device chose, plus the palette re-mapping of
// indexed images. The readers trust nothing in the bytes: every size, count
// and offset is checked against what is there, and a bad file gives the
// layer's code (see DirectXErrorText.h), never a crash.
//
// The writers make the same kinds of file; the content compiler and the
// tests build their images with them.
#pragma once

#include "platform/Surface.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

using TextureRgb = std::array<uint8_t, 3>;  // R, G, B
using TexturePalette = std::vector<TextureRgb>;

// A texture format as the device offers it: indexed with a palette of
// 2^paletteBits entries, or RGB of `bitCount` bits with three masks.
struct TexturePixelFormat {
    bool palettized = false;
    int32_t paletteBits = 0;
    int32_t bitCount = 16;
    uint32_t redMask = 0xF800, greenMask = 0x07E0, blueMask = 0x001F;

    static TexturePixelFormat Rgb565() { return {}; }
    static TexturePixelFormat Rgb555() { return {false, 0, 16, 0x7C00, 0x03E0, 0x001F}; }
    static TexturePixelFormat Indexed8() { return {true, 8, 8, 0, 0, 0}; }
};

struct TextureImage {
    std::unique_ptr<platform::Surface> surface;
    TexturePalette palette;  // indexed images only
};

// Sides above this are refused as damaged files.
inline constexpr int32_t kMaxTextureSide = 8192;

uint32_t ReadBmpTexture(std::string_view bytes, const TexturePixelFormat& format, TextureImage& out);
uint32_t ReadPpmTexture(std::string_view bytes, const TexturePixelFormat& format, TextureImage& out);

// For each of the 256 source entries (missing ones black), the target entry
// nearest by 2*dR^2 + 4*dG^2 + dB^2; the first of equal distances wins.
std::array<uint8_t, 256> BuildPaletteTranslation(const TexturePalette& source, const TexturePalette& target);
// Translates every pixel of an indexed image and gives it the target palette.
// kDDDUnknownPixelFormat for an image that is not indexed.
uint32_t RemapToPalette(TextureImage& image, const TexturePalette& target);

// Writers. Pixels are row-major from the top; `rgb` holds 3 bytes a pixel.
std::string WriteBmp8(int32_t width, int32_t height, const uint8_t* indices, const TexturePalette& palette,
                      bool topDown = false, bool runLength = false);
std::string WriteBmp24(int32_t width, int32_t height, const uint8_t* rgb);
std::string WritePpm(int32_t width, int32_t height, const uint8_t* rgb);
