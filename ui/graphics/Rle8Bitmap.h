// Writes 8-bit run-length bitmaps, the picture files the bitmap proxy reads:
// runs of equal indices become run pairs, everything else literal groups,
// rows bottom first. The content compiler and the test fixtures use it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rle8Picture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> palette;  // 0x00RRGGBB, at most 256
    std::vector<uint8_t> indices;   // rows top first, width * height
};

std::string WriteRle8Bitmap(const Rle8Picture& picture);
