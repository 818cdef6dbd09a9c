// The plug-in's decoders and encoders, on bytes in memory. Every decoder
// checks the sizes it is given against KoralSizeAcceptable before it
// allocates, and answers false (never throws) on damaged input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace koral {

// 32-bit pixels, rows top first, each pixel 0xAARRGGBB (bytes B, G, R, A).
struct Pixels {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bits = 32;  // bits per pixel of the file the pixels came from
    std::vector<uint32_t> bgra;
};

// Allocates width x height pixels when the size is acceptable.
bool AllocatePixels(Pixels& pixels, int64_t width, int64_t height);

bool DecodePng(const uint8_t* data, size_t size, Pixels& out);
// RGB when every alpha is 255, else RGBA.
bool EncodePng(const Pixels& in, std::vector<uint8_t>& out);

bool DecodeJpeg(const uint8_t* data, size_t size, Pixels& out);
bool EncodeJpeg(const Pixels& in, int quality, std::vector<uint8_t>& out);

// 1, 4, 8, 24 and 32 bits, run-length 8 and 4, top-down rows.
bool DecodeBmp(const uint8_t* data, size_t size, Pixels& out);
// 24-bit, bottom-up.
bool EncodeBmp(const Pixels& in, std::vector<uint8_t>& out);

}  // namespace koral
