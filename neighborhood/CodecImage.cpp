#include "neighborhood/CodecImage.h"

#include <cstring>

#include "neighborhood/BitmapFile.h"
#include "ui/graphics/KoralImageFile.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cIGZWinGraphics.h"

uint8_t Unpremultiply(uint8_t channel, uint8_t alpha) {
    if (alpha == 0) return 0;
    const uint32_t value = (static_cast<uint32_t>(channel) * 255 + alpha / 2u) / alpha;
    return static_cast<uint8_t>(value > 255 ? 255 : value);
}

CodecImage LoadCodecImage(const std::string& path) {
    CodecImage result;
    KoralImage file;
    if (!ReadCodecImage(path, file) || file.width <= 0 || file.height <= 0 ||
        file.pixels.size() != static_cast<size_t>(file.width) * static_cast<size_t>(file.height))
        return result;
    const bool withAlpha = file.bits == 32;
    const int32_t format = cGZBuffer::GetScreenFormat();
    auto* image = new cGZBuffer;
    if (!image->Init(file.width, file.height, format, 16, nullptr, 0, 0) || !image->Lock(64)) {
        delete image;
        return result;
    }
    cGZBuffer* mask = nullptr;
    uint8_t* maskBits = nullptr;
    size_t maskPitch = 0;
    if (withAlpha) {
        mask = new cGZBuffer;
        if (!mask->Init(file.width, file.height, cGZBuffer::kFormatIndex8, 8, nullptr, 0, cGZBuffer::kKindIndex) ||
            !mask->Lock(64)) {
            image->Unlock(64);
            delete image;
            delete mask;
            return result;
        }
        maskBits = reinterpret_cast<uint8_t*>(mask->GetBits());
        maskPitch = static_cast<size_t>(mask->GetPitch());
    }
    const uint16_t key = static_cast<uint16_t>(GZTransparentColor());
    uint16_t* bits = image->GetBits();
    const size_t pitch = static_cast<size_t>(image->GetPitch()) / 2;
    const size_t w = static_cast<size_t>(file.width);
    for (size_t y = 0; y < static_cast<size_t>(file.height); ++y)
        for (size_t x = 0; x < w; ++x) {
            const uint32_t p = file.pixels[y * w + x];
            uint8_t a = static_cast<uint8_t>(p >> 24);
            uint8_t r = static_cast<uint8_t>(p >> 16), g = static_cast<uint8_t>(p >> 8), b = static_cast<uint8_t>(p);
            if (!withAlpha) {
                bits[y * pitch + x] = BitmapPixel16(format, p & 0xFFFFFF);
                continue;
            }
            maskBits[y * maskPitch + x] = a;
            if (a == 0) {
                bits[y * pitch + x] = key;
                continue;
            }
            if (a != 255) {
                r = Unpremultiply(r, a);
                g = Unpremultiply(g, a);
                b = Unpremultiply(b, a);
            }
            bits[y * pitch + x] = BitmapPixel16(format, static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 | b);
        }
    image->Unlock(64);
    image->AddRef();
    result.image = image;
    if (mask) {
        mask->Unlock(64);
        mask->AddRef();
        result.alphaMask = mask;
    }
    return result;
}
