#include "ui/graphics/cIGZWinGraphics.h"

namespace {
cIGZWinGraphics* gpWinGraphics = nullptr;
}  // namespace

cIGZWinGraphics* GZGetWinGraphics() { return gpWinGraphics; }
void GZSetWinGraphics(cIGZWinGraphics* graphics) { gpWinGraphics = graphics; }

PixelFormat GZScreenFormat() {
    if (gpWinGraphics) return gpWinGraphics->GetScreenFormat();
    PixelFormat format;
    format.code = cGZBuffer::GetScreenFormat();
    format.bits = cGZBuffer::BitsOfFormat(format.code);
    return format;
}

uint32_t GZScreenColor(uint8_t red, uint8_t green, uint8_t blue) {
    if (gpWinGraphics) return gpWinGraphics->MakeColor(red, green, blue);
    return cGZBuffer::MakeColorFor(GZScreenFormat().code, red, green, blue);
}

uint32_t GZTransparentColor() { return GZScreenColor(255, 0, 255); }

cGZBuffer* GZCreateScreenBuffer(int32_t width, int32_t height) {
    if (!gpWinGraphics || width <= 0 || height <= 0) return nullptr;
    cGZBuffer* buffer = gpWinGraphics->CreateBuffer();
    if (!buffer) return nullptr;
    buffer->AddRef();
    const PixelFormat format = gpWinGraphics->GetScreenFormat();
    if (!buffer->Init(width, height, format.code, format.bits, nullptr, 0, cGZBuffer::kKindPlain)) {
        buffer->Release();
        return nullptr;
    }
    return buffer;
}
