#include "ui/graphics/cGZDirtyRegion.h"

#include <algorithm>
#include <cmath>

bool cGZDirtyRegion::sEnabled = true;
float cGZDirtyRegion::sRectCost = cGZDirtyRegion::kDefaultRectCost;

namespace {

// A merge pass restarts after each change; this bounds a list that would
// keep changing (it never should).
constexpr int kMaxPasses = 10000;

bool IsEmptyRect(const cRZRect& r) { return r.left >= r.right || r.top >= r.bottom; }
double Area(const cRZRect& r) {
    return IsEmptyRect(r) ? 0.0 : static_cast<double>(r.right - r.left) * static_cast<double>(r.bottom - r.top);
}
bool Inside(const cRZRect& in, const cRZRect& out) {
    return out.left <= in.left && in.right <= out.right && out.top <= in.top && in.bottom <= out.bottom;
}
bool Overlap(const cRZRect& a, const cRZRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
cRZRect Bounds(const cRZRect& a, const cRZRect& b) {
    if (IsEmptyRect(a)) return b;
    if (IsEmptyRect(b)) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}
bool PointIn(int32_t x, int32_t y, const cRZRect& r) {
    return r.left <= x && x <= r.right && r.top <= y && y <= r.bottom;
}
// Which corners of b lie in a, edges included: 8 top-left, 4 top-right,
// 2 bottom-left, 1 bottom-right.
int CornerMarks(const cRZRect& a, const cRZRect& b) {
    return (PointIn(b.left, b.top, a) ? 8 : 0) | (PointIn(b.right, b.top, a) ? 4 : 0) |
           (PointIn(b.left, b.bottom, a) ? 2 : 0) | (PointIn(b.right, b.bottom, a) ? 1 : 0);
}
bool IsTwoCorners(int m) { return m == 3 || m == 5 || m == 10 || m == 12; }
bool IsOneCorner(int m) { return m == 1 || m == 2 || m == 4 || m == 8; }

}  // namespace

bool cGZDirtyRegion::AddRect(const cRZRect& rect) {
    if (!sEnabled || IsEmptyRect(rect)) return false;
    cRZRect r = rect;
    r.left &= ~3;
    r.right = (r.right + 3) & ~3;
    for (size_t i = 0; i < mRects.size();) {
        if (Inside(r, mRects[i])) return false;
        if (Inside(mRects[i], r)) {
            Erase(i);
            continue;
        }
        ++i;
    }
    const int32_t before = static_cast<int32_t>(mRects.size());
    mRects.push_back(r);
    mMerged = false;
    mAdditions = std::min(mAdditions, before) + 1;
    if (mAdditions > 8) {
        Merge();
        mAdditions = 0;
    }
    return true;
}

bool cGZDirtyRegion::AddRegion(const cGZDirtyRegion& other) {
    bool any = false;
    // Copy first: the other region may be this one.
    const std::vector<cRZRect> rects = other.mRects;
    for (const cRZRect& r : rects) any = AddRect(r) || any;
    return any;
}

void cGZDirtyRegion::Offset(int32_t dx, int32_t dy) {
    if (!sEnabled) return;
    for (cRZRect& r : mRects) {
        r.left += dx;
        r.right += dx;
        r.top += dy;
        r.bottom += dy;
    }
    mMerged = false;
}

void cGZDirtyRegion::ClipTo(const cRZRect& clip) {
    if (!sEnabled) return;
    for (size_t i = 0; i < mRects.size();) {
        cRZRect& r = mRects[i];
        r = {std::max(r.left, clip.left), std::max(r.top, clip.top), std::min(r.right, clip.right),
             std::min(r.bottom, clip.bottom)};
        if (IsEmptyRect(r)) {
            Erase(i);
            continue;
        }
        ++i;
    }
    Merge();
}

cGZDirtyRegion::Outcome cGZDirtyRegion::Trim(size_t keeper, size_t trimmed, int marks) {
    const cRZRect a = mRects[keeper];
    cRZRect b = mRects[trimmed];
    const cRZRect old = b;
    switch (marks) {
        case 3: b.bottom = a.top; break;
        case 12: b.top = a.bottom; break;
        case 5: b.right = a.left; break;
        case 10: b.left = a.right; break;
        default: break;
    }
    const double c = sRectCost;
    const cRZRect box = Bounds(a, b);
    if (Area(a) + Area(b) + 2 * c > Area(box) + c) {
        const size_t first = std::min(keeper, trimmed);
        mRects[first] = box;
        Erase(std::max(keeper, trimmed));
        return Outcome::Changed;
    }
    mRects[trimmed] = b;
    const bool same = b.left == old.left && b.top == old.top && b.right == old.right && b.bottom == old.bottom;
    return same ? Outcome::None : Outcome::Changed;
}

cGZDirtyRegion::Outcome cGZDirtyRegion::Cut(size_t keeper, size_t cut) {
    const cRZRect a = mRects[keeper];
    const cRZRect b = mRects[cut];
    const bool down = b.bottom > a.bottom;
    const bool right = b.right > a.right;
    // Horizontal first: the strip beyond a's top or bottom, then the rest
    // beside a. Vertical first: the strip beyond a's left or right, then the
    // rest above or below.
    const int32_t rowsTop = down ? b.top : a.top, rowsBottom = down ? a.bottom : b.bottom;
    const cRZRect h1 = down ? cRZRect{b.left, a.bottom, b.right, b.bottom} : cRZRect{b.left, b.top, b.right, a.top};
    const cRZRect h2 = right ? cRZRect{a.right, rowsTop, b.right, rowsBottom} : cRZRect{b.left, rowsTop, a.left, rowsBottom};
    const int32_t colsLeft = right ? b.left : a.left, colsRight = right ? a.right : b.right;
    const cRZRect v1 = right ? cRZRect{a.right, b.top, b.right, b.bottom} : cRZRect{b.left, b.top, a.left, b.bottom};
    const cRZRect v2 = down ? cRZRect{colsLeft, a.bottom, colsRight, b.bottom} : cRZRect{colsLeft, b.top, colsRight, a.top};

    struct Candidate {
        double cost;
        cRZRect keeper;
        cRZRect piece;      // replaces the cut rectangle (may be empty)
        cRZRect appended;   // added at the end (empty: none)
    };
    const double c = sRectCost;
    std::vector<Candidate> candidates;
    for (const auto& [p1, p2] : {std::pair{h1, h2}, std::pair{v1, v2}}) {
        if (IsEmptyRect(p2)) continue;
        candidates.push_back({Area(Bounds(a, p1)) + Area(p2) + 2 * c, Bounds(a, p1), p2, {}});
        candidates.push_back({Area(Bounds(Bounds(a, p1), p2)) + c, Bounds(Bounds(a, p1), p2), {}, {}});
        candidates.push_back({Area(p1) + Area(Bounds(a, p2)) + 2 * c, Bounds(a, p2), p1, {}});
        candidates.push_back({Area(a) + Area(p1) + Area(p2) + 3 * c, a, p1, p2});
    }
    if (candidates.empty()) return Outcome::None;
    const Candidate* best = &candidates[0];
    for (const Candidate& cand : candidates)
        if (cand.cost < best->cost) best = &cand;

    mRects[keeper] = best->keeper;
    if (!IsEmptyRect(best->appended)) {
        mRects[cut] = best->piece;
        mRects.push_back(best->appended);
        return Outcome::Appended;
    }
    if (IsEmptyRect(best->piece)) Erase(cut);
    else mRects[cut] = best->piece;
    return Outcome::Changed;
}

cGZDirtyRegion::Outcome cGZDirtyRegion::Resolve(size_t i, size_t j) {
    const int marks = CornerMarks(mRects[i], mRects[j]);
    if (IsTwoCorners(marks)) return Trim(i, j, marks);
    if (IsOneCorner(marks)) return Cut(i, j);
    const int reverse = CornerMarks(mRects[j], mRects[i]);
    if (IsTwoCorners(reverse)) return Trim(j, i, reverse);
    if (IsOneCorner(reverse)) return Cut(j, i);
    return Outcome::None;  // a cross: both stay
}

void cGZDirtyRegion::Merge() {
    if (!sEnabled) return;
    if (mMerged || mRects.size() < 2) {
        mMerged = true;
        return;
    }
    bool changed = true;
    for (int pass = 0; changed && mRects.size() >= 2 && pass < kMaxPasses; ++pass) {
        changed = false;
        bool restart = false;
        for (size_t i = 0; i < mRects.size() && !restart; ++i) {
            for (size_t j = i + 1; j < mRects.size() && !restart;) {
                const cRZRect& a = mRects[i];
                const cRZRect& b = mRects[j];
                if (IsEmptyRect(b) || Inside(b, a)) {
                    Erase(j);
                    changed = restart = true;
                    break;
                }
                if (Inside(a, b)) {
                    mRects[i] = b;
                    Erase(j);
                    changed = restart = true;
                    break;
                }
                if (Overlap(a, b)) {
                    const Outcome outcome = Resolve(i, j);
                    if (outcome == Outcome::Changed) {
                        changed = restart = true;
                        break;
                    }
                    if (outcome == Outcome::Appended) changed = true;
                }
                ++j;
            }
        }
    }
    if (mRects.size() >= 2) {
        cRZRect box = mRects[0];
        double sum = 0;
        for (const cRZRect& r : mRects) {
            box = Bounds(box, r);
            sum += Area(r);
        }
        const double c = sRectCost;
        const bool collapse = std::fabs(c) > 0.000001 ? (sum > 0 && Area(box) / sum < 1.1)
                                                       : std::fabs(Area(box) - sum) <= 0.000001;
        if (collapse) {
            mRects.assign(1, box);
            mAdditions = 0;
        }
    }
    mMerged = true;
}
