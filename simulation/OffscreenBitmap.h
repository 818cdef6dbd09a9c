// An off-screen 8-bit bitmap with the game palette, rows bottom-up in memory
// as device-independent bitmaps lie; the debug labels' glyphs are drawn into
// one. Locking makes it the current drawing target (the previous one is
// restored by Unlock) and gives its top row, row step and the clipped area.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "framework/cRZRect.h"

class OffscreenBitmap {
public:
    struct Rgb {
        uint8_t red = 0, green = 0, blue = 0;
    };
    using Palette = std::array<Rgb, 256>;
    struct LockInfo {
        cRZRect area;             // the asked rectangle cut to the bitmap
        uint8_t* topRow = nullptr;
        int32_t rowStep = 0;      // bytes from one row to the next below (negative)
    };

    OffscreenBitmap() = default;
    ~OffscreenBitmap() { Destroy(); }
    OffscreenBitmap(const OffscreenBitmap&) = delete;
    OffscreenBitmap& operator=(const OffscreenBitmap&) = delete;

    // A bitmap of the rectangle's size (the rectangle's corner is its
    // origin); whether it exists.
    bool Create(const cRZRect& rect, const Palette& palette);
    void Destroy();
    bool Exists() const { return !mPixels.empty(); }

    // Colour entries in the bitmap header's blue-green-red order.
    const std::vector<uint8_t>& HeaderColours() const { return mHeaderColours; }
    const Palette& GetPalette() const { return mPalette; }
    int32_t Width() const { return mRect.right - mRect.left; }
    int32_t Height() const { return mRect.bottom - mRect.top; }
    int32_t OriginX() const { return mRect.left; }
    int32_t OriginY() const { return mRect.top; }

    bool Lock(const cRZRect* rect, LockInfo& out);
    void Unlock();
    uint8_t Pixel(int32_t x, int32_t y) const;
    void SetPixel(int32_t x, int32_t y, uint8_t index);

    // The current drawing target (null: the screen).
    static OffscreenBitmap* CurrentTarget();

private:
    size_t Offset(int32_t x, int32_t y) const;

    cRZRect mRect;
    Palette mPalette{};
    std::vector<uint8_t> mHeaderColours;
    std::vector<uint8_t> mPixels;  // bottom row first
    OffscreenBitmap* mSavedTarget = nullptr;
    bool mLocked = false;
};
