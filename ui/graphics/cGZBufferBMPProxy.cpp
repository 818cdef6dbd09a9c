#include "ui/graphics/cGZBufferBMPProxy.h"

#include "framework/cRZFile.h"
#include "ui/graphics/cGZBuffer.h"

#include <algorithm>

namespace {

constexpr uint32_t kMaxFileSize = 64u << 20;
constexpr int32_t kMaxSide = 16384;

uint32_t U32(const std::string& b, size_t at) {
    return static_cast<uint32_t>(static_cast<uint8_t>(b[at])) | (static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8) |
           (static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 16) |
           (static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24);
}
uint16_t U16(const std::string& b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | (static_cast<uint8_t>(b[at + 1]) << 8));
}

// Walks the run-length pixel data of a bitmap file, calling put(x, line,
// index) for every pixel a run or literal sets inside the image (lines in
// file order, x below the width, line below the height).
template <typename Put>
void WalkRle8Runs(const std::string& file, int32_t width, int32_t height, Put put) {
    size_t at = U32(file, 10);
    const size_t end = file.size();
    int32_t x = 0, line = 0;
    while (at + 1 < end && line < height) {
        const uint8_t n = static_cast<uint8_t>(file[at]);
        const uint8_t v = static_cast<uint8_t>(file[at + 1]);
        at += 2;
        if (n > 0) {
            for (int32_t i = 0; i < n && x < width; ++i) put(x++, line, v);
            continue;
        }
        if (v == 0) {
            x = 0;
            ++line;
        } else if (v == 1) {
            break;
        } else if (v == 2) {
            if (at + 1 >= end) break;
            x += static_cast<uint8_t>(file[at]);
            line += static_cast<uint8_t>(file[at + 1]);
            at += 2;
        } else {
            const size_t literal = std::min<size_t>(v, end - at);
            for (size_t i = 0; i < literal && x < width; ++i) put(x++, line, static_cast<uint8_t>(file[at + i]));
            at += v + (v & 1);
        }
    }
}

}  // namespace

bool cGZBufferBMPProxy::Fail(std::string why) {
    mFile.clear();
    mDecoded.clear();
    mPalette.clear();
    mTransparent = -1;
    mError = std::move(why);
    return false;
}

bool cGZBufferBMPProxy::Load() {
    mFile.clear();
    mDecoded.clear();
    mPalette.clear();
    cRZFile file(mName.c_str());
    if (!file.Open(cRZFile::kRead, cRZFile::kOpenExisting, 1)) return Fail("cannot open " + mName);
    const uint32_t size = file.GetSize();
    if (size > kMaxFileSize) return Fail(mName + " is too large for a bitmap");
    std::string bytes(size, '\0');
    const bool read = size == 0 || file.Read(bytes.data(), size);
    file.Close();
    if (!read) return Fail("cannot read " + mName);
    return LoadBytes(std::move(bytes));
}

bool cGZBufferBMPProxy::LoadBytes(std::string bytes) {
    mFile.clear();
    mDecoded.clear();
    mPalette.clear();
    mTransparent = -1;
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return Fail("not a bitmap file");
    const int32_t width = static_cast<int32_t>(U32(bytes, 18));
    const int32_t height = static_cast<int32_t>(U32(bytes, 22));
    const uint16_t planes = U16(bytes, 26);
    const uint16_t bits = U16(bytes, 28);
    if (width <= 0 || width > kMaxSide || height == 0 || height < -kMaxSide || height > kMaxSide)
        return Fail("bitmap size out of range");
    const uint32_t depth = static_cast<uint32_t>(bits) * planes;
    uint64_t count = U32(bytes, 46);
    if (count == 0) count = depth >= 32 ? (1ull << 32) : (1ull << depth);
    if (count > 256) return Fail("bitmap has more than 256 colours");
    if (54 + 4 * count > bytes.size()) return Fail("bitmap palette runs past the end of the file");
    if (U32(bytes, 10) >= bytes.size()) return Fail("bitmap pixel data lies outside the file");

    const bool fiveFive = cGZBuffer::GetScreenFormat() == cGZBuffer::kFormat555;
    const uint32_t magenta = fiveFive ? 0x7C1F : 0xF81F;
    for (uint32_t i = 0; i < count; ++i) {
        const size_t at = 54 + 4 * static_cast<size_t>(i);
        const uint8_t b = static_cast<uint8_t>(bytes[at]), g = static_cast<uint8_t>(bytes[at + 1]),
                      r = static_cast<uint8_t>(bytes[at + 2]);
        const uint32_t value = cGZBuffer::MakeColorFor(fiveFive ? cGZBuffer::kFormat555 : cGZBuffer::kFormat565, r, g, b);
        mPalette.push_back(value);
        if (value == magenta) mTransparent = static_cast<int32_t>(i);
    }
    // An empty palette would read as "not loaded": keep one black entry.
    if (mPalette.empty()) mPalette.push_back(0);
    mRect = {0, 0, width, height < 0 ? -height : height};
    mFile = std::move(bytes);
    mError.clear();
    return true;
}

bool cGZBufferBMPProxy::DrawTo(cGZBuffer& dest, int32_t destX, int32_t destY, const cRZRect& sourceRect) {
    if (!IsLoaded() && !Load()) return false;
    if (U16(mFile, 26) != 1 || U16(mFile, 28) != 8 || U32(mFile, 30) != 1) {
        mError = mName + ": not an 8-bit run-length bitmap";
        return false;
    }
    if (dest.GetKind() == cGZBuffer::kKindIndex || !dest.GetSurface()) return false;
    const int32_t width = mRect.right, height = mRect.bottom;
    const bool bottomUp = static_cast<int32_t>(U32(mFile, 22)) > 0;
    // The part of the image that may be written: the asked rectangle inside
    // the image, and inside the destination once moved there.
    const cRZRect& bounds = dest.GetBounds();
    const int32_t left = std::max({sourceRect.left, 0, sourceRect.left + (bounds.left - destX)});
    const int32_t top = std::max({sourceRect.top, 0, sourceRect.top + (bounds.top - destY)});
    const int32_t right = std::min({sourceRect.right, width, sourceRect.left + (bounds.right - destX)});
    const int32_t bottom = std::min({sourceRect.bottom, height, sourceRect.top + (bounds.bottom - destY)});
    if (left >= right || top >= bottom) return true;
    if (!dest.Lock(64)) return false;
    uint16_t* bits = dest.GetBits();
    const int32_t pitch = dest.GetPitch() / 2;
    const int32_t count = static_cast<int32_t>(mPalette.size());
    // Palette index of a pixel the runs set, or -1 (not set, transparent or
    // outside the palette).
    auto shown = [&](uint8_t index) { return index < count && index != mTransparent ? index : -1; };
    auto rowOf = [&](int32_t line) { return bottomUp ? height - 1 - line : line; };

    const size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (pixels <= kMaxDecodedPixels) {
        // Decoded once: a strip drawn a few columns at a time (a button's
        // middle) would otherwise be decoded whole for every piece.
        if (mDecoded.empty()) {
            mDecoded.assign(pixels, -1);
            WalkRle8Runs(mFile, width, height, [&](int32_t x, int32_t line, uint8_t index) {
                mDecoded[static_cast<size_t>(rowOf(line)) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
                    static_cast<int16_t>(shown(index));
            });
        }
        for (int32_t y = top; y < bottom; ++y) {
            const int16_t* row = mDecoded.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
            uint16_t* out = bits + (destY + y - sourceRect.top) * pitch + (destX - sourceRect.left);
            for (int32_t x = left; x < right; ++x)
                if (row[x] >= 0) out[x] = static_cast<uint16_t>(mPalette[static_cast<size_t>(row[x])]);
        }
    } else {
        WalkRle8Runs(mFile, width, height, [&](int32_t x, int32_t line, uint8_t index) {
            const int32_t y = rowOf(line);
            if (x < left || x >= right || y < top || y >= bottom || shown(index) < 0) return;
            bits[(destY + y - sourceRect.top) * pitch + (destX + x - sourceRect.left)] = static_cast<uint16_t>(mPalette[index]);
        });
    }
    dest.Unlock(64);
    return true;
}
