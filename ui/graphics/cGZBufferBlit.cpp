// Copies between buffers: clipped, fast, stretched, raw, tiled, nine-part,
// alpha-blended, and clones.
#include "ui/graphics/cGZBuffer.h"

#include "ui/graphics/cGZBufferBMPProxy.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

platform::Rect ToPlatform(const cRZRect& r) { return {r.left, r.top, r.right, r.bottom}; }
bool IsEmpty(const cRZRect& r) { return r.left >= r.right || r.top >= r.bottom; }

// Cuts the destination to `limit`; the source loses the same amounts, from
// the opposite edge along an axis the source is mirrored on.
void CutTo(cRZRect& source, cRZRect& dest, const cRZRect& limit, uint32_t flags) {
    const int32_t cutLeft = std::max(0, limit.left - dest.left), cutRight = std::max(0, dest.right - limit.right);
    const int32_t cutTop = std::max(0, limit.top - dest.top), cutBottom = std::max(0, dest.bottom - limit.bottom);
    const bool lr = flags & cGZBuffer::kBlitMirrorLeftRight, tb = flags & cGZBuffer::kBlitMirrorTopBottom;
    dest.left += cutLeft;
    dest.right -= cutRight;
    dest.top += cutTop;
    dest.bottom -= cutBottom;
    source.left += lr ? cutRight : cutLeft;
    source.right -= lr ? cutLeft : cutRight;
    source.top += tb ? cutBottom : cutTop;
    source.bottom -= tb ? cutTop : cutBottom;
}

}  // namespace

bool cGZBuffer::ClipBlitRects(cRZRect& source, cRZRect& dest, const cRZRect* clip) const {
    // Source and destination keep one size here; a source smaller than the
    // destination copies only what it has.
    const int32_t w = std::min(source.right - source.left, dest.right - dest.left);
    const int32_t h = std::min(source.bottom - source.top, dest.bottom - dest.top);
    dest.right = dest.left + w;
    dest.bottom = dest.top + h;
    source.right = source.left + w;
    source.bottom = source.top + h;
    if (IsEmpty(dest)) return false;
    CutTo(source, dest, mBounds, 0);
    if (IsEmpty(dest)) return false;
    if (clip) CutTo(source, dest, *clip, 0);
    return !IsEmpty(dest);
}

bool cGZBuffer::SurfaceBlit(cGZBuffer& source, const cRZRect& sourceRect, const cRZRect& destRect) {
    if (mSurface && source.mSurface) return mSurface->Blit(*source.mSurface, ToPlatform(sourceRect), ToPlatform(destRect));
    if (mSurface && source.mProxy) return source.mProxy->DrawTo(*this, destRect.left, destRect.top, sourceRect);
    return false;
}

bool cGZBuffer::Blit(cGZBuffer& source, const cRZRect& sourceRect, const cRZRect& destRect, const cRZRect* clip) {
    cRZRect s = sourceRect, d = destRect;
    if (mKind == kKindIndex) {
        // Index buffers copy bytes row by row; clipped to both buffers.
        if (!mSurface || !source.mSurface || source.mSurface->Surface()->Layout() != platform::PixelLayout::Index8) return false;
        CutTo(s, d, mBounds, 0);
        CutTo(d, s, source.mBounds, 0);
        if (IsEmpty(d) || IsEmpty(s)) return true;
        const int32_t w = std::min(d.right - d.left, s.right - s.left), h = std::min(d.bottom - d.top, s.bottom - s.top);
        if (!Lock(64)) return false;
        if (!source.Lock(64)) {
            Unlock(64);
            return false;
        }
        platform::Surface* to = mSurface->Surface();
        const platform::Surface* from = source.mSurface->Surface();
        for (int32_t y = 0; y < h; ++y)
            std::memcpy(to->Pixels() + static_cast<size_t>(d.top + y) * to->PitchBytes() + d.left,
                        from->Pixels() + static_cast<size_t>(s.top + y) * from->PitchBytes() + s.left, static_cast<size_t>(w));
        source.Unlock(64);
        Unlock(64);
        return true;
    }
    const uint32_t flags = source.mBlitFlags;
    if (IsEmpty(d) || IsEmpty(s)) return true;
    // Same size: the source follows the destination's cuts (mirrored axes
    // lose the opposite edge, so what shows is what would have shown).
    const int32_t w = std::min(s.right - s.left, d.right - d.left), h = std::min(s.bottom - s.top, d.bottom - d.top);
    s.right = s.left + w;
    s.bottom = s.top + h;
    d.right = d.left + w;
    d.bottom = d.top + h;
    CutTo(s, d, mBounds, flags);
    if (clip && !IsEmpty(d)) CutTo(s, d, *clip, flags);
    if (IsEmpty(d)) return true;
    return SurfaceBlit(source, s, d);
}

bool cGZBuffer::BlitKeyed(cGZBuffer& source, const cRZRect& s, const cRZRect& d, const cRZRect* clip, uint32_t key,
                          uint32_t flags) {
    source.SetBlitParams(key, flags);
    return Blit(source, s, d, clip);
}

bool cGZBuffer::BlitFast(cGZBuffer& source, const cRZRect& s, const cRZRect& d) { return SurfaceBlit(source, s, d); }

bool cGZBuffer::BlitFastKeyed(cGZBuffer& source, const cRZRect& s, const cRZRect& d, uint32_t key, uint32_t flags) {
    source.SetBlitParams(key, flags);
    return BlitFast(source, s, d);
}

bool cGZBuffer::StretchBlit(cGZBuffer& source, const cRZRect& sourceRect, const cRZRect& destRect, const cRZRect* clip) {
    if (!mSurface || !source.mSurface) return false;
    cRZRect d = destRect;
    cRZRect limit = mBounds;
    if (clip) {
        limit = {std::max(limit.left, clip->left), std::max(limit.top, clip->top), std::min(limit.right, clip->right),
                 std::min(limit.bottom, clip->bottom)};
    }
    const int32_t dw = d.right - d.left, dh = d.bottom - d.top;
    if (dw <= 0 || dh <= 0 || IsEmpty(sourceRect)) return true;
    const double scaleX = static_cast<double>(sourceRect.right - sourceRect.left) / dw;
    const double scaleY = static_cast<double>(sourceRect.bottom - sourceRect.top) / dh;
    const int32_t cutLeft = std::max(0, limit.left - d.left), cutRight = std::max(0, d.right - limit.right);
    const int32_t cutTop = std::max(0, limit.top - d.top), cutBottom = std::max(0, d.bottom - limit.bottom);
    d = {d.left + cutLeft, d.top + cutTop, d.right - cutRight, d.bottom - cutBottom};
    if (IsEmpty(d)) return true;
    const bool lr = source.mBlitFlags & kBlitMirrorLeftRight, tb = source.mBlitFlags & kBlitMirrorTopBottom;
    auto scaled = [](int32_t cut, double scale) { return static_cast<int32_t>(std::lround(cut * scale)); };
    cRZRect s = sourceRect;
    s.left += scaled(lr ? cutRight : cutLeft, scaleX);
    s.right -= scaled(lr ? cutLeft : cutRight, scaleX);
    s.top += scaled(tb ? cutBottom : cutTop, scaleY);
    s.bottom -= scaled(tb ? cutTop : cutBottom, scaleY);
    if (s.right <= s.left) {
        if (s.left > 0) s.left = s.right - 1;
        else s.right = s.left + 1;
    }
    if (s.bottom <= s.top) {
        if (s.top > 0) s.top = s.bottom - 1;
        else s.bottom = s.top + 1;
    }
    return SurfaceBlit(source, s, d);
}

bool cGZBuffer::StretchBlitKeyed(cGZBuffer& source, const cRZRect& s, const cRZRect& d, const cRZRect* clip, uint32_t key,
                                 uint32_t flags) {
    source.SetBlitParams(key, flags);
    return StretchBlit(source, s, d, clip);
}

bool cGZBuffer::BlitRaw(cGZBuffer& source, const cRZRect& s, const cRZRect& d) {
    if (!mSurface || !source.mSurface) return false;
    return mSurface->Blit(*source.mSurface, ToPlatform(s), ToPlatform(d));
}

bool cGZBuffer::BlitRawKeyed(cGZBuffer& source, const cRZRect& s, const cRZRect& d, uint32_t key, uint32_t flags) {
    source.SetBlitParams(key, flags);
    return BlitRaw(source, s, d);
}

bool cGZBuffer::CopyFrom(cGZBuffer& source) {
    const cRZRect r{0, 0, std::min(Width(), source.Width()), std::min(Height(), source.Height())};
    Lock(kLockBlit);
    const bool ok = Blit(source, r, r);
    Unlock(kLockBlit);
    return ok;
}

bool cGZBuffer::TileBlit(cGZBuffer& source, const cRZRect& tile, const cRZRect& area, int32_t phaseX, int32_t phaseY) {
    const int32_t tw = tile.right - tile.left, th = tile.bottom - tile.top;
    if (tw <= 0 || th <= 0 || IsEmpty(area)) return true;
    int32_t startX = area.left + phaseX % tw, startY = area.top + phaseY % th;
    if (phaseX % tw > 0) startX -= tw;
    if (phaseY % th > 0) startY -= th;
    // A negative phase leaves the first tile right of the area's edge.
    while (startX > area.left) startX -= tw;
    while (startY > area.top) startY -= th;
    bool ok = true;
    for (int32_t y = startY; y < area.bottom; y += th)
        for (int32_t x = startX; x < area.right; x += tw) {
            cRZRect s = tile, d{x, y, x + tw, y + th};
            CutTo(s, d, area, 0);
            if (!IsEmpty(d)) ok = Blit(source, s, d) && ok;
        }
    return ok;
}

bool cGZBuffer::FrameBlit(cGZBuffer& source, const cRZRect& first, const cRZRect& dest, bool fillCentre) {
    const int32_t c = first.right - first.left, h = first.bottom - first.top;
    if (c <= 0 || h <= 0) return true;
    auto cell = [&](int col, int row) {
        return cRZRect{first.left + col * c, first.top + row * h, first.left + (col + 1) * c, first.top + (row + 1) * h};
    };
    const int32_t innerL = dest.left + c, innerR = dest.right - c, innerT = dest.top + h, innerB = dest.bottom - h;
    bool ok = true;
    ok = Blit(source, cell(0, 0), {dest.left, dest.top, innerL, innerT}) && ok;
    ok = Blit(source, cell(2, 0), {innerR, dest.top, dest.right, innerT}) && ok;
    ok = Blit(source, cell(0, 2), {dest.left, innerB, innerL, dest.bottom}) && ok;
    ok = Blit(source, cell(2, 2), {innerR, innerB, dest.right, dest.bottom}) && ok;
    if (innerR > innerL) {
        ok = TileBlit(source, cell(1, 0), {innerL, dest.top, innerR, innerT}, 0, 0) && ok;
        ok = TileBlit(source, cell(1, 2), {innerL, innerB, innerR, dest.bottom}, 0, 0) && ok;
    }
    if (innerB > innerT) {
        ok = TileBlit(source, cell(0, 1), {dest.left, innerT, innerL, innerB}, 0, 0) && ok;
        ok = TileBlit(source, cell(2, 1), {innerR, innerT, dest.right, innerB}, 0, 0) && ok;
    }
    if (fillCentre && innerR > innerL && innerB > innerT)
        ok = TileBlit(source, cell(1, 1), {innerL, innerT, innerR, innerB}, 0, 0) && ok;
    return ok;
}

bool cGZBuffer::BlitAlpha(cGZBuffer& source, const cRZRect& sourceRect, const cRZRect& destRect, uint8_t alpha,
                          const cRZRect* clip) {
    if (!mSurface || !source.mSurface) return false;
    cRZRect s = sourceRect, d = destRect;
    if (!ClipBlitRects(s, d, clip)) return true;
    platform::BlitOptions options;
    options.alpha = alpha;
    options.colorKey = (source.mBlitFlags & kBlitColorKey) != 0;
    options.key = source.mColorKey;
    return mSurface->Surface()->Blit(*source.mSurface->Surface(), ToPlatform(s), ToPlatform(d), options);
}

cGZBuffer* cGZBuffer::Clone() {
    auto* copy = new cGZBuffer;
    if (!copy->Init(Width(), Height(), mFormat.code, mFormat.bits, nullptr, mPlacement, mKind)) {
        delete copy;
        return nullptr;
    }
    copy->SetBlitParams(mColorKey, mBlitFlags);
    const uint32_t key = mColorKey, flags = mBlitFlags;
    SetBlitParams(key, 0);
    Lock(kLockBlit);
    const bool ok = copy->Blit(*this, mBounds, mBounds);
    Unlock(kLockBlit);
    SetBlitParams(key, flags);
    if (!ok) {
        delete copy;
        return nullptr;
    }
    return copy;
}
