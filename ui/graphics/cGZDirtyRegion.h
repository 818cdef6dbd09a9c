// The list of screen rectangles to redraw and copy out this frame. Adding
// keeps it free of rectangles inside others (x widened to multiples of 4 so
// copied spans stay aligned); every ninth addition, and on demand, a merge
// pass trades overdraw against the number of rectangles: one more rectangle
// costs `sRectCost` pixels of area.
#pragma once

#include "framework/cRZRect.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class cGZDirtyRegion {
public:
    // Process-wide: while off every operation does nothing.
    static bool sEnabled;
    static constexpr float kDefaultRectCost = 10000.0f;
    static float sRectCost;

    bool AddRect(const cRZRect& rect);
    bool AddRegion(const cGZDirtyRegion& other);
    void Offset(int32_t dx, int32_t dy);
    void ClipTo(const cRZRect& clip);
    void Merge();

    size_t Count() const { return mRects.size(); }
    const cRZRect& operator[](size_t i) const { return mRects[i]; }
    const std::vector<cRZRect>& Rects() const { return mRects; }
    void Erase(size_t i) { mRects.erase(mRects.begin() + static_cast<std::ptrdiff_t>(i)); }
    void Clear() { mRects.clear(); }
    bool IsMerged() const { return mMerged; }
    int32_t AdditionsSinceMerge() const { return mAdditions; }

private:
    enum class Outcome { None, Changed, Appended };
    Outcome Resolve(size_t i, size_t j);
    Outcome Trim(size_t keeper, size_t trimmed, int marks);
    Outcome Cut(size_t keeper, size_t cut);

    std::vector<cRZRect> mRects;
    bool mMerged = false;
    int32_t mAdditions = 0;
};
