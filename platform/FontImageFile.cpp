#include "platform/FontImageFile.h"

#include <cstring>

namespace platform {
namespace {

constexpr char kFontImageMagic[4] = {'T', 'F', 'F', 'N'};
constexpr uint16_t kVersion = 1;

class FontImageReader {
public:
    FontImageReader(const uint8_t* data, size_t size) : mData(data), mSize(size) {}
    bool Bytes(void* out, size_t n) {
        if (n > mSize - mPos) return false;
        if (n == 0) return true;
        std::memcpy(out, mData + mPos, n);
        mPos += n;
        return true;
    }
    bool U8(uint32_t& v) {
        uint8_t b = 0;
        if (!Bytes(&b, 1)) return false;
        v = b;
        return true;
    }
    bool U16(uint32_t& v) {
        uint8_t b[2];
        if (!Bytes(b, 2)) return false;
        v = static_cast<uint32_t>(b[0] | (b[1] << 8));
        return true;
    }
    bool I16(int32_t& v) {
        uint32_t u = 0;
        if (!U16(u)) return false;
        v = static_cast<int16_t>(static_cast<uint16_t>(u));
        return true;
    }
    bool U32(uint32_t& v) {
        uint8_t b[4];
        if (!Bytes(b, 4)) return false;
        v = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
        return true;
    }
    bool AtEnd() const { return mPos == mSize; }

private:
    const uint8_t* mData;
    size_t mSize;
    size_t mPos = 0;
};

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

bool SideOk(int32_t side) { return side >= 0 && side <= kFfnMaxSide; }
bool OriginOk(int32_t origin) { return origin >= -32768 && origin <= 32767; }

}  // namespace

bool IsFfn(const uint8_t* data, size_t size) { return size >= 4 && std::memcmp(data, kFontImageMagic, 4) == 0; }

bool DecodeFfn(const uint8_t* data, size_t size, FfnFile& out) {
    if (!data || !IsFfn(data, size)) return false;
    FontImageReader in(data + 4, size - 4);
    uint32_t version = 0, paletteCount = 0, imageCount = 0;
    if (!in.U16(version) || version != kVersion || !in.U16(paletteCount) || !in.U32(imageCount)) return false;
    if (paletteCount < 1 || paletteCount > 256 || imageCount > static_cast<uint32_t>(kFfnMaxImages)) return false;
    FfnFile file;
    file.palette.resize(paletteCount);
    for (uint32_t& entry : file.palette)
        if (!in.U32(entry)) return false;
    file.images.resize(imageCount);
    for (FfnImage& image : file.images) {
        uint32_t nameLength = 0, width = 0, height = 0;
        if (!in.U8(nameLength) || nameLength > kFfnMaxName) return false;
        image.name.resize(nameLength);
        if (!in.Bytes(image.name.data(), nameLength)) return false;
        if (!in.U16(width) || !in.U16(height) || !in.I16(image.originX) || !in.I16(image.originY)) return false;
        image.width = static_cast<int32_t>(width);
        image.height = static_cast<int32_t>(height);
        if (!SideOk(image.width) || !SideOk(image.height)) return false;
        image.pixels.resize(static_cast<size_t>(width) * height);
        if (!in.Bytes(image.pixels.data(), image.pixels.size())) return false;
        for (uint8_t index : image.pixels)
            if (index >= paletteCount) return false;
    }
    if (!in.AtEnd()) return false;
    out = std::move(file);
    return true;
}

bool EncodeFfn(const FfnFile& in, std::vector<uint8_t>& out) {
    if (in.palette.empty() || in.palette.size() > 256 || in.images.size() > static_cast<size_t>(kFfnMaxImages))
        return false;
    std::vector<uint8_t> bytes(kFontImageMagic, kFontImageMagic + 4);
    PutU16(bytes, kVersion);
    PutU16(bytes, static_cast<uint32_t>(in.palette.size()));
    PutU32(bytes, static_cast<uint32_t>(in.images.size()));
    for (uint32_t entry : in.palette) PutU32(bytes, entry);
    for (const FfnImage& image : in.images) {
        if (image.name.size() > kFfnMaxName || !SideOk(image.width) || !SideOk(image.height) ||
            !OriginOk(image.originX) || !OriginOk(image.originY) ||
            image.pixels.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height))
            return false;
        for (uint8_t index : image.pixels)
            if (index >= in.palette.size()) return false;
        bytes.push_back(static_cast<uint8_t>(image.name.size()));
        bytes.insert(bytes.end(), image.name.begin(), image.name.end());
        PutU16(bytes, static_cast<uint32_t>(image.width));
        PutU16(bytes, static_cast<uint32_t>(image.height));
        PutU16(bytes, static_cast<uint16_t>(image.originX));
        PutU16(bytes, static_cast<uint16_t>(image.originY));
        bytes.insert(bytes.end(), image.pixels.begin(), image.pixels.end());
    }
    out = std::move(bytes);
    return true;
}

}  // namespace platform
