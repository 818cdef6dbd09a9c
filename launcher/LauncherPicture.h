// The launcher's pictures: device-independent bitmaps held exactly as laid
// out in memory (a 40-byte information header or a 12-byte core header, the
// colour table, then the rows bottom first, each padded to 4 bytes). Every
// button and panel is blended into one working copy of the background
// through an 8-bit mask; the palette of 256-colour displays comes from a RIFF
// "PAL " resource.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class LauncherPicture {
public:
    // A picture of the DIB bytes; null, with the reason in error, when a
    // header field or the pixel rows do not fit the bytes.
    static std::unique_ptr<LauncherPicture> FromDib(const uint8_t* bytes, size_t size, std::string& error);
    // A ".bmp" file: the 14-byte file header, then the DIB.
    static std::unique_ptr<LauncherPicture> FromBmp(const uint8_t* bytes, size_t size, std::string& error);
    static std::unique_ptr<LauncherPicture> LoadBmpFile(const std::filesystem::path& path, std::string& error);
    // A blank picture with an information header (8-bit ones get a grey ramp).
    static std::unique_ptr<LauncherPicture> Make(int32_t width, int32_t height, uint16_t bits);

    std::unique_ptr<LauncherPicture> Copy() const;
    // Overwrites this picture's bytes with the source's; false unless both
    // have the same size.
    bool CopyInto(const LauncherPicture& source);

    int32_t Width() const { return mWidth; }
    int32_t Height() const { return mHeight; }
    uint16_t BitCount() const { return mBits; }
    uint32_t Stride() const { return mStride; }
    uint32_t ColourCount() const { return mColours; }
    size_t ColourTableSize() const { return mTableSize; }
    bool IsCoreHeader() const { return mCore; }
    // Row y counted from the top.
    uint8_t* Row(int32_t y);
    const uint8_t* Row(int32_t y) const;
    const std::vector<uint8_t>& Bytes() const { return mBytes; }
    // 24-bit pixel (r, g, b) at x, y from the top; 8-bit pictures give the
    // colour-table entry.
    std::array<uint8_t, 3> Pixel(int32_t x, int32_t y) const;
    // An .bmp file image of the picture.
    std::vector<uint8_t> ToBmp() const;

    // Replaces the colour table of an 8-bit picture (256 entries, blue,
    // green, red, 0); false for other pictures.
    bool ApplyColourTable(const std::vector<uint8_t>& table);

    // m = 0 the background, 255 the foreground, else per byte
    // (m * fore + (255 - m) * back) / 256. Fore, back and destination share
    // one bit count (8 or 24) and the mask has 8 bits, else nothing is drawn.
    // Rows and columns are clipped to all four pictures; a negative point
    // draws nothing. The destination may be the background itself.
    static bool Blend(const LauncherPicture* fore, int32_t fx, int32_t fy, const LauncherPicture* back, int32_t bx,
                      int32_t by, const LauncherPicture* mask, int32_t mx, int32_t my, LauncherPicture* dest,
                      int32_t dx, int32_t dy, int32_t width, int32_t height);

private:
    LauncherPicture() = default;
    bool Parse(std::string& error);

    std::vector<uint8_t> mBytes;
    bool mCore = false;
    int32_t mWidth = 0;
    int32_t mHeight = 0;
    bool mTopDown = false;
    uint16_t mBits = 0;
    uint32_t mCompression = 0;
    uint32_t mColours = 0;
    size_t mHeaderSize = 0;
    size_t mTableSize = 0;
    uint32_t mStride = 0;
};

// A RIFF palette file of form "PAL ": its "data" chunk holds version 0x300,
// a count, and 4-byte entries (red, green, blue, flags). The 256 entries, or
// false with a reason.
bool ParseRiffPalette(const uint8_t* bytes, size_t size, std::vector<std::array<uint8_t, 4>>& entries,
                      std::string& error);
// The file image of a RIFF "PAL " palette of the entries.
std::vector<uint8_t> WriteRiffPalette(const std::vector<std::array<uint8_t, 4>>& entries);
// Entries 0-9 and 246-255 become the display's twenty static colours.
void ReplaceStaticColours(std::vector<std::array<uint8_t, 4>>& entries);
// The entries as a colour table (blue, green, red, 0).
std::vector<uint8_t> ColourTableOf(const std::vector<std::array<uint8_t, 4>>& entries);
