// Image files of any format the codec reads, as a new 16-bit buffer of the
// display's format. A file with an 8-bit alpha channel also gives its alpha
// mask (an 8-bit buffer of the alpha values): fully transparent pixels take
// the transparent colour key and partly transparent ones are
// un-premultiplied. Each new buffer holds one reference, the caller's.
#pragma once

#include <cstdint>
#include <string>

class cGZBuffer;

struct CodecImage {
    cGZBuffer* image = nullptr;
    cGZBuffer* alphaMask = nullptr;  // null without alpha
};

// Null image on failure.
CodecImage LoadCodecImage(const std::string& path);

// One colour channel divided by its alpha, rounded and held at 255.
uint8_t Unpremultiply(uint8_t channel, uint8_t alpha);
