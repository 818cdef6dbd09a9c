// The font image container ".ffn": many small 8-bit images in one file, one
// per glyph, sharing one palette. Each image carries a name (the fonts write
// "%x '%c' %d": code, character, number), its size and its origin. A palette
// entry's bytes are, low first: unused, unused, brightness, coverage.
//
// Layout, little-endian: "TFFN", u16 version (1), u16 palette entries
// (1..256), u32 image count; the palette as u32 entries; then per image: u8
// name length (< 64), the name, u16 width, u16 height, i16 origin x, i16
// origin y, width x height palette indices, rows top first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct FfnImage {
    std::string name;
    int32_t width = 0;
    int32_t height = 0;
    int32_t originX = 0;
    int32_t originY = 0;
    std::vector<uint8_t> pixels;  // width x height
};

struct FfnFile {
    std::vector<uint32_t> palette;
    std::vector<FfnImage> images;
};

constexpr int32_t kFfnMaxImages = 4096;
constexpr int32_t kFfnMaxSide = 1024;
constexpr size_t kFfnMaxName = 63;

bool IsFfn(const uint8_t* data, size_t size);
// False on anything damaged: a count, length or index beyond the bytes that
// exist or the limits above.
bool DecodeFfn(const uint8_t* data, size_t size, FfnFile& out);
// False when the file breaks the same limits.
bool EncodeFfn(const FfnFile& in, std::vector<uint8_t>& out);

}  // namespace platform
