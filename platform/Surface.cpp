#include "platform/Surface.h"

#include <cstring>
#include <limits>

namespace platform {

int BytesPerPixel(PixelLayout layout) { return layout == PixelLayout::Index8 ? 1 : 2; }

bool IsColorLayout(PixelLayout layout) {
    return layout == PixelLayout::Rgb565 || layout == PixelLayout::Rgb555;
}

uint16_t PackRgb(PixelLayout layout, uint8_t r, uint8_t g, uint8_t b) {
    if (layout == PixelLayout::Rgb555)
        return static_cast<uint16_t>(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
    return static_cast<uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

void UnpackRgb(PixelLayout layout, uint16_t pixel, uint8_t& r, uint8_t& g, uint8_t& b) {
    unsigned r5, g6, b5;
    if (layout == PixelLayout::Rgb555) {
        r5 = (pixel >> 10) & 0x1F;
        unsigned g5 = (pixel >> 5) & 0x1F;
        g6 = (g5 << 1) | (g5 >> 4);
        b5 = pixel & 0x1F;
    } else {
        r5 = (pixel >> 11) & 0x1F;
        g6 = (pixel >> 5) & 0x3F;
        b5 = pixel & 0x1F;
    }
    r = static_cast<uint8_t>((r5 << 3) | (r5 >> 2));
    g = static_cast<uint8_t>((g6 << 2) | (g6 >> 4));
    b = static_cast<uint8_t>((b5 << 3) | (b5 >> 2));
}

namespace {

// One channel field mixed by a constant alpha, rounded to nearest.
inline unsigned Mix(unsigned s, unsigned d, unsigned a) { return (s * a + d * (255 - a) + 127) / 255; }

uint16_t Blend(PixelLayout layout, uint16_t s, uint16_t d, unsigned a) {
    if (layout == PixelLayout::Rgb555) {
        return static_cast<uint16_t>((Mix((s >> 10) & 0x1F, (d >> 10) & 0x1F, a) << 10) |
                                     (Mix((s >> 5) & 0x1F, (d >> 5) & 0x1F, a) << 5) |
                                     Mix(s & 0x1F, d & 0x1F, a));
    }
    return static_cast<uint16_t>((Mix((s >> 11) & 0x1F, (d >> 11) & 0x1F, a) << 11) |
                                 (Mix((s >> 5) & 0x3F, (d >> 5) & 0x3F, a) << 5) |
                                 Mix(s & 0x1F, d & 0x1F, a));
}

}  // namespace

std::unique_ptr<Surface> Surface::Create(int32_t width, int32_t height, PixelLayout layout) {
    if (width <= 0 || height <= 0) return nullptr;
    // Keep every byte offset inside 32 bits of signed arithmetic.
    const int64_t pitch = (static_cast<int64_t>(width) * BytesPerPixel(layout) + 3) & ~int64_t{3};
    if (pitch * height > std::numeric_limits<int32_t>::max()) return nullptr;
    return std::unique_ptr<Surface>(new Surface(width, height, layout));
}

Surface::Surface(int32_t width, int32_t height, PixelLayout layout)
    : width_(width),
      height_(height),
      layout_(layout),
      pitch_((width * BytesPerPixel(layout) + 3) & ~3),
      pixels_(static_cast<size_t>(pitch_) * height, 0) {}

bool Surface::Contains(const Rect& r) const {
    return !r.IsEmpty() && r.left >= 0 && r.top >= 0 && r.right <= width_ && r.bottom <= height_;
}

bool Surface::Lock(uint8_t** bits, int32_t* pitchBytes) {
    if (lost_) return false;
    ++lockDepth_;
    if (bits) *bits = pixels_.data();
    if (pitchBytes) *pitchBytes = pitch_;
    return true;
}

bool Surface::Unlock() {
    if (lockDepth_ == 0) return false;
    --lockDepth_;
    return true;
}

uint16_t Surface::Pixel16(int32_t x, int32_t y) const {
    uint16_t v;
    std::memcpy(&v, &pixels_[static_cast<size_t>(y) * pitch_ + static_cast<size_t>(x) * 2], 2);
    return v;
}

void Surface::SetPixel(int32_t x, int32_t y, uint32_t value) {
    uint8_t* p = &pixels_[static_cast<size_t>(y) * pitch_ + static_cast<size_t>(x) * BytesPerPixel(layout_)];
    if (layout_ == PixelLayout::Index8) {
        *p = static_cast<uint8_t>(value);
    } else {
        uint16_t v = static_cast<uint16_t>(value);
        std::memcpy(p, &v, 2);
    }
}

bool Surface::Fill(const Rect* rect, uint32_t value) {
    if (lost_) return false;
    const Rect r = rect ? *rect : Bounds();
    if (!Contains(r)) return false;
    const int bpp = BytesPerPixel(layout_);
    for (int32_t y = r.top; y < r.bottom; ++y) {
        uint8_t* row = &pixels_[static_cast<size_t>(y) * pitch_ + static_cast<size_t>(r.left) * bpp];
        if (bpp == 1) {
            std::memset(row, static_cast<uint8_t>(value), static_cast<size_t>(r.Width()));
        } else {
            const uint16_t v = static_cast<uint16_t>(value);
            for (int32_t x = 0; x < r.Width(); ++x) std::memcpy(row + x * 2, &v, 2);
        }
    }
    return true;
}

bool Surface::Blit(const Surface& src, const Rect& srcRect, const Rect& dstRect, const BlitOptions& options) {
    if (lost_ || src.lost_) return false;
    if (src.layout_ != layout_) return false;
    if (!src.Contains(srcRect) || !Contains(dstRect)) return false;
    if (options.alpha != 255 && !IsColorLayout(layout_)) return false;
    if (options.alpha == 0) return true;

    // A copy within one surface reads from a snapshot so overlapping areas
    // do not feed on what was just written.
    std::unique_ptr<Surface> snapshot;
    const Surface* from = &src;
    if (&src == this) {
        snapshot.reset(new Surface(width_, height_, layout_));
        snapshot->pixels_ = pixels_;
        from = snapshot.get();
    }

    const int32_t sw = srcRect.Width(), sh = srcRect.Height();
    const int32_t dw = dstRect.Width(), dh = dstRect.Height();
    const int bpp = BytesPerPixel(layout_);
    const bool plain = !options.colorKey && !options.mirrorLeftRight && options.alpha == 255 && sw == dw;

    std::vector<int32_t> columns;
    if (!plain) {
        columns.resize(static_cast<size_t>(dw));
        for (int32_t x = 0; x < dw; ++x) {
            const int32_t step = static_cast<int32_t>(static_cast<int64_t>(x) * sw / dw);
            columns[static_cast<size_t>(x)] = options.mirrorLeftRight ? srcRect.right - 1 - step : srcRect.left + step;
        }
    }
    for (int32_t y = 0; y < dh; ++y) {
        const int32_t step = static_cast<int32_t>(static_cast<int64_t>(y) * sh / dh);
        const int32_t sy = options.mirrorTopBottom ? srcRect.bottom - 1 - step : srcRect.top + step;
        const uint8_t* srow = &from->pixels_[static_cast<size_t>(sy) * from->pitch_];
        uint8_t* drow = &pixels_[static_cast<size_t>(dstRect.top + y) * pitch_];
        if (plain) {
            std::memcpy(drow + static_cast<size_t>(dstRect.left) * bpp, srow + static_cast<size_t>(srcRect.left) * bpp,
                        static_cast<size_t>(dw) * bpp);
            continue;
        }
        for (int32_t x = 0; x < dw; ++x) {
            const size_t sx = static_cast<size_t>(columns[static_cast<size_t>(x)]);
            const size_t dx = static_cast<size_t>(dstRect.left + x);
            if (bpp == 1) {
                const uint8_t v = srow[sx];
                if (options.colorKey && v == static_cast<uint8_t>(options.key)) continue;
                drow[dx] = v;
                continue;
            }
            uint16_t v;
            std::memcpy(&v, srow + sx * 2, 2);
            if (options.colorKey && v == static_cast<uint16_t>(options.key)) continue;
            if (options.alpha != 255) {
                uint16_t d;
                std::memcpy(&d, drow + dx * 2, 2);
                v = Blend(layout_, v, d, options.alpha);
            }
            std::memcpy(drow + dx * 2, &v, 2);
        }
    }
    return true;
}

void Surface::MarkLost() { lost_ = true; }

bool Surface::Restore() {
    if (!lost_) return true;
    lost_ = false;
    if (restoreCallback_) restoreCallback_();
    return true;
}

}  // namespace platform
