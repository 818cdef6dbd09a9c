#include "simulation/OffscreenBitmap.h"

namespace {
OffscreenBitmap* gCurrentTarget = nullptr;
}

OffscreenBitmap* OffscreenBitmap::CurrentTarget() { return gCurrentTarget; }

bool OffscreenBitmap::Create(const cRZRect& rect, const Palette& palette) {
    Destroy();
    const int64_t width = int64_t{rect.right} - rect.left, height = int64_t{rect.bottom} - rect.top;
    if (width <= 0 || height <= 0 || width * height > (int64_t{1} << 26)) return false;
    mRect = rect;
    mPalette = palette;
    mHeaderColours.clear();
    for (const Rgb& entry : palette) {
        mHeaderColours.push_back(entry.blue);
        mHeaderColours.push_back(entry.green);
        mHeaderColours.push_back(entry.red);
        mHeaderColours.push_back(0);
    }
    mPixels.assign(static_cast<size_t>(width * height), 0);
    return true;
}

void OffscreenBitmap::Destroy() {
    if (mLocked) Unlock();
    mPixels.clear();
    mHeaderColours.clear();
    mRect = cRZRect{};
}

size_t OffscreenBitmap::Offset(int32_t x, int32_t y) const {
    // Row 0 (the top) is the last in memory.
    return static_cast<size_t>(Height() - 1 - y) * static_cast<size_t>(Width()) + static_cast<size_t>(x);
}

bool OffscreenBitmap::Lock(const cRZRect* rect, LockInfo& out) {
    if (!Exists()) return false;
    if (!mLocked) {
        mSavedTarget = gCurrentTarget;
        gCurrentTarget = this;
        mLocked = true;
    }
    const cRZRect whole{0, 0, Width(), Height()};
    if (rect) out.area.Intersect(whole, *rect);
    else out.area = whole;
    out.topRow = &mPixels[Offset(0, 0)];
    out.rowStep = -Width();
    return true;
}

void OffscreenBitmap::Unlock() {
    if (!mLocked) return;
    gCurrentTarget = mSavedTarget;
    mSavedTarget = nullptr;
    mLocked = false;
}

uint8_t OffscreenBitmap::Pixel(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
    return mPixels[Offset(x, y)];
}

void OffscreenBitmap::SetPixel(int32_t x, int32_t y, uint8_t index) {
    if (x >= 0 && y >= 0 && x < Width() && y < Height()) mPixels[Offset(x, y)] = index;
}
