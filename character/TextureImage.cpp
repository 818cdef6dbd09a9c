#include "character/TextureImage.h"

#include "character/DirectXErrorText.h"

#include <cctype>
#include <cstring>
#include <map>

namespace {

uint32_t U16(std::string_view b, size_t at) {
    return static_cast<uint8_t>(b[at]) | static_cast<uint32_t>(static_cast<uint8_t>(b[at + 1])) << 8;
}
uint32_t U32(std::string_view b, size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }

void Put16(std::string& s, uint32_t v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

// The surface layout of a texture format; false for formats our surfaces
// cannot hold (the 6-5-5 and 5-5-6 layouts among them).
bool LayoutOf(const TexturePixelFormat& f, platform::PixelLayout& layout) {
    if (f.palettized) {
        if (f.paletteBits != 8) return false;
        layout = platform::PixelLayout::Index8;
        return true;
    }
    if (f.bitCount != 16) return false;
    if (f.redMask == 0xF800 && f.greenMask == 0x07E0 && f.blueMask == 0x001F) {
        layout = platform::PixelLayout::Rgb565;
        return true;
    }
    if (f.redMask == 0x7C00 && f.greenMask == 0x03E0 && f.blueMask == 0x001F) {
        layout = platform::PixelLayout::Rgb555;
        return true;
    }
    return false;
}

int ShiftOf(uint32_t mask) {
    int s = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++s;
    }
    return s;
}

// A channel into its field: integer division by 255 over the field's maximum.
uint32_t Scale(uint8_t c, uint32_t mask) {
    if (!mask) return 0;
    const int shift = ShiftOf(mask);
    const uint32_t max = mask >> shift;
    const uint32_t divisor = max >= 255 ? 1 : 255 / max;
    return std::min<uint32_t>(c / divisor, max) << shift;
}

uint16_t PackTo(const TexturePixelFormat& f, const TextureRgb& c) {
    return static_cast<uint16_t>(Scale(c[0], f.redMask) | Scale(c[1], f.greenMask) | Scale(c[2], f.blueMask));
}

// Builds the palette of an indexed image from RGB pixels in order of first
// appearance.
class PaletteBuilder {
public:
    explicit PaletteBuilder(size_t capacity) : capacity_(capacity) {}
    // False when the colour would need an entry beyond the capacity.
    bool Index(const TextureRgb& c, uint8_t& index) {
        const uint32_t key = static_cast<uint32_t>(c[0]) << 16 | c[1] << 8 | c[2];
        auto it = map_.find(key);
        if (it != map_.end()) {
            index = it->second;
            return true;
        }
        if (palette_.size() >= capacity_) return false;
        index = static_cast<uint8_t>(palette_.size());
        map_.emplace(key, index);
        palette_.push_back(c);
        return true;
    }
    TexturePalette Take() { return std::move(palette_); }

private:
    size_t capacity_;
    std::map<uint32_t, uint8_t> map_;
    TexturePalette palette_;
};

// Writes decoded pixels into the target surface, row y from the top.
class PixelSink {
public:
    PixelSink(const TexturePixelFormat& format, platform::Surface& surface)
        : format_(format), surface_(surface), builder_(256) {}
    // Palette index of an 8-bit source (the palette holds at least 256 entries).
    bool PutIndex(int32_t x, int32_t y, uint8_t index, const TexturePalette& palette) {
        if (format_.palettized) {
            surface_.SetPixel(x, y, index);
            return true;
        }
        surface_.SetPixel(x, y, PackTo(format_, palette[index]));
        return true;
    }
    bool PutRgb(int32_t x, int32_t y, const TextureRgb& c) {
        if (format_.palettized) {
            uint8_t index;
            if (!builder_.Index(c, index)) return false;
            surface_.SetPixel(x, y, index);
            return true;
        }
        surface_.SetPixel(x, y, PackTo(format_, c));
        return true;
    }
    TexturePalette TakePalette() { return builder_.Take(); }

private:
    const TexturePixelFormat& format_;
    platform::Surface& surface_;
    PaletteBuilder builder_;
};

uint32_t DecodeRle8(std::string_view data, int32_t width, int32_t height, bool topDown, PixelSink& sink,
                    const TexturePalette& palette) {
    size_t at = 0;
    int32_t x = 0, row = 0;  // row counts in file order
    auto rowY = [&](int32_t r) { return topDown ? r : height - 1 - r; };
    while (true) {
        if (at + 2 > data.size()) return kDDDFileReadError;
        const uint8_t count = static_cast<uint8_t>(data[at]), value = static_cast<uint8_t>(data[at + 1]);
        at += 2;
        if (count > 0) {
            if (row >= height || x + count > width) return kDDDBadFileFormat;
            for (int i = 0; i < count; ++i) sink.PutIndex(x++, rowY(row), value, palette);
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++row;
        } else if (value == 1) {  // end of image
            return kDDDOk;
        } else if (value == 2) {  // skip right and down
            if (at + 2 > data.size()) return kDDDFileReadError;
            x += static_cast<uint8_t>(data[at]);
            row += static_cast<uint8_t>(data[at + 1]);
            at += 2;
            if (x > width || row > height) return kDDDBadFileFormat;
        } else {  // literal run, padded to an even length
            const size_t padded = (value + 1u) & ~1u;
            if (at + padded > data.size()) return kDDDFileReadError;
            if (row >= height || x + value > width) return kDDDBadFileFormat;
            for (int i = 0; i < value; ++i) sink.PutIndex(x++, rowY(row), static_cast<uint8_t>(data[at + i]), palette);
            at += padded;
        }
    }
}

bool ValidSize(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxTextureSide && height <= kMaxTextureSide;
}

}  // namespace

uint32_t ReadBmpTexture(std::string_view b, const TexturePixelFormat& format, TextureImage& out) {
    if (b.size() < 14) return kDDDFileReadError;
    if (b[0] != 'B' || b[1] != 'M') return kDDDUnknownFileVersion;
    if (b.size() < 54) return kDDDFileReadError;
    const uint32_t pixelOffset = U32(b, 10);
    const uint32_t infoSize = U32(b, 14);
    const int64_t width = static_cast<int32_t>(U32(b, 18));
    int64_t height = static_cast<int32_t>(U32(b, 22));
    const uint32_t planes = U16(b, 26), bits = U16(b, 28), compression = U32(b, 30), colorsUsed = U32(b, 46);
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (infoSize < 40 || !ValidSize(width, height)) return kDDDBadFileFormat;

    TexturePalette palette(256, TextureRgb{0, 0, 0});
    if (bits != 24 || colorsUsed != 0) {
        uint64_t count = colorsUsed;
        if (count == 0) count = bits >= 16 ? 65536 : (uint64_t{1} << bits) * planes;
        if (count >= 257) return kDDDPaletteBurst;
        const uint64_t start = 14 + uint64_t{infoSize};
        if (start + count * 4 > b.size()) return kDDDFileReadError;
        for (uint64_t i = 0; i < count; ++i) {
            const size_t at = static_cast<size_t>(start + i * 4);
            palette[i] = {static_cast<uint8_t>(b[at + 2]), static_cast<uint8_t>(b[at + 1]), static_cast<uint8_t>(b[at])};
        }
    }
    if (!((bits == 8 && (compression == 0 || compression == 1)) || (bits == 24 && compression == 0)))
        return kDDDBadFileFormat;
    platform::PixelLayout layout;
    if (!LayoutOf(format, layout)) return kDDDUnknownPixelFormat;
    if (pixelOffset > b.size()) return kDDDFileReadError;
    const std::string_view data = b.substr(pixelOffset);

    const auto w = static_cast<int32_t>(width), h = static_cast<int32_t>(height);
    auto surface = platform::Surface::Create(w, h, layout);
    if (!surface) return kDDDOutOfMemory;
    surface->Fill(nullptr, 0);
    PixelSink sink(format, *surface);
    if (bits == 8 && compression == 1) {
        if (const uint32_t code = DecodeRle8(data, w, h, topDown, sink, palette)) return code;
    } else {
        const size_t stride = ((static_cast<size_t>(w) * (bits / 8)) + 3) & ~size_t{3};
        if (stride * h > data.size()) return kDDDFileReadError;
        for (int32_t r = 0; r < h; ++r) {
            const int32_t y = topDown ? r : h - 1 - r;
            const char* row = data.data() + stride * r;
            for (int32_t x = 0; x < w; ++x) {
                if (bits == 8) {
                    sink.PutIndex(x, y, static_cast<uint8_t>(row[x]), palette);
                } else {
                    const char* p = row + x * 3;
                    const TextureRgb c{static_cast<uint8_t>(p[2]), static_cast<uint8_t>(p[1]), static_cast<uint8_t>(p[0])};
                    if (!sink.PutRgb(x, y, c)) return kDDDPaletteBurst;
                }
            }
        }
    }
    out.palette.clear();
    if (format.palettized) out.palette = bits == 8 ? palette : sink.TakePalette();
    out.surface = std::move(surface);
    return kDDDOk;
}

namespace {

// The PPM header's tokens: white space and "#" comments between them.
class PpmHeader {
public:
    explicit PpmHeader(std::string_view b) : b_(b) {}
    bool Number(int64_t& value) {
        SkipSpaceAndComments();
        size_t digits = 0;
        value = 0;
        while (at_ < b_.size() && std::isdigit(static_cast<unsigned char>(b_[at_]))) {
            if (value > 1000000) return false;
            value = value * 10 + (b_[at_++] - '0');
            ++digits;
        }
        return digits > 0;
    }
    // Exactly one white-space character ends the header.
    bool End() {
        if (at_ >= b_.size() || !std::isspace(static_cast<unsigned char>(b_[at_]))) return false;
        ++at_;
        return true;
    }
    size_t Offset() const { return at_; }
    void Skip(size_t n) { at_ += n; }

private:
    void SkipSpaceAndComments() {
        while (at_ < b_.size()) {
            if (std::isspace(static_cast<unsigned char>(b_[at_]))) {
                ++at_;
            } else if (b_[at_] == '#') {
                while (at_ < b_.size() && b_[at_] != '\n') ++at_;
            } else {
                break;
            }
        }
    }
    std::string_view b_;
    size_t at_ = 0;
};

}  // namespace

uint32_t ReadPpmTexture(std::string_view b, const TexturePixelFormat& format, TextureImage& out) {
    if (b.size() < 2 || b[0] != 'P' || b[1] != '6') return kDDDBadPpmHeader;
    PpmHeader header(b);
    header.Skip(2);
    int64_t width, height, maxValue;
    if (!header.Number(width) || !header.Number(height) || !header.Number(maxValue) || !header.End())
        return kDDDBadPpmHeader;
    // Only 8-bit channels at full range are read; anything else would be
    // scaled wrongly without a word.
    if (maxValue != 255 || !ValidSize(width, height)) return kDDDBadPpmHeader;
    platform::PixelLayout layout;
    if (!LayoutOf(format, layout)) return kDDDUnknownPixelFormat;
    const auto w = static_cast<int32_t>(width), h = static_cast<int32_t>(height);
    const size_t bytes = static_cast<size_t>(w) * h * 3;
    if (b.size() - header.Offset() < bytes) return kDDDFileReadError;
    auto surface = platform::Surface::Create(w, h, layout);
    if (!surface) return kDDDOutOfMemory;
    PixelSink sink(format, *surface);
    const char* p = b.data() + header.Offset();
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x, p += 3) {
            const TextureRgb c{static_cast<uint8_t>(p[0]), static_cast<uint8_t>(p[1]), static_cast<uint8_t>(p[2])};
            if (!sink.PutRgb(x, y, c)) return kDDDPaletteBurst;  // more colours than the palette holds
        }
    out.palette = format.palettized ? sink.TakePalette() : TexturePalette{};
    out.surface = std::move(surface);
    return kDDDOk;
}

std::array<uint8_t, 256> BuildPaletteTranslation(const TexturePalette& source, const TexturePalette& target) {
    std::array<uint8_t, 256> table{};
    for (size_t i = 0; i < 256; ++i) {
        const TextureRgb s = i < source.size() ? source[i] : TextureRgb{0, 0, 0};
        int64_t best = INT64_MAX;
        for (size_t j = 0; j < target.size() && j < 256; ++j) {
            const int64_t dr = s[0] - target[j][0], dg = s[1] - target[j][1], db = s[2] - target[j][2];
            const int64_t d = 2 * dr * dr + 4 * dg * dg + db * db;
            if (d < best) {
                best = d;
                table[i] = static_cast<uint8_t>(j);
            }
        }
    }
    return table;
}

uint32_t RemapToPalette(TextureImage& image, const TexturePalette& target) {
    if (!image.surface || image.surface->Layout() != platform::PixelLayout::Index8) return kDDDUnknownPixelFormat;
    const auto table = BuildPaletteTranslation(image.palette, target);
    platform::Surface& s = *image.surface;
    for (int32_t y = 0; y < s.Height(); ++y)
        for (int32_t x = 0; x < s.Width(); ++x) s.SetPixel(x, y, table[s.Pixel8(x, y)]);
    image.palette = target;
    return kDDDOk;
}

namespace {

std::string BmpHeaders(int32_t width, int32_t height, uint32_t bits, uint32_t compression, uint32_t colors,
                       uint32_t pixelBytes) {
    std::string s = "BM";
    const uint32_t offset = 54 + colors * 4;
    Put32(s, offset + pixelBytes);
    Put32(s, 0);
    Put32(s, offset);
    Put32(s, 40);
    Put32(s, static_cast<uint32_t>(width));
    Put32(s, static_cast<uint32_t>(height));
    Put16(s, 1);
    Put16(s, bits);
    Put32(s, compression);
    Put32(s, pixelBytes);
    Put32(s, 2835);
    Put32(s, 2835);
    Put32(s, colors);
    Put32(s, 0);
    return s;
}

}  // namespace

std::string WriteBmp8(int32_t width, int32_t height, const uint8_t* indices, const TexturePalette& palette,
                      bool topDown, bool runLength) {
    std::string pixels;
    const size_t stride = (static_cast<size_t>(width) + 3) & ~size_t{3};
    for (int32_t r = 0; r < height; ++r) {
        const uint8_t* row = indices + static_cast<size_t>(topDown ? r : height - 1 - r) * width;
        if (!runLength) {
            pixels.append(reinterpret_cast<const char*>(row), width);
            pixels.append(stride - width, '\0');
            continue;
        }
        for (int32_t x = 0; x < width;) {
            int32_t n = 1;
            while (x + n < width && n < 255 && row[x + n] == row[x]) ++n;
            pixels.push_back(static_cast<char>(n));
            pixels.push_back(static_cast<char>(row[x]));
            x += n;
        }
        pixels.append("\0\0", 2);  // end of line
    }
    if (runLength) pixels.append("\0\1", 2);  // end of image
    std::string s = BmpHeaders(width, topDown ? -height : height, 8, runLength ? 1 : 0,
                               static_cast<uint32_t>(palette.size()), static_cast<uint32_t>(pixels.size()));
    for (const TextureRgb& c : palette) {
        s.push_back(static_cast<char>(c[2]));
        s.push_back(static_cast<char>(c[1]));
        s.push_back(static_cast<char>(c[0]));
        s.push_back('\0');
    }
    return s + pixels;
}

std::string WriteBmp24(int32_t width, int32_t height, const uint8_t* rgb) {
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    std::string pixels;
    for (int32_t r = height - 1; r >= 0; --r) {
        const uint8_t* row = rgb + static_cast<size_t>(r) * width * 3;
        for (int32_t x = 0; x < width; ++x) {
            pixels.push_back(static_cast<char>(row[x * 3 + 2]));
            pixels.push_back(static_cast<char>(row[x * 3 + 1]));
            pixels.push_back(static_cast<char>(row[x * 3]));
        }
        pixels.append(stride - static_cast<size_t>(width) * 3, '\0');
    }
    return BmpHeaders(width, height, 24, 0, 0, static_cast<uint32_t>(pixels.size())) + pixels;
}

std::string WritePpm(int32_t width, int32_t height, const uint8_t* rgb) {
    std::string s = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    s.append(reinterpret_cast<const char*>(rgb), static_cast<size_t>(width) * height * 3);
    return s;
}
