// Software surfaces: the 16-bit frames, the 8-bit index images and the 16-bit
// depth buffers the window framework draws into. They take the place of the
// display driver's surfaces, so they keep the behaviour the framework was
// written against: nested locks, colour and depth fills, blits with a source
// colour key, mirroring, nearest-pixel stretching and a constant alpha, and
// the "lost" state (every lock, fill and blit fails until Restore, which then
// runs the owner's restore callback so it can redraw the contents).
//
// Rectangles are {left, top, right, bottom} with right and bottom exclusive.
// Fills and blits never clip: a rectangle that is empty or reaches outside
// its surface is refused (false), and the callers clip first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace platform {

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const Rect&) const = default;
};

enum class PixelLayout : uint8_t {
    Rgb565,   // red 0xF800, green 0x07E0, blue 0x001F
    Rgb555,   // red 0x7C00, green 0x03E0, blue 0x001F
    Index8,   // palette indices
    Depth16,  // depth values, 0xFFFF farthest
};

int BytesPerPixel(PixelLayout layout);
bool IsColorLayout(PixelLayout layout);  // 565 or 555

// 16-bit pixel <-> 8-bit channels. Widening replicates the high bits into the
// low ones, so 0x1F becomes 255 and narrowing gives back the same pixel.
uint16_t PackRgb(PixelLayout layout, uint8_t r, uint8_t g, uint8_t b);
void UnpackRgb(PixelLayout layout, uint16_t pixel, uint8_t& r, uint8_t& g, uint8_t& b);

struct BlitOptions {
    bool colorKey = false;   // source pixels equal to `key` are not copied
    uint32_t key = 0;
    bool mirrorLeftRight = false;
    bool mirrorTopBottom = false;
    uint8_t alpha = 255;     // 255 copies, 0 leaves the destination as it was
};

class Surface {
public:
    // Nothing when a side is 0 or negative, or the pixel count is too large.
    static std::unique_ptr<Surface> Create(int32_t width, int32_t height, PixelLayout layout);

    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    PixelLayout Layout() const { return layout_; }
    int32_t PitchBytes() const { return pitch_; }
    Rect Bounds() const { return {0, 0, width_, height_}; }

    // Nested: every Lock needs its Unlock. False while the surface is lost.
    bool Lock(uint8_t** bits = nullptr, int32_t* pitchBytes = nullptr);
    // False when the surface is not locked.
    bool Unlock();
    int LockDepth() const { return lockDepth_; }

    // Colour, index or depth value by the layout; no rectangle = everything.
    bool Fill(const Rect* rect, uint32_t value);
    // Copies src's srcRect onto dstRect of this surface, stretching by nearest
    // pixel when the sizes differ. Both surfaces must share one layout; alpha
    // below 255 needs a colour layout.
    bool Blit(const Surface& src, const Rect& srcRect, const Rect& dstRect, const BlitOptions& options = {});

    // The pixels, for readers that need no lock semantics (presenters, PNG
    // writing, tests). Rows are PitchBytes() apart.
    const uint8_t* Pixels() const { return pixels_.data(); }
    uint8_t* Pixels() { return pixels_.data(); }
    uint16_t Pixel16(int32_t x, int32_t y) const;
    uint8_t Pixel8(int32_t x, int32_t y) const { return pixels_[static_cast<size_t>(y) * pitch_ + x]; }
    void SetPixel(int32_t x, int32_t y, uint32_t value);

    // Lost surfaces (a display change took their memory in the original
    // design). MarkLost is the test switch; Restore clears the state and runs
    // the callback once per loss.
    void MarkLost();
    bool IsLost() const { return lost_; }
    bool Restore();
    void SetRestoreCallback(std::function<void()> callback) { restoreCallback_ = std::move(callback); }

private:
    Surface(int32_t width, int32_t height, PixelLayout layout);
    bool Contains(const Rect& r) const;

    int32_t width_;
    int32_t height_;
    PixelLayout layout_;
    int32_t pitch_;
    std::vector<uint8_t> pixels_;
    int lockDepth_ = 0;
    bool lost_ = false;
    std::function<void()> restoreCallback_;
};

}  // namespace platform
