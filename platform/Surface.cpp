#include "platform/Surface.h"

#include "platform/BlitRows.h"

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
// t / 255 with t = s x a + d x (255 - a) + 127, at most 63 x 255 + 127: exact
// as (t + 1 + t / 256) / 256 in that range, all within 16 bits.
inline unsigned Mix(unsigned s, unsigned d, unsigned a) {
    const uint16_t t = static_cast<uint16_t>(s * a + d * (255 - a) + 127);
    return static_cast<uint16_t>(t + 1 + (t >> 8)) >> 8;
}

// One row of a same-size 16-bit copy: the source is read from `src` forward,
// or backward when mirrored; keyed pixels are skipped; alpha below 255 mixes.
// The row loops are worth vectorising even in builds that otherwise do not.
#if defined(__GNUC__) && !defined(__clang__)
#define TOVA_VECTORISE __attribute__((optimize("O3")))
#else
#define TOVA_VECTORISE
#endif

template <PixelLayout L>
TOVA_VECTORISE void CopyRow16(uint16_t* dst, const uint16_t* src, int32_t n, bool mirror, bool keyed, uint16_t key, unsigned alpha) {
    if (alpha == 255 && !keyed) {
        if (mirror) {
            for (int32_t x = 0; x < n; ++x) dst[x] = src[-x];
        } else {
            std::memcpy(dst, src, static_cast<size_t>(n) * 2);
        }
        return;
    }
    const BlitRowKernels& rows = WideBlitRows();
    if (alpha == 255) {
        rows.keyed(dst, src, n, mirror, key);
        return;
    }
    (L == PixelLayout::Rgb555 ? rows.alpha555 : rows.alpha565)(dst, src, n, mirror, keyed, key, alpha);
}

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
    const size_t rowBytes = static_cast<size_t>(r.Width()) * static_cast<size_t>(bpp);
    uint8_t* first = &pixels_[static_cast<size_t>(r.top) * pitch_ + static_cast<size_t>(r.left) * bpp];
    // The first row is filled by doubling what is already there, the others
    // are copies of it.
    if (bpp == 1) {
        std::memset(first, static_cast<uint8_t>(value), rowBytes);
    } else {
        const uint16_t v = static_cast<uint16_t>(value);
        std::memcpy(first, &v, 2);
        for (size_t done = 2; done < rowBytes; done *= 2) std::memcpy(first + done, first, std::min(done, rowBytes - done));
    }
    for (int32_t y = r.top + 1; y < r.bottom; ++y)
        std::memcpy(&pixels_[static_cast<size_t>(y) * pitch_ + static_cast<size_t>(r.left) * bpp], first, rowBytes);
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
    if (!plain && (sw != dw || bpp == 1)) {
        columns.resize(static_cast<size_t>(dw));
        for (int32_t x = 0; x < dw; ++x) {
            const int32_t step = static_cast<int32_t>(static_cast<int64_t>(x) * sw / dw);
            columns[static_cast<size_t>(x)] = options.mirrorLeftRight ? srcRect.right - 1 - step : srcRect.left + step;
        }
    }
    const bool sameWidth = sw == dw;
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
        if (bpp == 2 && sameWidth) {
            auto* d16 = reinterpret_cast<uint16_t*>(drow) + dstRect.left;
            const auto* s16 = reinterpret_cast<const uint16_t*>(srow) +
                              (options.mirrorLeftRight ? srcRect.right - 1 : srcRect.left);
            const uint16_t key = static_cast<uint16_t>(options.key);
            if (layout_ == PixelLayout::Rgb555)
                CopyRow16<PixelLayout::Rgb555>(d16, s16, dw, options.mirrorLeftRight, options.colorKey, key, options.alpha);
            else
                CopyRow16<PixelLayout::Rgb565>(d16, s16, dw, options.mirrorLeftRight, options.colorKey, key, options.alpha);
            continue;
        }
        if (bpp == 2 && !options.colorKey && options.alpha == 255) {
            auto* d16 = reinterpret_cast<uint16_t*>(drow) + dstRect.left;
            const auto* s16 = reinterpret_cast<const uint16_t*>(srow);
            for (int32_t x = 0; x < dw; ++x) d16[x] = s16[columns[static_cast<size_t>(x)]];
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
