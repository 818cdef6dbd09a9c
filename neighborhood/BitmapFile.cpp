#include "neighborhood/BitmapFile.h"

#include <cstring>

#include "platform/File.h"
#include "resfile/MemHandle.h"
#include "resfile/TypeCode.h"
#include "resfile/iResFile.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cRZPalette.h"

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kSmallestInfoHeader = 40;
constexpr int32_t kLargestSide = 16384;
constexpr size_t kLargestArea = 16u * 1024u * 1024u;

uint32_t Le32(std::string_view b, size_t at) {
    return static_cast<uint32_t>(static_cast<uint8_t>(b[at])) | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 2])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(b[at + 3])) << 24;
}
uint16_t Le16(std::string_view b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}

bool Refuse(std::string* error, const char* why) {
    if (error) *error = why;
    return false;
}

// Run-length 8-bit pixel data into `out.indices`; rows in file order are
// mapped through `bottomUp`.
bool DecodeRle8(std::string_view data, bool bottomUp, DecodedBitmap& out, std::string* error) {
    const int32_t w = out.width, h = out.height;
    int32_t x = 0, y = 0;  // y counts rows in file order
    size_t at = 0;
    auto put = [&](uint8_t index) {
        const int32_t row = bottomUp ? h - 1 - y : y;
        out.indices[static_cast<size_t>(row) * static_cast<size_t>(w) + static_cast<size_t>(x)] = index;
        ++x;
    };
    while (at + 2 <= data.size()) {
        const uint8_t count = static_cast<uint8_t>(data[at]);
        const uint8_t value = static_cast<uint8_t>(data[at + 1]);
        at += 2;
        if (count > 0) {
            if (y >= h || x + count > w) return Refuse(error, "run past the picture");
            for (int32_t i = 0; i < count; ++i) put(value);
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of picture
            return true;
        } else if (value == 2) {  // move
            if (at + 2 > data.size()) return Refuse(error, "move escape cut short");
            const int32_t dx = static_cast<uint8_t>(data[at]), dy = static_cast<uint8_t>(data[at + 1]);
            at += 2;
            if (x + dx > w || y + dy > h) return Refuse(error, "move past the picture");
            x += dx;
            y += dy;
        } else {  // literal indices, padded to an even count
            const size_t padded = (static_cast<size_t>(value) + 1) & ~size_t{1};
            if (at + value > data.size()) return Refuse(error, "literal run cut short");
            if (y >= h || x + value > w) return Refuse(error, "literal run past the picture");
            for (int32_t i = 0; i < value; ++i) put(static_cast<uint8_t>(data[at + static_cast<size_t>(i)]));
            at += std::min(padded, data.size() - at);
        }
    }
    // Data ending without the end-of-picture escape leaves the rest as made.
    return true;
}

}  // namespace

uint16_t BitmapPixel16(int32_t formatCode, uint32_t rgb) {
    const uint32_t r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    if (formatCode == cGZBuffer::kFormat555) return static_cast<uint16_t>((r >> 3) << 10 | (g >> 3) << 5 | b >> 3);
    return static_cast<uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | b >> 3);
}

bool DecodeBitmap(std::string_view bytes, DecodedBitmap& out, std::string* error) {
    out = DecodedBitmap{};
    if (bytes.size() < kFileHeaderSize + kSmallestInfoHeader) return Refuse(error, "too short for the headers");
    if (bytes[0] != 'B' || bytes[1] != 'M') return Refuse(error, "no BM signature");
    const uint32_t dataOffset = Le32(bytes, 10);
    const uint32_t infoSize = Le32(bytes, 14);
    if (infoSize < kSmallestInfoHeader || infoSize > bytes.size() - kFileHeaderSize) return Refuse(error, "bad info header size");
    const int32_t width = static_cast<int32_t>(Le32(bytes, 18));
    const int32_t rawHeight = static_cast<int32_t>(Le32(bytes, 22));
    const uint16_t planes = Le16(bytes, 26);
    const uint16_t bits = Le16(bytes, 28);
    const uint32_t compression = Le32(bytes, 30);
    uint32_t colourCount = Le32(bytes, 46);
    if (width <= 0 || rawHeight == 0 || rawHeight == INT32_MIN) return Refuse(error, "empty or impossible size");
    const bool bottomUp = rawHeight > 0;
    const int32_t height = bottomUp ? rawHeight : -rawHeight;
    if (width > kLargestSide || height > kLargestSide ||
        static_cast<size_t>(width) * static_cast<size_t>(height) > kLargestArea)
        return Refuse(error, "picture too large");
    if (planes != 1) return Refuse(error, "planes other than 1");
    const bool rle = compression == 1;
    if (!((bits == 8 && (compression == 0 || rle)) || (bits == 24 && compression == 0)))
        return Refuse(error, "only 8-bit, run-length 8-bit and 24-bit bitmaps are read");
    if (rle && !bottomUp) return Refuse(error, "run-length bitmaps are stored bottom-up");

    // Colour table: 24-bit pictures need none; 8-bit ones at most 256.
    const size_t tableAt = kFileHeaderSize + infoSize;
    if (bits == 8) {
        if (colourCount == 0) colourCount = 256;
        if (colourCount > 256) return Refuse(error, "more than 256 colours");
    } else {
        colourCount = 0;
    }
    const size_t tableEnd = tableAt + static_cast<size_t>(colourCount) * 4;
    if (tableEnd > bytes.size()) return Refuse(error, "colour table past the end");
    if (dataOffset < tableEnd || dataOffset >= bytes.size()) return Refuse(error, "pixel data offset outside the file");

    out.width = width;
    out.height = height;
    out.bits = bits;
    const std::string_view data = bytes.substr(dataOffset);
    const size_t area = static_cast<size_t>(width) * static_cast<size_t>(height);
    if (bits == 8) {
        out.colours.assign(256, 0);
        for (uint32_t i = 0; i < colourCount; ++i)
            out.colours[i] = Le32(bytes, tableAt + static_cast<size_t>(i) * 4) & 0xFFFFFF;
        out.indices.assign(area, 0);
        if (rle) {
            if (!DecodeRle8(data, bottomUp, out, error)) return false;
            return true;
        }
        const size_t stride = (static_cast<size_t>(width) + 3) & ~size_t{3};
        if (stride * static_cast<size_t>(height) > data.size()) return Refuse(error, "pixel data cut short");
        for (int32_t y = 0; y < height; ++y) {
            const int32_t row = bottomUp ? height - 1 - y : y;
            std::memcpy(&out.indices[static_cast<size_t>(row) * static_cast<size_t>(width)],
                        data.data() + static_cast<size_t>(y) * stride, static_cast<size_t>(width));
        }
        return true;
    }
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    if (stride * static_cast<size_t>(height) > data.size()) return Refuse(error, "pixel data cut short");
    out.rgb.assign(area, 0);
    for (int32_t y = 0; y < height; ++y) {
        const int32_t row = bottomUp ? height - 1 - y : y;
        const char* src = data.data() + static_cast<size_t>(y) * stride;
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t b = static_cast<uint8_t>(src[x * 3]), g = static_cast<uint8_t>(src[x * 3 + 1]),
                           r = static_cast<uint8_t>(src[x * 3 + 2]);
            out.rgb[static_cast<size_t>(row) * static_cast<size_t>(width) + static_cast<size_t>(x)] = r << 16 | g << 8 | b;
        }
    }
    return true;
}

cGZBuffer* LoadBitmapBytes(std::string_view bytes, int32_t mode) {
    DecodedBitmap bitmap;
    if (!DecodeBitmap(bytes, bitmap)) return nullptr;
    auto* buffer = new cGZBuffer;
    const size_t w = static_cast<size_t>(bitmap.width);
    if (mode == kBitmapModePalette) {
        if (bitmap.bits != 8) {
            delete buffer;
            return nullptr;
        }
        auto* palette = new cRZPalette;
        palette->Resize(256, 24);
        for (int32_t i = 0; i < 256; ++i) palette->SetEntry(i, bitmap.colours[static_cast<size_t>(i)]);
        if (!buffer->Init(bitmap.width, bitmap.height, cGZBuffer::kFormatIndex8, 8, palette, 0, cGZBuffer::kKindIndex) ||
            !buffer->Lock(64)) {
            delete buffer;
            return nullptr;
        }
        auto* bits = reinterpret_cast<uint8_t*>(buffer->GetBits());
        const size_t pitch = static_cast<size_t>(buffer->GetPitch());
        for (int32_t y = 0; y < bitmap.height; ++y)
            std::memcpy(bits + static_cast<size_t>(y) * pitch, &bitmap.indices[static_cast<size_t>(y) * w], w);
        buffer->Unlock(64);
        buffer->ApplyPalette();
        buffer->AddRef();
        return buffer;
    }
    const int32_t format = cGZBuffer::GetScreenFormat();
    if (!buffer->Init(bitmap.width, bitmap.height, format, 16, nullptr, 0, 0) || !buffer->Lock(64)) {
        delete buffer;
        return nullptr;
    }
    uint16_t table[256] = {};
    if (bitmap.bits == 8)
        for (size_t i = 0; i < 256; ++i) table[i] = BitmapPixel16(format, bitmap.colours[i]);
    uint16_t* bits = buffer->GetBits();
    const size_t pitch = static_cast<size_t>(buffer->GetPitch()) / 2;
    for (size_t y = 0; y < static_cast<size_t>(bitmap.height); ++y)
        for (size_t x = 0; x < w; ++x)
            bits[y * pitch + x] = bitmap.bits == 8 ? table[bitmap.indices[y * w + x]] : BitmapPixel16(format, bitmap.rgb[y * w + x]);
    buffer->Unlock(64);
    buffer->AddRef();
    return buffer;
}

cGZBuffer* LoadBitmapFile(const std::string& path, int32_t mode) {
    platform::File file;
    std::string bytes;
    if (!file.Open(path, platform::File::kRead, platform::File::Disposition::kOpenExisting) || !file.ReadToEnd(bytes))
        return nullptr;
    return LoadBitmapBytes(bytes, mode);
}

cGZBuffer* LoadBitmapResource(iResFile* file, int32_t id, int32_t mode) {
    if (!file || id < INT16_MIN || id > INT16_MAX) return nullptr;
    MemHandle handle = file->GetResource(TypeCode("BMP_"), static_cast<ResId>(id), nullptr);
    if (!handle) return nullptr;
    const int32_t size = GetMemHandleSize(handle);
    std::string bytes(reinterpret_cast<const char*>(GetMemHandleData(handle)), static_cast<size_t>(size > 0 ? size : 0));
    file->ReleaseResource(handle);
    return LoadBitmapBytes(bytes, mode);
}
