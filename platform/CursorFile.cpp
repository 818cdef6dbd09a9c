#include "platform/CursorFile.h"
#include "platform/File.h"

#include "platform/PngFile.h"

#include <cstring>
#include <fstream>
#include <iterator>

namespace platform {

namespace {

constexpr int32_t kMaxSide = 256;
constexpr uint32_t kMaxFrames = 1024;

// Reads little-endian fields at checked positions.
class CursorReader {
public:
    explicit CursorReader(std::string_view bytes) : bytes_(bytes) {}
    size_t Size() const { return bytes_.size(); }
    bool Has(size_t offset, size_t length) const { return offset <= bytes_.size() && length <= bytes_.size() - offset; }
    uint8_t U8(size_t at) const { return static_cast<uint8_t>(bytes_[at]); }
    uint16_t U16(size_t at) const { return static_cast<uint16_t>(U8(at) | (U8(at + 1) << 8)); }
    uint32_t U32(size_t at) const {
        return static_cast<uint32_t>(U8(at)) | (static_cast<uint32_t>(U8(at + 1)) << 8) |
               (static_cast<uint32_t>(U8(at + 2)) << 16) | (static_cast<uint32_t>(U8(at + 3)) << 24);
    }
    std::string_view Slice(size_t at, size_t length) const { return bytes_.substr(at, length); }

private:
    std::string_view bytes_;
};

template <typename T>
std::optional<T> Fail(std::string* error, std::string text) {
    if (error) *error = std::move(text);
    return std::nullopt;
}

// One bitmap image of an icon directory: header, palette, colour rows, mask.
std::optional<CursorImage> ReadBitmapImage(std::string_view bytes, std::string* error) {
    CursorReader r(bytes);
    if (!r.Has(0, 40)) return Fail<CursorImage>(error, "cursor image header cut short");
    const uint32_t headerSize = r.U32(0);
    const int32_t width = static_cast<int32_t>(r.U32(4));
    const int32_t doubleHeight = static_cast<int32_t>(r.U32(8));
    const uint16_t bits = r.U16(14);
    const uint32_t compression = r.U32(16);
    uint32_t colorsUsed = r.U32(32);
    if (headerSize < 40 || headerSize > bytes.size()) return Fail<CursorImage>(error, "bad cursor image header size");
    if (width <= 0 || width > kMaxSide || doubleHeight <= 0 || doubleHeight > 2 * kMaxSide || doubleHeight % 2)
        return Fail<CursorImage>(error, "cursor image size out of range");
    if (compression != 0) return Fail<CursorImage>(error, "compressed cursor images are not supported");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        return Fail<CursorImage>(error, "unsupported cursor bit count " + std::to_string(bits));
    const int32_t height = doubleHeight / 2;
    size_t paletteCount = 0;
    if (bits <= 8) {
        const uint32_t full = 1u << bits;
        if (colorsUsed == 0 || colorsUsed > full) colorsUsed = full;
        paletteCount = colorsUsed;
    }
    const size_t paletteAt = headerSize;
    const size_t colorPitch = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
    const size_t maskPitch = ((static_cast<size_t>(width) + 31) / 32) * 4;
    const size_t colorAt = paletteAt + paletteCount * 4;
    const size_t maskAt = colorAt + colorPitch * height;
    if (!r.Has(paletteAt, paletteCount * 4) || !r.Has(colorAt, colorPitch * height))
        return Fail<CursorImage>(error, "cursor image pixels cut short");
    // 32-bit images may leave the mask out; all others need it.
    const bool hasMask = r.Has(maskAt, maskPitch * height);
    if (!hasMask && bits != 32) return Fail<CursorImage>(error, "cursor image mask cut short");

    CursorImage image;
    image.width = width;
    image.height = height;
    image.argb.resize(static_cast<size_t>(width) * height);
    bool anyAlpha = false;
    for (int32_t y = 0; y < height; ++y) {
        const size_t row = colorAt + colorPitch * static_cast<size_t>(height - 1 - y);
        for (int32_t x = 0; x < width; ++x) {
            uint32_t argb = 0;
            if (bits == 32) {
                const size_t p = row + static_cast<size_t>(x) * 4;
                argb = (static_cast<uint32_t>(r.U8(p + 3)) << 24) | (r.U8(p + 2) << 16) | (r.U8(p + 1) << 8) | r.U8(p);
                anyAlpha = anyAlpha || (argb >> 24) != 0;
            } else if (bits == 24) {
                const size_t p = row + static_cast<size_t>(x) * 3;
                argb = 0xFF000000u | (r.U8(p + 2) << 16) | (r.U8(p + 1) << 8) | r.U8(p);
            } else {
                const size_t bit = static_cast<size_t>(x) * bits;
                const unsigned byte = r.U8(row + bit / 8);
                const unsigned index = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                if (index < paletteCount) {
                    const size_t p = paletteAt + index * 4;
                    argb = 0xFF000000u | (r.U8(p + 2) << 16) | (r.U8(p + 1) << 8) | r.U8(p);
                } else {
                    argb = 0xFF000000u;
                }
            }
            image.argb[static_cast<size_t>(y) * width + x] = argb;
        }
    }
    // The AND mask decides transparency unless a 32-bit image carries alpha.
    if (bits != 32 || !anyAlpha) {
        for (int32_t y = 0; y < height && hasMask; ++y) {
            const size_t row = maskAt + maskPitch * static_cast<size_t>(height - 1 - y);
            for (int32_t x = 0; x < width; ++x) {
                const bool masked = (r.U8(row + static_cast<size_t>(x) / 8) >> (7 - x % 8)) & 1;
                uint32_t& px = image.argb[static_cast<size_t>(y) * width + x];
                // Masked pixels with colour would invert the screen: no
                // colour cursor can do that, so they show as black.
                if (masked) px = (px & 0x00FFFFFFu) ? 0xFF000000u : 0;
                else px |= 0xFF000000u;
            }
        }
        if (!hasMask)
            for (uint32_t& px : image.argb) px |= 0xFF000000u;
    }
    return image;
}

std::optional<CursorImage> ReadPngImage(std::string_view bytes, std::string* error) {
    std::string why;
    auto png = ReadPngMemory(bytes, &why);
    if (!png) return Fail<CursorImage>(error, "cursor PNG image: " + why);
    if (png->width > kMaxSide || png->height > kMaxSide) return Fail<CursorImage>(error, "cursor PNG image too large");
    CursorImage image;
    image.width = png->width;
    image.height = png->height;
    image.argb.resize(static_cast<size_t>(png->width) * png->height);
    for (int32_t y = 0; y < png->height; ++y)
        for (int32_t x = 0; x < png->width; ++x) {
            const uint8_t* p = png->At(x, y);
            const uint32_t a = png->channels == 4 ? p[3] : 255;
            image.argb[static_cast<size_t>(y) * png->width + x] = (a << 24) | (p[0] << 16) | (p[1] << 8) | p[2];
        }
    return image;
}

void Put16(std::string& out, uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}
void PutChunk(std::string& out, const char* id, const std::string& body) {
    out.append(id, 4);
    Put32(out, static_cast<uint32_t>(body.size()));
    out += body;
    if (body.size() % 2) out.push_back('\0');
}

}  // namespace

std::optional<CursorImage> ReadCursorFile(std::string_view bytes, std::string* error) {
    CursorReader r(bytes);
    if (!r.Has(0, 6)) return Fail<CursorImage>(error, "cursor file shorter than its header");
    const uint16_t type = r.U16(2);
    const uint16_t count = r.U16(4);
    if (r.U16(0) != 0 || (type != 1 && type != 2)) return Fail<CursorImage>(error, "not a cursor or icon file");
    if (count == 0) return Fail<CursorImage>(error, "cursor file holds no image");
    if (!r.Has(6, static_cast<size_t>(count) * 16)) return Fail<CursorImage>(error, "cursor directory cut short");
    // The first image is the cursor; further sizes are alternatives.
    const size_t entry = 6;
    const uint32_t length = r.U32(entry + 8);
    const uint32_t offset = r.U32(entry + 12);
    if (!r.Has(offset, length) || length < 8) return Fail<CursorImage>(error, "cursor image lies outside the file");
    const std::string_view data = r.Slice(offset, length);
    std::optional<CursorImage> image = data.substr(0, 8) == std::string_view("\x89PNG\r\n\x1a\n", 8)
                                           ? ReadPngImage(data, error)
                                           : ReadBitmapImage(data, error);
    if (!image) return image;
    if (type == 2) {
        image->hotX = r.U16(entry + 4);
        image->hotY = r.U16(entry + 6);
        if (image->hotX >= image->width || image->hotY >= image->height)
            return Fail<CursorImage>(error, "cursor hotspot outside the image");
    }
    return image;
}

std::optional<AnimatedCursor> ReadAnimatedCursor(std::string_view bytes, std::string* error) {
    CursorReader r(bytes);
    if (r.Has(0, 4) && r.U16(0) == 0 && (r.U16(2) == 1 || r.U16(2) == 2)) {
        auto single = ReadCursorFile(bytes, error);
        if (!single) return std::nullopt;
        AnimatedCursor cursor;
        cursor.frames.push_back(std::move(*single));
        cursor.steps.push_back({0, 0});
        return cursor;
    }
    if (!r.Has(0, 12) || r.Slice(0, 4) != "RIFF" || r.Slice(8, 4) != "ACON")
        return Fail<AnimatedCursor>(error, "not an animated cursor (no RIFF ACON header)");
    const size_t end = std::min<size_t>(bytes.size(), static_cast<size_t>(r.U32(4)) + 8);

    bool haveHeader = false;
    uint32_t frameCount = 0, stepCount = 0, defaultRate = 0, flags = 0;
    std::vector<uint32_t> rates, sequence;
    AnimatedCursor cursor;

    auto readTable = [&](size_t at, uint32_t size, std::vector<uint32_t>& table) {
        table.clear();
        for (uint32_t i = 0; i + 4 <= size; i += 4) table.push_back(r.U32(at + i));
    };

    for (size_t at = 12; at + 8 <= end;) {
        const std::string_view id = r.Slice(at, 4);
        const uint32_t size = r.U32(at + 4);
        const size_t body = at + 8;
        if (size > end - body) return Fail<AnimatedCursor>(error, "chunk '" + std::string(id) + "' runs past the end");
        if (id == "anih") {
            if (size < 36) return Fail<AnimatedCursor>(error, "animation header too short");
            frameCount = r.U32(body + 4);
            stepCount = r.U32(body + 8);
            defaultRate = r.U32(body + 28);
            flags = r.U32(body + 32);
            if (frameCount == 0 || frameCount > kMaxFrames || stepCount == 0 || stepCount > kMaxFrames)
                return Fail<AnimatedCursor>(error, "animation frame or step count out of range");
            haveHeader = true;
        } else if (id == "rate") {
            readTable(body, size, rates);
        } else if (id == "seq ") {
            readTable(body, size, sequence);
        } else if (id == "LIST" && size >= 4 && r.Slice(body, 4) == "fram") {
            const size_t listEnd = body + size;
            for (size_t f = body + 4; f + 8 <= listEnd;) {
                const uint32_t frameSize = r.U32(f + 4);
                if (frameSize > listEnd - (f + 8)) return Fail<AnimatedCursor>(error, "frame chunk runs past its list");
                if (r.Slice(f, 4) == "icon") {
                    if (cursor.frames.size() >= kMaxFrames) return Fail<AnimatedCursor>(error, "too many frames");
                    std::string why;
                    auto frame = ReadCursorFile(r.Slice(f + 8, frameSize), &why);
                    if (!frame) return Fail<AnimatedCursor>(error, "frame " + std::to_string(cursor.frames.size()) + ": " + why);
                    cursor.frames.push_back(std::move(*frame));
                }
                f += 8 + frameSize + (frameSize & 1);
            }
        }
        at = body + size + (size & 1);
    }
    if (!haveHeader) return Fail<AnimatedCursor>(error, "animated cursor without its header");
    if ((flags & 1) == 0) return Fail<AnimatedCursor>(error, "animated cursor with raw frames is not supported");
    if (cursor.frames.size() != frameCount)
        return Fail<AnimatedCursor>(error, "animated cursor has " + std::to_string(cursor.frames.size()) +
                                               " frames, its header says " + std::to_string(frameCount));
    const bool hasSequence = (flags & 2) != 0;
    if (hasSequence && sequence.size() < stepCount) return Fail<AnimatedCursor>(error, "step sequence too short");
    if (!rates.empty() && rates.size() < stepCount) return Fail<AnimatedCursor>(error, "rate table too short");
    if (!hasSequence && stepCount > frameCount) return Fail<AnimatedCursor>(error, "more steps than frames without a sequence");
    for (uint32_t i = 0; i < stepCount; ++i) {
        const uint32_t frame = hasSequence ? sequence[i] : i;
        if (frame >= frameCount) return Fail<AnimatedCursor>(error, "step names a missing frame");
        cursor.steps.push_back({frame, rates.empty() ? defaultRate : rates[i]});
    }
    return cursor;
}

std::optional<AnimatedCursor> LoadCursorPath(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return Fail<AnimatedCursor>(error, "cannot open " + path);
    const std::string bytes = platform::ReadRest(in);
    std::string why;
    auto cursor = ReadAnimatedCursor(bytes, &why);
    if (!cursor && error) *error = path + ": " + why;
    return cursor;
}

std::string WriteCursorFile(const CursorImage& image) {
    const size_t colorPitch = static_cast<size_t>(image.width) * 4;
    const size_t maskPitch = ((static_cast<size_t>(image.width) + 31) / 32) * 4;
    std::string dib;
    Put32(dib, 40);
    Put32(dib, static_cast<uint32_t>(image.width));
    Put32(dib, static_cast<uint32_t>(image.height * 2));
    Put16(dib, 1);
    Put16(dib, 32);
    Put32(dib, 0);
    Put32(dib, static_cast<uint32_t>((colorPitch + maskPitch) * image.height));
    for (int i = 0; i < 4; ++i) Put32(dib, 0);
    for (int32_t y = image.height - 1; y >= 0; --y)
        for (int32_t x = 0; x < image.width; ++x) {
            const uint32_t px = image.argb[static_cast<size_t>(y) * image.width + x];
            dib.push_back(static_cast<char>(px & 0xFF));
            dib.push_back(static_cast<char>((px >> 8) & 0xFF));
            dib.push_back(static_cast<char>((px >> 16) & 0xFF));
            dib.push_back(static_cast<char>(px >> 24));
        }
    for (int32_t y = image.height - 1; y >= 0; --y) {
        std::string row(maskPitch, '\0');
        for (int32_t x = 0; x < image.width; ++x)
            if ((image.argb[static_cast<size_t>(y) * image.width + x] >> 24) == 0)
                row[static_cast<size_t>(x) / 8] = static_cast<char>(row[static_cast<size_t>(x) / 8] | (0x80 >> (x % 8)));
        dib += row;
    }
    std::string out;
    Put16(out, 0);
    Put16(out, 2);
    Put16(out, 1);
    out.push_back(static_cast<char>(image.width >= 256 ? 0 : image.width));
    out.push_back(static_cast<char>(image.height >= 256 ? 0 : image.height));
    out.push_back(0);
    out.push_back(0);
    Put16(out, static_cast<uint32_t>(image.hotX));
    Put16(out, static_cast<uint32_t>(image.hotY));
    Put32(out, static_cast<uint32_t>(dib.size()));
    Put32(out, 22);
    return out + dib;
}

std::string WriteAnimatedCursor(const AnimatedCursor& cursor) {
    std::string header;
    Put32(header, 36);
    Put32(header, static_cast<uint32_t>(cursor.frames.size()));
    Put32(header, static_cast<uint32_t>(cursor.steps.size()));
    for (int i = 0; i < 4; ++i) Put32(header, 0);
    Put32(header, cursor.steps.empty() ? 0 : cursor.steps[0].jiffies);
    Put32(header, 3);  // frames are icons; a sequence follows
    std::string rates, sequence, frames = "fram";
    for (const AnimatedCursor::Step& step : cursor.steps) {
        Put32(rates, step.jiffies);
        Put32(sequence, step.frame);
    }
    for (const CursorImage& frame : cursor.frames) PutChunk(frames, "icon", WriteCursorFile(frame));
    std::string body = "ACON";
    PutChunk(body, "anih", header);
    PutChunk(body, "rate", rates);
    PutChunk(body, "seq ", sequence);
    PutChunk(body, "LIST", frames);
    std::string out;
    PutChunk(out, "RIFF", body);
    return out;
}

}  // namespace platform
