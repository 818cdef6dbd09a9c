// Reading and writing whole image files through the codec plug-in, the way
// every caller uses it: the format is found by the name's extension, the file
// goes through the codec streams, pixels are 32-bit (bytes blue, green, red,
// alpha) in rows of width x 4 bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct KoralImage {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bits = 0;  // bits per pixel of the file
    std::vector<uint32_t> pixels;  // 0xAARRGGBB, rows top first
};

// The text after the name's last '.', at most 32 characters; empty when
// there is none (or the dot belongs to a folder).
std::string ImageFileExtension(const std::string& name);

// Binds the plug-in if needed. False, with `error` naming the failing step
// (for example "no codec for tga"), on failure.
bool ReadCodecImage(const std::string& name, KoralImage& image, std::string* error = nullptr);
// `passThrough` reaches the writer untouched (the first, 1..100, is a JPEG
// quality). Pixels are taken as they are; callers wanting opaque files set
// alpha 255.
bool WriteCodecImage(const std::string& name, int32_t width, int32_t height, const uint32_t* pixels,
                     std::string* error = nullptr, int32_t passThrough0 = 0, int32_t passThrough1 = 0);
