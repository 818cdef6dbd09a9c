#include "ui/graphics/Rle8Bitmap.h"

namespace {

void Put16(std::string& s, uint32_t v) {
    s.push_back(static_cast<char>(v & 0xFF));
    s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

}  // namespace

std::string WriteRle8Bitmap(const Rle8Picture& p) {
    std::string pixels;
    for (int32_t y = p.height - 1; y >= 0; --y) {
        const uint8_t* row = &p.indices[static_cast<size_t>(y) * static_cast<size_t>(p.width)];
        int32_t x = 0;
        while (x < p.width) {
            int32_t run = 1;
            while (x + run < p.width && run < 255 && row[x + run] == row[x]) ++run;
            if (run >= 2) {
                pixels.push_back(static_cast<char>(run));
                pixels.push_back(static_cast<char>(row[x]));
                x += run;
                continue;
            }
            // Literal group: up to the next run of two, at least 3 long (a
            // shorter one is written as runs of one).
            int32_t n = 0;
            while (x + n < p.width && n < 255 && !(x + n + 1 < p.width && row[x + n] == row[x + n + 1])) ++n;
            if (n < 3) {
                for (int32_t i = 0; i < n; ++i) {
                    pixels.push_back(1);
                    pixels.push_back(static_cast<char>(row[x + i]));
                }
            } else {
                pixels.push_back(0);
                pixels.push_back(static_cast<char>(n));
                pixels.append(reinterpret_cast<const char*>(row + x), static_cast<size_t>(n));
                if (n & 1) pixels.push_back(0);
            }
            x += n;
        }
        pixels.push_back(0);
        pixels.push_back(0);
    }
    pixels.push_back(0);
    pixels.push_back(1);

    const uint32_t paletteBytes = static_cast<uint32_t>(p.palette.size()) * 4;
    const uint32_t offset = 54 + paletteBytes;
    std::string out = "BM";
    Put32(out, offset + static_cast<uint32_t>(pixels.size()));
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(p.width));
    Put32(out, static_cast<uint32_t>(p.height));
    Put16(out, 1);
    Put16(out, 8);
    Put32(out, 1);  // run-length, 8 bits
    Put32(out, static_cast<uint32_t>(pixels.size()));
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, static_cast<uint32_t>(p.palette.size()));
    Put32(out, 0);
    for (uint32_t c : p.palette) Put32(out, c & 0xFFFFFF);
    return out + pixels;
}
