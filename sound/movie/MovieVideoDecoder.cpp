#include "sound/movie/MovieVideoDecoder.h"

#include <algorithm>
#include <cstring>

#include "sound/movie/MovieRequest.h"

namespace {

uint16_t MovieVideoU16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
size_t MovieVideoAlign4(size_t v) { return (v + 3) & ~size_t(3); }

// Bits packed little-endian from bit 0 of the first byte.
uint32_t MovieVideoBits(const uint8_t* data, size_t bitOffset, uint32_t count) {
    uint32_t v = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const size_t b = bitOffset + i;
        v |= uint32_t((data[b >> 3] >> (b & 7)) & 1) << i;
    }
    return v;
}

}  // namespace

bool MovieVideoDecoder::ReadFrameSize(int32_t kind, const uint8_t* payload, size_t size, int32_t& width,
                                      int32_t& height) {
    size_t at = 0;
    if (kind == kMovieKindKey || kind == kMovieKindBlock3 || kind == kMovieKindBlock4)
        at = 0;
    else if (kind >= kMovieKindMotion5 && kind <= kMovieKindMotion7)
        at = 8;
    else
        return false;
    if (size < at + 4) return false;
    width = MovieVideoU16(payload + at);
    height = MovieVideoU16(payload + at + 2);
    return true;
}

bool MovieVideoDecoder::Decode(int32_t kind, const uint8_t* payload, size_t size, int32_t brightness) {
    if (kind == kMovieKindKey) return DecodeKey(payload, size, brightness);
    if (kind == kMovieKindInter) return DecodeInter(payload, size);
    return false;
}

bool MovieVideoDecoder::DecompressLz(const uint8_t* data, size_t size, uint8_t* out, size_t outSize) {
    size_t in = 0, at = 0;
    auto literal = [&](size_t n) {
        if (n > size - in || n > outSize - at) return false;
        std::memcpy(out + at, data + in, n);
        in += n;
        at += n;
        return true;
    };
    auto copy = [&](size_t n, size_t distance) {
        if (distance > at || n > outSize - at) return false;
        // Byte by byte: a copy may read what it has just written.
        for (size_t i = 0; i < n; ++i, ++at) out[at] = out[at - distance];
        return true;
    };
    while (in < size) {
        const uint8_t b0 = data[in];
        if (b0 < 0x80) {
            if (size - in < 2) return false;
            const uint8_t b1 = data[in + 1];
            in += 2;
            if (!literal(b0 & 3) || !copy(((b0 >> 2) & 7) + 3, (((b0 & 0x60) << 3) | b1) + 1)) return false;
        } else if (b0 < 0xC0) {
            if (size - in < 3) return false;
            const uint8_t b1 = data[in + 1], b2 = data[in + 2];
            in += 3;
            if (!literal(b1 >> 6) || !copy((b0 & 0x3F) + 4, (((b1 & 0x3F) << 8) | b2) + 1)) return false;
        } else if (b0 < 0xE0) {
            if (size - in < 4) return false;
            const uint8_t b1 = data[in + 1], b2 = data[in + 2], b3 = data[in + 3];
            in += 4;
            if (!literal(b0 & 3) ||
                !copy(((((b0 >> 2) & 3) << 8) | b3) + 5, (size_t(b0 & 0x10) << 12 | size_t(b1) << 8 | b2) + 1))
                return false;
        } else if (b0 < 0xFC) {
            in += 1;
            if (!literal(((b0 & 0x1F) + 1) * 4)) return false;
        } else {
            in += 1;
            return literal(b0 & 3);
        }
    }
    return false;  // no closing command
}

bool MovieVideoDecoder::DecodeKey(const uint8_t* payload, size_t size, int32_t brightness) {
    if (size < 12) return false;
    const int32_t width = MovieVideoU16(payload), height = MovieVideoU16(payload + 2);
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return false;
    const size_t count = std::min<size_t>({MovieVideoU16(payload + 6), 256, (size - 12) / 3});
    size_t at = 12 + 3 * count;
    if (at >= size) return false;
    const size_t head = (payload[at] & 1) ? 5 : 2;
    if (size - at < head + 3) return false;
    at += head + 3;

    std::vector<uint8_t> plain(size_t(width) * height);
    if (!DecompressLz(payload + at, size - at, plain.data(), plain.size())) return false;

    mWidth = width;
    mHeight = height;
    mStride = int32_t(MovieVideoAlign4(size_t(width)));
    mRows = int32_t(MovieVideoAlign4(size_t(height)));
    mCurrent.assign(size_t(mStride) * mRows, 0);
    mPrevious.assign(mCurrent.size(), 0);
    for (int32_t y = 0; y < height; ++y)
        std::memcpy(&mCurrent[size_t(y) * mStride], &plain[size_t(y) * width], size_t(width));
    const int32_t percent = std::max(brightness, 0);
    for (size_t i = 0; i < count * 3; ++i) mPalette[i] = uint8_t(std::min(payload[12 + i] * percent / 100, 255));
    mbHasPicture = true;
    return true;
}

bool MovieVideoDecoder::DecodeInter(const uint8_t* payload, size_t size) {
    if (!mbHasPicture || size < 12) return false;
    const size_t vectors = MovieVideoU16(payload), raws = MovieVideoU16(payload + 2);
    const size_t fours = MovieVideoU16(payload + 4), bits = MovieVideoU16(payload + 6);
    if (bits == 0 || bits > 16) return false;
    const size_t blocksX = size_t(mStride) / 4, blocksY = size_t(mRows) / 4;
    const size_t blocks = blocksX * blocksY;
    const size_t vectorAt = 12;
    const size_t rawAt = MovieVideoAlign4(vectorAt + (vectors * 20 + 7) / 8);
    const size_t fourAt = MovieVideoAlign4(rawAt + raws * 16);
    const size_t indexAt = MovieVideoAlign4(fourAt + fours * 8);
    if (indexAt > size || (blocks * bits + 7) / 8 > size - indexAt) return false;

    std::swap(mCurrent, mPrevious);
    const uint8_t* prev = mPrevious.data();
    uint8_t* cur = mCurrent.data();
    const size_t stride = size_t(mStride);
    auto copyBlock = [&](size_t bx, size_t by, int64_t sx, int64_t sy) {
        for (int r = 0; r < 4; ++r)
            std::memcpy(cur + (by + r) * stride + bx, prev + size_t(sy + r) * stride + size_t(sx), 4);
    };
    for (size_t b = 0; b < blocks; ++b) {
        const size_t bx = (b % blocksX) * 4, by = (b / blocksX) * 4;
        const size_t index = MovieVideoBits(payload + indexAt, b * bits, uint32_t(bits));
        if (index < vectors) {
            auto signed10 = [&](size_t j) {
                const int32_t v = int32_t(MovieVideoBits(payload + vectorAt, 10 * j, 10));
                return v >= 512 ? v - 1024 : v;
            };
            const int64_t sx = int64_t(bx) + signed10(2 * index), sy = int64_t(by) + signed10(2 * index + 1);
            // A source outside the picture leaves what the picture showed.
            if (sx < 0 || sy < 0 || sx + 4 > mStride || sy + 4 > mRows)
                copyBlock(bx, by, int64_t(bx), int64_t(by));
            else
                copyBlock(bx, by, sx, sy);
            continue;
        }
        const size_t pattern = index - vectors;
        if (pattern < raws) {
            const uint8_t* p = payload + rawAt + pattern * 16;
            for (int r = 0; r < 4; ++r) std::memcpy(cur + (by + r) * stride + bx, p + 4 * r, 4);
        } else if (pattern - raws < fours) {
            const uint8_t* p = payload + fourAt + (pattern - raws) * 8;
            const uint32_t selectors = p[4] | p[5] << 8 | p[6] << 16 | uint32_t(p[7]) << 24;
            for (int k = 0; k < 16; ++k)
                cur[(by + k / 4) * stride + bx + k % 4] = p[(selectors >> (2 * (15 - k))) & 3];
        } else {
            copyBlock(bx, by, int64_t(bx), int64_t(by));
        }
    }
    return true;
}

platform::Rect MovieVideoDecoder::OutputRect(const MovieRequest& request, int32_t frameWidth, int32_t frameHeight,
                                             int32_t surfaceWidth, int32_t surfaceHeight) {
    const uint32_t flags = request.flags;
    int32_t w = frameWidth * ((flags & kMovieDoubleWidth) ? 2 : 1);
    int32_t h = frameHeight * ((flags & (kMovieDoubleHeight | kMovieDoubleHeightToo)) ? 2 : 1);
    if ((flags & kMovieExplicitWidth) && request.outputWidth > 0) w = request.outputWidth;
    if ((flags & kMovieExplicitHeight) && request.outputHeight > 0) h = request.outputHeight;
    int32_t x = 0, y = 0;
    if (flags & kMovieCentreX) x = (surfaceWidth - w) / 2;
    if (flags & kMovieCentreY) y = (surfaceHeight - h) / 2;
    if (flags & kMovieAddOffsetX) x += request.offsetX;
    if (flags & kMovieAddOffsetY) y += request.offsetY;
    return {x, y, x + w, y + h};
}

bool MovieVideoDecoder::Output(platform::Surface& surface, const platform::Rect& rect) const {
    if (!mbHasPicture || rect.IsEmpty() || !platform::IsColorLayout(surface.Layout())) return false;
    const platform::Rect clip{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, surface.Width()),
                              std::min(rect.bottom, surface.Height())};
    if (clip.IsEmpty()) return true;
    uint8_t* bits = nullptr;
    int32_t pitch = 0;
    if (!surface.Lock(&bits, &pitch)) return false;
    uint16_t table[256];
    for (int i = 0; i < 256; ++i)
        table[i] = platform::PackRgb(surface.Layout(), mPalette[3 * i], mPalette[3 * i + 1], mPalette[3 * i + 2]);
    const int64_t w = rect.Width(), h = rect.Height();
    for (int32_t y = clip.top; y < clip.bottom; ++y) {
        const int64_t sy = (y - rect.top) * int64_t(mHeight) / h;
        const uint8_t* src = mCurrent.data() + size_t(sy) * mStride;
        uint16_t* dst = reinterpret_cast<uint16_t*>(bits + int64_t(y) * pitch);
        for (int32_t x = clip.left; x < clip.right; ++x) dst[x] = table[src[(x - rect.left) * int64_t(mWidth) / w]];
    }
    surface.Unlock();
    return true;
}
