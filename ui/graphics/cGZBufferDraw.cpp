// Fills, outlines, lines, circles, region fills and bevelled frames.
#include "ui/graphics/cGZBuffer.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

constexpr int32_t kCircleLimit = 4096;

platform::Rect ToPlatformRect(const cRZRect& r) { return {r.left, r.top, r.right, r.bottom}; }

bool Intersect(cRZRect& r, const cRZRect& with) {
    r = {std::max(r.left, with.left), std::max(r.top, with.top), std::min(r.right, with.right), std::min(r.bottom, with.bottom)};
    return r.left < r.right && r.top < r.bottom;
}

// Holds a pixel-access lock for the drawing code unless the caller already
// holds one (its flags must not be cleared under it).
class PixelAccess {
public:
    explicit PixelAccess(cGZBuffer& b) : mBuffer(b) {
        if (!b.GetBits()) mLocked = b.Lock(4);
        mOk = b.GetBits() != nullptr;
    }
    ~PixelAccess() {
        if (mLocked) mBuffer.Unlock(4);
    }
    bool Ok() const { return mOk; }

private:
    cGZBuffer& mBuffer;
    bool mLocked = false;
    bool mOk = false;
};

bool InLimit(int32_t v) { return v >= -kCircleLimit && v <= kCircleLimit; }

// Half-widths of a disc of radius r, row by row from the centre (midpoint
// rule: the points with x*x + y*y <= r*r + r).
int32_t HalfWidth(int32_t r, int32_t dy) {
    const int64_t room = static_cast<int64_t>(r) * r + r - static_cast<int64_t>(dy) * dy;
    if (room < 0) return -1;
    int32_t x = static_cast<int32_t>(std::sqrt(static_cast<double>(room)));
    while (static_cast<int64_t>(x + 1) * (x + 1) <= room) ++x;
    while (x > 0 && static_cast<int64_t>(x) * x > room) --x;
    return x;
}

}  // namespace

bool cGZBuffer::FillRect(uint32_t colour, const cRZRect& rect, const cRZRect* clip) {
    cRZRect r = rect;
    if (!Intersect(r, mBounds)) return true;
    if (clip && !Intersect(r, *clip)) return true;
    return FillRectUnclipped(colour, r);
}

bool cGZBuffer::Clear(uint32_t colour, const cRZRect* clip) { return FillRect(colour, mBounds, clip); }

bool cGZBuffer::FillRect4(uint32_t colour, int32_t left, int32_t top, int32_t right, int32_t bottom, const cRZRect* clip) {
    return FillRect(colour, {left, top, right, bottom}, clip);
}

bool cGZBuffer::FillRectUnclipped(uint32_t colour, const cRZRect& rect) {
    if (!mSurface) return false;
    const platform::Rect r = ToPlatformRect(rect);
    return mSurface->Fill(colour, &r);
}

bool cGZBuffer::ClearUnclipped(uint32_t colour) { return FillRectUnclipped(colour, mBounds); }

bool cGZBuffer::FillRect4Unclipped(uint32_t colour, int32_t left, int32_t top, int32_t right, int32_t bottom) {
    return FillRectUnclipped(colour, {left, top, right, bottom});
}

bool cGZBuffer::FrameRect(const cRZRect& r, uint32_t colour, int32_t t) {
    bool ok = DrawLine(r.left, r.top, r.right - 1, r.top, colour, t);
    ok = DrawLine(r.left, r.bottom - t, r.right - 1, r.bottom - t, colour, t) && ok;
    ok = DrawLine(r.right - t, r.top, r.right - t, r.bottom - 1, colour, t) && ok;
    return DrawLine(r.left, r.top, r.left, r.bottom - 1, colour, t) && ok;
}

bool cGZBuffer::FrameRectUnclipped(const cRZRect& r, uint32_t colour, int32_t t) {
    bool ok = DrawLineUnclipped(r.left, r.top, r.right, r.top, colour, t);
    ok = DrawLineUnclipped(r.left, r.bottom - t + 1, r.right, r.bottom - t + 1, colour, t) && ok;
    ok = DrawLineUnclipped(r.right - t + 1, r.top, r.right - t + 1, r.bottom, colour, t) && ok;
    return DrawLineUnclipped(r.left, r.top, r.left, r.bottom, colour, t) && ok;
}

bool cGZBuffer::DrawLineUnclipped(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour, int32_t w) {
    if (!mSurface || w <= 0) return false;
    PixelAccess access(*this);
    if (!access.Ok()) return false;
    // Every block is clipped to the buffer: a wide line near an edge would
    // otherwise write past it.
    auto block = [&](int32_t left, int32_t top, int32_t right, int32_t bottom) {  // inclusive
        left = std::max(left, 0);
        top = std::max(top, 0);
        right = std::min(right, mBounds.right - 1);
        bottom = std::min(bottom, mBounds.bottom - 1);
        for (int32_t y = top; y <= bottom; ++y)
            if (left <= right) Span(left, right, y, colour);
    };
    if (y0 == y1) {
        block(std::min(x0, x1), y0, std::max(x0, x1), y0 + w - 1);
        return true;
    }
    if (x0 == x1) {
        block(x0, std::min(y0, y1), x0 + w - 1, std::max(y0, y1));
        return true;
    }
    const int32_t dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
    const int32_t sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int32_t err = dx - dy;
    int32_t x = x0, y = y0;
    for (;;) {
        if (w == 1) {
            block(x, y, x, y);
        } else {
            const int32_t bl = sx > 0 ? x : x - w + 1;
            const int32_t bt = sy > 0 ? y : y - w + 1;
            block(bl, bt, bl + w - 1, bt + w - 1);
        }
        if (x == x1 && y == y1) break;
        const int32_t e2 = 2 * err;
        if (e2 > -dy) {
            err -= dy;
            x += sx;
        }
        if (e2 < dx) {
            err += dx;
            y += sy;
        }
    }
    return true;
}

bool cGZBuffer::DrawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour, int32_t w) {
    // Cohen-Sutherland against [0, width-1] x [0, height-1], in 64 bits.
    const int64_t xmax = mBounds.right - 1, ymax = mBounds.bottom - 1;
    if (xmax < 0 || ymax < 0) return true;
    int64_t ax = x0, ay = y0, bx = x1, by = y1;
    auto code = [&](int64_t x, int64_t y) {
        return (x < 0 ? 1 : 0) | (x > xmax ? 2 : 0) | (y < 0 ? 4 : 0) | (y > ymax ? 8 : 0);
    };
    int ca = code(ax, ay), cb = code(bx, by);
    for (int guard = 0; guard < 8; ++guard) {
        if (!(ca | cb)) return DrawLineUnclipped(static_cast<int32_t>(ax), static_cast<int32_t>(ay),
                                                 static_cast<int32_t>(bx), static_cast<int32_t>(by), colour, w);
        if (ca & cb) return true;
        const int c = ca ? ca : cb;
        int64_t x = 0, y = 0;
        auto divRound = [](int64_t n, int64_t d) { return (2 * n + (((n < 0) != (d < 0)) ? -d : d)) / (2 * d); };
        if (c & 8) {
            y = ymax;
            x = ax + divRound((bx - ax) * (ymax - ay), by - ay);
        } else if (c & 4) {
            y = 0;
            x = ax + divRound((bx - ax) * (0 - ay), by - ay);
        } else if (c & 2) {
            x = xmax;
            y = ay + divRound((by - ay) * (xmax - ax), bx - ax);
        } else {
            x = 0;
            y = ay + divRound((by - ay) * (0 - ax), bx - ax);
        }
        if (c == ca) {
            ax = x;
            ay = y;
            ca = code(ax, ay);
        } else {
            bx = x;
            by = y;
            cb = code(bx, by);
        }
    }
    return true;
}

bool cGZBuffer::DiscSpans(int32_t left, int32_t top, int32_t right, uint32_t colour) {
    PixelAccess access(*this);
    if (!access.Ok()) return false;
    const int32_t r = (right - left) / 2;
    const int32_t cx = (left + right) / 2, cy = top + r;
    for (int32_t dy = -r; dy <= r; ++dy) {
        const int32_t y = cy + dy;
        if (y < 0 || y >= mBounds.bottom) continue;
        const int32_t hw = HalfWidth(r, dy);
        const int32_t x0 = std::max(cx - hw, 0), x1 = std::min(cx + hw, mBounds.right - 1);
        if (x0 <= x1) Span(x0, x1, y, colour);
    }
    return true;
}

bool cGZBuffer::FillCircleUnclipped(int32_t left, int32_t top, int32_t right, uint32_t colour) {
    if (!InLimit(left) || !InLimit(top) || !InLimit(right) || !InLimit(top + (right - left)) || right < left) return false;
    const int32_t bottom = top + (right - left);
    if (left < 0 || top < 0 || right >= mBounds.right || bottom >= mBounds.bottom) return FillCircle(left, top, right, colour);
    return DiscSpans(left, top, right, colour);
}

bool cGZBuffer::FillCircle(int32_t left, int32_t top, int32_t right, uint32_t colour) {
    if (!InLimit(left) || !InLimit(top) || !InLimit(right) || !InLimit(top + (right - left)) || right < left) return false;
    return DiscSpans(left, top, right, colour);
}

bool cGZBuffer::DrawRing(int32_t left, int32_t top, int32_t right, uint32_t colour, int32_t thickness, bool) {
    PixelAccess access(*this);
    if (!access.Ok()) return false;
    const int32_t r = (right - left) / 2;
    const int32_t inner = r - thickness;
    const int32_t cx = (left + right) / 2, cy = top + r;
    for (int32_t dy = -r; dy <= r; ++dy) {
        const int32_t y = cy + dy;
        if (y < 0 || y >= mBounds.bottom) continue;
        const int32_t outer = HalfWidth(r, dy);
        const int32_t hole = std::abs(dy) <= inner ? HalfWidth(inner, dy) : -1;
        auto span = [&](int32_t a, int32_t b) {
            a = std::max(a, 0);
            b = std::min(b, mBounds.right - 1);
            if (a <= b) Span(a, b, y, colour);
        };
        if (hole < 0) {
            span(cx - outer, cx + outer);
        } else {
            span(cx - outer, cx - hole - 1);
            span(cx + hole + 1, cx + outer);
        }
    }
    return true;
}

bool cGZBuffer::DrawCircle(int32_t left, int32_t top, int32_t right, uint32_t colour, int32_t thickness) {
    if (!InLimit(left) || !InLimit(top) || !InLimit(right) || !InLimit(top + (right - left)) || right < left) return false;
    if (thickness <= 0) return true;
    if (thickness >= (right - left) / 2) return FillCircle(left, top, right, colour);
    return DrawRing(left, top, right, colour, thickness, true);
}

bool cGZBuffer::DrawCircleUnclipped(int32_t left, int32_t top, int32_t right, uint32_t colour, int32_t thickness) {
    return DrawCircle(left, top, right, colour, thickness);
}

// A scanline fill with an explicit stack: no recursion depth to run out of.
bool cGZBuffer::RegionFill(int32_t x, int32_t y, uint32_t colour, bool bounded, uint32_t border) {
    if (!mSurface || x < 0 || y < 0 || x >= mBounds.right || y >= mBounds.bottom) return false;
    PixelAccess access(*this);
    if (!access.Ok()) return false;
    const uint32_t seed = PixelAt(x, y);
    auto fillable = [&](int32_t px, int32_t py) {
        const uint32_t v = PixelAt(px, py);
        return bounded ? (v != border && v != colour) : v == seed;
    };
    if (!bounded && seed == colour) return true;
    if (!fillable(x, y)) return true;
    std::vector<std::pair<int32_t, int32_t>> stack{{x, y}};
    while (!stack.empty()) {
        auto [sx, sy] = stack.back();
        stack.pop_back();
        if (!fillable(sx, sy)) continue;
        int32_t l = sx, r = sx;
        while (l > 0 && fillable(l - 1, sy)) --l;
        while (r + 1 < mBounds.right && fillable(r + 1, sy)) ++r;
        Span(l, r, sy, colour);
        for (int32_t ny : {sy - 1, sy + 1}) {
            if (ny < 0 || ny >= mBounds.bottom) continue;
            bool inRun = false;
            for (int32_t px = l; px <= r; ++px) {
                const bool f = fillable(px, ny);
                if (f && !inRun) stack.push_back({px, ny});
                inRun = f;
            }
        }
    }
    return true;
}

bool cGZBuffer::FloodFill(int32_t x, int32_t y, uint32_t colour) { return RegionFill(x, y, colour, false, 0); }
bool cGZBuffer::FloodFillUnbounded(int32_t x, int32_t y, uint32_t colour) { return RegionFill(x, y, colour, false, 0); }
bool cGZBuffer::BoundaryFill(int32_t x, int32_t y, uint32_t colour, uint32_t border) {
    return RegionFill(x, y, colour, true, border);
}
bool cGZBuffer::BoundaryFillUnbounded(int32_t x, int32_t y, uint32_t colour, uint32_t border) {
    return RegionFill(x, y, colour, true, border);
}

bool cGZBuffer::Draw3DFrame(const cRZRect& rect, uint8_t red, uint8_t green, uint8_t blue, bool raised, bool fill) {
    const int d = raised ? 56 : -56;
    auto shift = [](uint8_t c, int by) { return static_cast<uint8_t>(std::clamp(static_cast<int>(c) + by, 0, 255)); };
    const uint32_t base = MakeColor(red, green, blue);
    const uint32_t light = MakeColor(shift(red, d), shift(green, d), shift(blue, d));
    const uint32_t dark = MakeColor(shift(red, -d), shift(green, -d), shift(blue, -d));
    bool ok = true;
    if (fill) {
        Lock(1);
        ok = FillRect(base, rect);
        Unlock(1);
    }
    if (!Lock(4)) return ok;
    ok = DrawLine(rect.left, rect.top, rect.right - 1, rect.top, light) && ok;
    ok = DrawLine(rect.left, rect.top, rect.left, rect.bottom - 1, light) && ok;
    ok = DrawLine(rect.right - 1, rect.top, rect.right - 1, rect.bottom - 1, dark) && ok;
    ok = DrawLine(rect.left, rect.bottom - 1, rect.right - 1, rect.bottom - 1, dark) && ok;
    Unlock(4);
    return ok;
}

bool cGZBuffer::Draw3DFramePixel(const cRZRect& rect, uint32_t pixel, bool raised, bool fill) {
    uint8_t r, g, b;
    SplitColor(pixel, r, g, b);
    return Draw3DFrame(rect, r, g, b, raised, fill);
}
