#include "launcher/LauncherPicture.h"
#include "platform/File.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}
void Put16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// The twenty static colours of a 256-colour display.
constexpr uint8_t kStatic[20][3] = {
    {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
    {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
    {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
    {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};

}  // namespace

bool LauncherPicture::Parse(std::string& error) {
    const uint8_t* b = mBytes.data();
    const size_t size = mBytes.size();
    if (size < 12) {
        error = "picture shorter than its header";
        return false;
    }
    const uint32_t headerSize = U32(b);
    uint64_t colours;
    if (headerSize == 12) {
        mCore = true;
        mWidth = U16(b + 4);
        mHeight = U16(b + 6);
        mBits = U16(b + 10);
        mCompression = 0;
        colours = mBits < 9 ? (1u << mBits) : 0;
        mTableSize = colours * 3;
    } else if (headerSize >= 40 && headerSize <= 124 && size >= headerSize) {
        mCore = false;
        const int32_t width = static_cast<int32_t>(U32(b + 4));
        const int32_t height = static_cast<int32_t>(U32(b + 8));
        mBits = U16(b + 14);
        mCompression = U32(b + 16);
        const uint32_t used = U32(b + 32);
        if (width <= 0 || height == 0 || height == INT32_MIN) {
            error = "picture of no size";
            return false;
        }
        mWidth = width;
        mTopDown = height < 0;
        mHeight = height < 0 ? -height : height;
        colours = used != 0 ? used : (mBits < 9 ? (1u << mBits) : 0);
        mTableSize = colours * 4 + (mCompression == 3 ? 12 : 0);
    } else {
        error = "unknown picture header size " + std::to_string(headerSize);
        return false;
    }
    if (mBits != 1 && mBits != 4 && mBits != 8 && mBits != 16 && mBits != 24 && mBits != 32) {
        error = "unsupported bit count " + std::to_string(mBits);
        return false;
    }
    if (mCompression != 0 && mCompression != 3) {
        error = "compressed pictures are not read";
        return false;
    }
    if (mWidth <= 0 || mHeight <= 0 || mWidth > 32768 || mHeight > 32768) {
        error = "picture size out of range";
        return false;
    }
    mColours = static_cast<uint32_t>(std::min<uint64_t>(colours, UINT32_MAX));
    mHeaderSize = headerSize;
    mStride = static_cast<uint32_t>((uint64_t(mWidth) * mBits + 31) / 32 * 4);
    const uint64_t needed = uint64_t(mHeaderSize) + mTableSize + uint64_t(mStride) * mHeight;
    if (colours > 65536 || needed > size) {
        error = "picture rows run past the end of its bytes";
        return false;
    }
    return true;
}

std::unique_ptr<LauncherPicture> LauncherPicture::FromDib(const uint8_t* bytes, size_t size, std::string& error) {
    std::unique_ptr<LauncherPicture> picture(new LauncherPicture);
    picture->mBytes.assign(bytes, bytes + size);
    if (!picture->Parse(error)) return nullptr;
    return picture;
}

std::unique_ptr<LauncherPicture> LauncherPicture::FromBmp(const uint8_t* bytes, size_t size, std::string& error) {
    if (size < 14 || bytes[0] != 'B' || bytes[1] != 'M') {
        error = "not a BMP file";
        return nullptr;
    }
    const uint32_t offset = U32(bytes + 10);
    std::unique_ptr<LauncherPicture> picture = FromDib(bytes + 14, size - 14, error);
    if (!picture) return nullptr;
    // The rows sit where the file header says, which may leave a gap after
    // the colour table: close it so the block is laid out as in memory.
    const size_t rows = size_t(offset) >= 14 ? offset - 14 : 0;
    const size_t expected = picture->mHeaderSize + picture->mTableSize;
    if (rows != expected) {
        if (rows < expected || rows > size - 14) {
            error = "pixel offset inside the header";
            return nullptr;
        }
        std::vector<uint8_t>& b = picture->mBytes;
        b.erase(b.begin() + static_cast<std::ptrdiff_t>(expected), b.begin() + static_cast<std::ptrdiff_t>(rows));
        if (!picture->Parse(error)) return nullptr;
    }
    return picture;
}

std::unique_ptr<LauncherPicture> LauncherPicture::LoadBmpFile(const std::filesystem::path& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path.string();
        return nullptr;
    }
    const std::string bytes = platform::ReadRest(in);
    return FromBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), error);
}

std::unique_ptr<LauncherPicture> LauncherPicture::Make(int32_t width, int32_t height, uint16_t bits) {
    std::unique_ptr<LauncherPicture> p(new LauncherPicture);
    const uint32_t stride = static_cast<uint32_t>((uint64_t(width) * bits + 31) / 32 * 4);
    const size_t table = bits == 8 ? 1024 : 0;
    p->mBytes.assign(40 + table + size_t(stride) * height, 0);
    uint8_t* b = p->mBytes.data();
    Put32(b, 40);
    Put32(b + 4, static_cast<uint32_t>(width));
    Put32(b + 8, static_cast<uint32_t>(height));
    Put16(b + 12, 1);
    Put16(b + 14, bits);
    Put32(b + 20, static_cast<uint32_t>(stride * height));
    for (size_t i = 0; i < table / 4; ++i) b[40 + 4 * i] = b[41 + 4 * i] = b[42 + 4 * i] = static_cast<uint8_t>(i);
    std::string error;
    if (!p->Parse(error)) return nullptr;
    return p;
}

std::unique_ptr<LauncherPicture> LauncherPicture::Copy() const {
    std::unique_ptr<LauncherPicture> copy(new LauncherPicture(*this));
    return copy;
}

bool LauncherPicture::CopyInto(const LauncherPicture& source) {
    if (source.mBytes.size() != mBytes.size()) return false;
    *this = source;
    return true;
}

uint8_t* LauncherPicture::Row(int32_t y) {
    const int32_t stored = mTopDown ? y : mHeight - 1 - y;
    return mBytes.data() + mHeaderSize + mTableSize + size_t(stored) * mStride;
}

const uint8_t* LauncherPicture::Row(int32_t y) const { return const_cast<LauncherPicture*>(this)->Row(y); }

std::array<uint8_t, 3> LauncherPicture::Pixel(int32_t x, int32_t y) const {
    const uint8_t* row = Row(y);
    if (mBits == 24) return {row[3 * x + 2], row[3 * x + 1], row[3 * x]};
    if (mBits == 8) {
        const uint8_t index = row[x];
        if (index >= mColours) return {0, 0, 0};
        const uint8_t* entry = mBytes.data() + mHeaderSize + size_t(index) * (mCore ? 3 : 4);
        return {entry[2], entry[1], entry[0]};
    }
    return {0, 0, 0};
}

std::vector<uint8_t> LauncherPicture::ToBmp() const {
    std::vector<uint8_t> out(14, 0);
    out[0] = 'B';
    out[1] = 'M';
    Put32(out.data() + 2, static_cast<uint32_t>(14 + mBytes.size()));
    Put32(out.data() + 10, static_cast<uint32_t>(14 + mHeaderSize + mTableSize));
    out.resize(14 + mBytes.size());
    std::memcpy(out.data() + 14, mBytes.data(), mBytes.size());
    return out;
}

bool LauncherPicture::ApplyColourTable(const std::vector<uint8_t>& table) {
    if (mBits != 8 || mCore || table.size() != 1024 || mColours < 256) return false;
    std::memcpy(mBytes.data() + mHeaderSize, table.data(), 1024);
    return true;
}

bool LauncherPicture::Blend(const LauncherPicture* fore, int32_t fx, int32_t fy, const LauncherPicture* back,
                            int32_t bx, int32_t by, const LauncherPicture* mask, int32_t mx, int32_t my,
                            LauncherPicture* dest, int32_t dx, int32_t dy, int32_t width, int32_t height) {
    if (!fore || !back || !mask || !dest) return false;
    const uint16_t bits = fore->mBits;
    if ((bits != 8 && bits != 24) || back->mBits != bits || dest->mBits != bits || mask->mBits != 8) return false;
    if (fx < 0 || fy < 0 || bx < 0 || by < 0 || mx < 0 || my < 0 || dx < 0 || dy < 0) return false;
    // Clip to every picture, columns as well as rows.
    auto clip = [](int32_t limit, int32_t at, int32_t n) { return std::min(n, limit - at); };
    width = clip(fore->mWidth, fx, clip(back->mWidth, bx, clip(mask->mWidth, mx, clip(dest->mWidth, dx, width))));
    height = clip(fore->mHeight, fy,
                  clip(back->mHeight, by, clip(mask->mHeight, my, clip(dest->mHeight, dy, height))));
    if (width <= 0 || height <= 0) return false;
    const int bytes = bits / 8;
    for (int32_t r = 0; r < height; ++r) {
        const uint8_t* f = fore->Row(fy + r) + size_t(fx) * bytes;
        const uint8_t* b = back->Row(by + r) + size_t(bx) * bytes;
        const uint8_t* m = mask->Row(my + r) + mx;
        uint8_t* d = dest->Row(dy + r) + size_t(dx) * bytes;
        for (int32_t c = 0; c < width; ++c) {
            const unsigned a = m[c];
            for (int k = 0; k < bytes; ++k) {
                const size_t i = size_t(c) * bytes + k;
                if (a == 0)
                    d[i] = b[i];
                else if (a == 255)
                    d[i] = f[i];
                else if (bytes == 1)
                    d[i] = a >= 128 ? f[i] : b[i];  // palette indices do not mix
                else
                    d[i] = static_cast<uint8_t>((a * f[i] + (255 - a) * b[i]) / 256);
            }
        }
    }
    return true;
}

bool ParseRiffPalette(const uint8_t* bytes, size_t size, std::vector<std::array<uint8_t, 4>>& entries,
                      std::string& error) {
    if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "PAL ", 4) != 0) {
        error = "not a RIFF palette";
        return false;
    }
    size_t pos = 12;
    while (size - pos >= 8) {
        const uint32_t length = U32(bytes + pos + 4);
        if (length > size - pos - 8) {
            error = "palette chunk runs past the end";
            return false;
        }
        if (std::memcmp(bytes + pos, "data", 4) == 0) {
            const uint8_t* d = bytes + pos + 8;
            if (length < 4 || U16(d) != 0x300) {
                error = "palette data is not version 0x300";
                return false;
            }
            const uint16_t count = U16(d + 2);
            if (count != 256 || length < 4 + 4u * count) {
                error = "palette does not hold 256 entries";
                return false;
            }
            entries.assign(256, {});
            for (size_t i = 0; i < 256; ++i) std::memcpy(entries[i].data(), d + 4 + 4 * i, 4);
            return true;
        }
        pos += 8 + length + (length & 1);
        if (pos > size) break;
    }
    error = "palette has no data chunk";
    return false;
}

std::vector<uint8_t> WriteRiffPalette(const std::vector<std::array<uint8_t, 4>>& entries) {
    const uint32_t data = static_cast<uint32_t>(4 + 4 * entries.size());
    std::vector<uint8_t> out(24);
    std::memcpy(out.data(), "RIFF", 4);
    Put32(out.data() + 4, 4 + 8 + data);
    std::memcpy(out.data() + 8, "PAL data", 8);
    Put32(out.data() + 16, data);
    Put16(out.data() + 20, 0x300);
    Put16(out.data() + 22, static_cast<uint16_t>(entries.size()));
    for (const auto& e : entries) out.insert(out.end(), e.begin(), e.end());
    return out;
}

void ReplaceStaticColours(std::vector<std::array<uint8_t, 4>>& entries) {
    if (entries.size() != 256) return;
    for (int i = 0; i < 10; ++i) {
        entries[i] = {kStatic[i][0], kStatic[i][1], kStatic[i][2], 0};
        entries[246 + i] = {kStatic[10 + i][0], kStatic[10 + i][1], kStatic[10 + i][2], 0};
    }
}

std::vector<uint8_t> ColourTableOf(const std::vector<std::array<uint8_t, 4>>& entries) {
    std::vector<uint8_t> table;
    for (const auto& e : entries) {
        table.push_back(e[2]);
        table.push_back(e[1]);
        table.push_back(e[0]);
        table.push_back(0);
    }
    return table;
}
