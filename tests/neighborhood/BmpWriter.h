// A tiny bitmap file writer for the fixtures: 8-bit (plain or with given
// run-length data) and 24-bit, bottom-up or top-down.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bmp_fixture {

inline void Put16(std::string& s, uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}
inline void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}
inline void Poke32(std::string& s, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + static_cast<size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

struct Header {
    int32_t width = 0;
    int32_t height = 0;  // negative: top-down
    uint16_t bits = 8;
    uint32_t compression = 0;
    std::vector<uint32_t> palette;  // 0x00RRGGBB
};

// Headers, colour table, then `data` as given.
inline std::string WithData(const Header& h, const std::string& data) {
    std::string info;
    Put32(info, 40);
    Put32(info, static_cast<uint32_t>(h.width));
    Put32(info, static_cast<uint32_t>(h.height));
    Put16(info, 1);
    Put16(info, h.bits);
    Put32(info, h.compression);
    Put32(info, static_cast<uint32_t>(data.size()));
    Put32(info, 2835);
    Put32(info, 2835);
    Put32(info, static_cast<uint32_t>(h.palette.size()));
    Put32(info, 0);
    std::string table;
    for (uint32_t c : h.palette) Put32(table, c & 0xFFFFFF);
    const uint32_t offset = static_cast<uint32_t>(14 + info.size() + table.size());
    std::string file = "BM";
    Put32(file, offset + static_cast<uint32_t>(data.size()));
    Put32(file, 0);
    Put32(file, offset);
    return file + info + table + data;
}

// `pixels` rows top first: indices for 8 bits, 0x00RRGGBB for 24.
inline std::string Plain(Header h, const std::vector<uint32_t>& pixels, bool topDown) {
    const int32_t w = h.width, rows = h.height;
    h.height = topDown ? -rows : rows;
    std::string data;
    for (int32_t i = 0; i < rows; ++i) {
        const int32_t y = topDown ? i : rows - 1 - i;
        std::string row;
        for (int32_t x = 0; x < w; ++x) {
            const uint32_t p = pixels[static_cast<size_t>(y * w + x)];
            if (h.bits == 8) {
                row += static_cast<char>(p);
            } else {
                row += static_cast<char>(p & 0xFF);
                row += static_cast<char>((p >> 8) & 0xFF);
                row += static_cast<char>((p >> 16) & 0xFF);
            }
        }
        while (row.size() % 4) row += '\0';
        data += row;
    }
    return WithData(h, data);
}

}  // namespace bmp_fixture
