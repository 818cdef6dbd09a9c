// Windows bitmap files, our own reader and writer. Every count, offset and
// size in the headers is checked against the bytes that exist before use.
#include "platform/koral/KoralAbi.h"
#include "platform/koral/KoralCodecs.h"

#include <algorithm>
#include <cstring>

namespace koral {
namespace {

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

enum : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

// One colour channel of a masked 32-bit pixel, scaled to 8 bits.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0;
    explicit Channel(uint32_t m) : mask(m) {
        if (!m) return;
        while (!((m >> shift) & 1)) ++shift;
        max = m >> shift;
    }
    uint32_t Get(uint32_t v, uint32_t absent) const {
        if (!mask) return absent;
        return static_cast<uint32_t>((static_cast<uint64_t>((v & mask) >> shift) * 255 + max / 2) / max);
    }
};

// Run-length data (8 or 4 bits an index): pixels the data never reaches stay
// 0 (transparent); everything is clipped to the image; decoding stops at the
// data's end.
void DecodeRunLength(const uint8_t* data, size_t at, size_t end, bool four, const std::vector<uint32_t>& palette,
                     bool bottomUp, Pixels& out) {
    const int32_t width = out.width, height = out.height;
    auto put = [&](int32_t x, int32_t line, uint32_t index) {
        const int32_t y = bottomUp ? height - 1 - line : line;
        if (index >= palette.size()) return;
        out.bgra[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] = palette[index];
    };
    int32_t x = 0, line = 0;
    while (at + 1 < end && line < height) {
        const uint8_t n = data[at], v = data[at + 1];
        at += 2;
        if (n > 0) {
            for (int32_t i = 0; i < n && x < width; ++i) put(x++, line, four ? (i & 1 ? v & 15 : v >> 4) : v);
            continue;
        }
        if (v == 0) {
            x = 0;
            ++line;
        } else if (v == 1) {
            break;
        } else if (v == 2) {
            if (at + 1 >= end) break;
            x = std::min(width, x + data[at]);
            line += data[at + 1];
            at += 2;
        } else {
            const size_t bytes = four ? (v + 1u) / 2 : v;
            const size_t avail = std::min(bytes, end - at);
            for (size_t i = 0; i < v && x < width; ++i) {
                const size_t b = four ? i / 2 : i;
                if (b >= avail) break;
                put(x++, line, four ? (i & 1 ? data[at + b] & 15 : data[at + b] >> 4) : data[at + b]);
            }
            at += bytes + (bytes & 1);
        }
    }
}

}  // namespace

bool DecodeBmp(const uint8_t* data, size_t size, Pixels& out) {
    if (size < 14 + 12 || data[0] != 'B' || data[1] != 'M') return false;
    const uint32_t pixelOffset = U32(data + 10);
    const uint32_t infoSize = U32(data + 14);
    if (infoSize < 12 || infoSize > size - 14) return false;
    const uint8_t* info = data + 14;
    int64_t width, height;
    uint32_t planes, bits, compression = kRgb, used = 0;
    size_t entryBytes = 4;
    if (infoSize == 12) {
        width = U16(info + 4);
        height = U16(info + 6);
        planes = U16(info + 8);
        bits = U16(info + 10);
        entryBytes = 3;
    } else if (infoSize >= 40) {
        width = static_cast<int32_t>(U32(info + 4));
        height = static_cast<int32_t>(U32(info + 8));
        planes = U16(info + 12);
        bits = U16(info + 14);
        compression = U32(info + 16);
        used = U32(info + 32);
    } else {
        return false;
    }
    const bool bottomUp = height > 0;
    height = height < 0 ? -height : height;
    if (planes != 1 || !KoralSizeAcceptable(width, height)) return false;
    const bool runLength = compression == kRle8 || compression == kRle4;
    if (!(bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32)) return false;
    if ((compression == kRle8 && bits != 8) || (compression == kRle4 && bits != 4) ||
        (compression == kBitFields && bits != 32) || compression > kBitFields)
        return false;

    // Colour masks of a 32-bit bitfield file: inside a long header, else the
    // 12 bytes after the short one.
    size_t tables = 14 + infoSize;
    uint32_t masks[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
    if (compression == kBitFields) {
        const size_t at = infoSize >= 52 ? 14 + 40 : tables;
        const size_t count = infoSize >= 56 ? 4 : 3;
        if (at + count * 4 > size) return false;
        for (size_t i = 0; i < count; ++i) masks[i] = U32(data + at + i * 4);
        if (!masks[0] || !masks[1] || !masks[2]) return false;
        if (infoSize < 52) tables += 12;
    }

    std::vector<uint32_t> palette;
    if (bits <= 8) {
        const uint32_t most = 1u << bits;
        const uint32_t count = used ? used : most;
        if (count > most || tables + static_cast<size_t>(count) * entryBytes > size) return false;
        palette.resize(count);
        for (uint32_t i = 0; i < count; ++i) {
            const uint8_t* e = data + tables + i * entryBytes;
            palette[i] = 0xFF000000u | static_cast<uint32_t>(e[2]) << 16 | static_cast<uint32_t>(e[1]) << 8 | e[0];
        }
    }
    if (pixelOffset < 14 + infoSize || pixelOffset >= size) return false;
    // Uncompressed rows must all be there before the image is made: a short
    // file claiming a large image is refused without allocating it.
    const uint64_t stride = (static_cast<uint64_t>(width) * bits + 31) / 32 * 4;
    if (!runLength && stride * static_cast<uint64_t>(height) > size - pixelOffset) return false;
    if (!AllocatePixels(out, width, height)) return false;
    out.bits = static_cast<int32_t>(bits);

    if (runLength) {
        DecodeRunLength(data, pixelOffset, size, compression == kRle4, palette, bottomUp, out);
        return true;
    }
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
    for (int64_t line = 0; line < height; ++line) {
        const uint8_t* row = data + pixelOffset + stride * static_cast<uint64_t>(line);
        uint32_t* target = out.bgra.data() + static_cast<size_t>(bottomUp ? height - 1 - line : line) * static_cast<size_t>(width);
        for (int64_t x = 0; x < width; ++x) {
            uint32_t pixel = 0;
            if (bits <= 8) {
                const uint64_t bit = static_cast<uint64_t>(x) * bits;
                const uint32_t index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                if (index < palette.size()) pixel = palette[index];
            } else if (bits == 24) {
                const uint8_t* p = row + x * 3;
                pixel = 0xFF000000u | static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
            } else {
                const uint32_t v = U32(row + x * 4);
                pixel = compression == kBitFields
                            ? alpha.Get(v, 255) << 24 | red.Get(v, 0) << 16 | green.Get(v, 0) << 8 | blue.Get(v, 0)
                            : 0xFF000000u | (v & 0xFFFFFF);
            }
            target[x] = pixel;
        }
    }
    return true;
}

bool EncodeBmp(const Pixels& in, std::vector<uint8_t>& out) {
    if (!KoralSizeAcceptable(in.width, in.height)) return false;
    const uint32_t stride = (static_cast<uint32_t>(in.width) * 3 + 3) & ~3u;
    const uint64_t pixelBytes = static_cast<uint64_t>(stride) * static_cast<uint32_t>(in.height);
    if (pixelBytes + 54 > 0xFFFFFFFFu) return false;
    out.clear();
    out.reserve(static_cast<size_t>(pixelBytes) + 54);
    out.push_back('B');
    out.push_back('M');
    Put32(out, static_cast<uint32_t>(pixelBytes + 54));
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(in.width));
    Put32(out, static_cast<uint32_t>(in.height));
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, kRgb);
    Put32(out, static_cast<uint32_t>(pixelBytes));
    Put32(out, 2835);  // 72 dots per inch
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int32_t line = in.height - 1; line >= 0; --line) {
        const uint32_t* row = in.bgra.data() + static_cast<size_t>(line) * static_cast<size_t>(in.width);
        for (int32_t x = 0; x < in.width; ++x) {
            out.push_back(static_cast<uint8_t>(row[x]));
            out.push_back(static_cast<uint8_t>(row[x] >> 8));
            out.push_back(static_cast<uint8_t>(row[x] >> 16));
        }
        for (uint32_t pad = static_cast<uint32_t>(in.width) * 3; pad < stride; ++pad) out.push_back(0);
    }
    return true;
}

}  // namespace koral
