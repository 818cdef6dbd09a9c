// Windows bitmap files (8 bits a pixel, run-length 8-bit, 24 bits a pixel;
// rows bottom-up or, with a negative height, top-down) decoded into new
// buffers: the display's 16-bit format, or with mode 3 an 8-bit buffer
// holding the bitmap's own colour table as its palette. Bitmaps also arrive
// inside family files from other players, so every count, offset, size and
// run is checked against the bytes and the picture; a bad file gives null.
// A new buffer holds one reference, the caller's.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class cGZBuffer;
class iResFile;

constexpr int32_t kBitmapModePalette = 3;

struct DecodedBitmap {
    int32_t width = 0;
    int32_t height = 0;
    int32_t bits = 0;                // 8 or 24
    std::vector<uint32_t> colours;   // 0x00RRGGBB, 256 entries for 8-bit bitmaps
    std::vector<uint8_t> indices;    // 8-bit: rows top first
    std::vector<uint32_t> rgb;       // 24-bit: 0x00RRGGBB, rows top first
};

// False, with `error` saying why, for anything but a sound bitmap.
bool DecodeBitmap(std::string_view bytes, DecodedBitmap& out, std::string* error = nullptr);

cGZBuffer* LoadBitmapBytes(std::string_view bytes, int32_t mode);
cGZBuffer* LoadBitmapFile(const std::string& path, int32_t mode);
// The 'BMP_' resource of that id.
cGZBuffer* LoadBitmapResource(iResFile* file, int32_t id, int32_t mode);

// The 16-bit pixel of a colour in 5-5-5 (format code 5) or else 5-6-5.
uint16_t BitmapPixel16(int32_t formatCode, uint32_t rgb);
