#include "ui/graphics/cGZBufferSurfaceW95DX.h"

#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cGZDirectDrawResult.h"

#include <atomic>

using platform::PixelLayout;

bool cGZBufferSurfaceW95DX::sSystemMemoryOnly = false;

namespace {
std::atomic<uint64_t> gVideoMemoryFree{64ull << 20};

uint64_t SurfaceBytes(const platform::Surface& s) {
    return static_cast<uint64_t>(s.PitchBytes()) * static_cast<uint64_t>(s.Height());
}
}  // namespace

void cGZBufferSurfaceW95DX::SetVideoMemoryFree(uint64_t bytes) { gVideoMemoryFree.store(bytes); }
uint64_t cGZBufferSurfaceW95DX::VideoMemoryFree() { return gVideoMemoryFree.load(); }

cGZBufferSurfaceW95DX::~cGZBufferSurfaceW95DX() { cGZBufferSurfaceW95DX::ReleaseSurfaces(); }

void cGZBufferSurfaceW95DX::TakeSurface(std::unique_ptr<platform::Surface> surface, bool videoMemory) {
    mSurface = std::move(surface);
    mVideoMemory = videoMemory;
    if (videoMemory) gVideoMemoryFree.fetch_sub(SurfaceBytes(*mSurface));
}

void cGZBufferSurfaceW95DX::ReleaseSurfaces() {
    if (mSurface && mVideoMemory) gVideoMemoryFree.fetch_add(SurfaceBytes(*mSurface));
    mSurface.reset();
    mVideoMemory = false;
    mLockDepth = 0;
    mBits = nullptr;
    mPitch = 0;
    mAttachedDepth = nullptr;
}

void cGZBufferSurfaceW95DX::SetRestoreCallback(RestoreCallback callback, void* data, intptr_t argument) {
    mCallback = callback;
    mCallbackData = data;
    mCallbackArgument = argument;
}

bool cGZBufferSurfaceW95DX::Restore() {
    if (!mSurface) return false;
    const bool wasLost = mSurface->IsLost();
    if (!mSurface->Restore()) {
        cGZDirectDrawResult::Fail(cGZDirectDrawResult::kSurfaceLost);
        return false;
    }
    if (wasLost && mCallback) mCallback(mCallbackData, mCallbackArgument);
    return true;
}

bool cGZBufferSurfaceW95DX::RestoreIfLost(platform::Surface& surface) {
    if (!surface.IsLost()) return true;
    if (&surface == mSurface.get()) return Restore();
    return surface.Restore();
}

bool cGZBufferSurfaceW95DX::Lock() {
    if (!mSurface) return false;
    if (mLockDepth > 0) {
        ++mLockDepth;
        return true;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (mSurface->Lock(&mBits, &mPitch)) {
            mLockDepth = 1;
            return true;
        }
        cGZDirectDrawResult::Fail(cGZDirectDrawResult::kSurfaceLost);
        if (attempt == 0 && !Restore()) break;
    }
    mBits = nullptr;
    mPitch = 0;
    return false;
}

bool cGZBufferSurfaceW95DX::Unlock() {
    if (mLockDepth == 0) return true;
    if (mLockDepth > 1) {
        --mLockDepth;
        return true;
    }
    if (!mSurface->Unlock()) {
        cGZDirectDrawResult::Fail(cGZDirectDrawResult::kNotLocked);
        return false;
    }
    mLockDepth = 0;
    mBits = nullptr;
    mPitch = 0;
    return true;
}

void cGZBufferSurfaceW95DX::SetBlitParams(uint32_t key, uint32_t flags) {
    mBlit = platform::BlitOptions{};
    mBlit.colorKey = (flags & cGZBuffer::kBlitColorKey) != 0;
    mBlit.key = key;
    mBlit.mirrorLeftRight = (flags & cGZBuffer::kBlitMirrorLeftRight) != 0;
    mBlit.mirrorTopBottom = (flags & cGZBuffer::kBlitMirrorTopBottom) != 0;
}

bool cGZBufferSurfaceW95DX::Fill(uint32_t value, const platform::Rect* rect) {
    if (!mSurface) return false;
    if (mSurface->Fill(rect, value)) return true;
    if (!mSurface->IsLost()) {
        cGZDirectDrawResult::Fail(cGZDirectDrawResult::kInvalidRect);
        return false;
    }
    cGZDirectDrawResult::Fail(cGZDirectDrawResult::kSurfaceLost);
    return Restore() && mSurface->Fill(rect, value);
}

bool cGZBufferSurfaceW95DX::Blit(cGZBufferSurfaceW95DX& source, const platform::Rect& sourceRect,
                                 const platform::Rect& destRect) {
    if (!mSurface || !source.mSurface) return false;
    if (mSurface->Blit(*source.mSurface, sourceRect, destRect, source.mBlit)) return true;
    if (!mSurface->IsLost() && !source.mSurface->IsLost()) {
        cGZDirectDrawResult::Fail(cGZDirectDrawResult::kInvalidRect);
        return false;
    }
    cGZDirectDrawResult::Fail(cGZDirectDrawResult::kSurfaceLost);
    if (!RestoreIfLost(*mSurface) || !source.RestoreIfLost(*source.mSurface)) return false;
    return mSurface->Blit(*source.mSurface, sourceRect, destRect, source.mBlit);
}

bool cGZBufferSurfaceW95DX::AddAttachedSurface(cGZBufferSurfaceW95DX* depth) {
    if (!depth || !depth->mSurface || depth->mSurface->Layout() != PixelLayout::Depth16) return false;
    mAttachedDepth = depth;
    return true;
}

bool cGZBufferSurfaceW95DX::DeleteAttachedSurface(cGZBufferSurfaceW95DX* depth) {
    if (mAttachedDepth != depth) return false;
    mAttachedDepth = nullptr;
    return true;
}

bool cGZBufferColorSurfaceW95DX::Create(int32_t width, int32_t height, int32_t formatCode, int32_t placement,
                                        int32_t kind) {
    if (mSurface) return false;
    PixelLayout layout;
    if (kind == 2 || formatCode == cGZBuffer::kFormatDepth) layout = PixelLayout::Depth16;
    else if (kind == 3 || formatCode == cGZBuffer::kFormatIndex8 || formatCode == cGZBuffer::kFormatIndex4) layout = PixelLayout::Index8;
    else if (formatCode == cGZBuffer::kFormat555) layout = PixelLayout::Rgb555;
    else if (formatCode == cGZBuffer::kFormat565) layout = PixelLayout::Rgb565;
    else layout = cGZBuffer::GetScreenFormat() == cGZBuffer::kFormat555 ? PixelLayout::Rgb555 : PixelLayout::Rgb565;

    auto surface = platform::Surface::Create(width, height, layout);
    if (!surface) {
        cGZDirectDrawResult::Fail(cGZDirectDrawResult::kInvalidParams);
        return false;
    }
    const uint64_t bytes = SurfaceBytes(*surface);
    const bool videoWanted = placement != 0 && !sSystemMemoryOnly;
    const bool videoFits = bytes <= gVideoMemoryFree.load();
    if (videoWanted && !videoFits && placement == 3) {
        cGZDirectDrawResult::Fail(cGZDirectDrawResult::kOutOfVideoMemory);
        return false;
    }
    TakeSurface(std::move(surface), videoWanted && videoFits);
    SetBlitParams(mBlit.key, 0);
    return true;
}

// Index surfaces keep indices only; nothing here shows them through a
// palette, so attaching one has nothing to do.
bool cGZBufferColorSurfaceW95DX::SetPalette(cRZPalette* palette) { return mSurface && palette; }
bool cGZBufferColorSurfaceW95DX::ClearPalette() { return mSurface != nullptr; }

void cGZBufferColorSurfaceW95DX::SetColorKey(uint32_t key) {
    mBlit.key = key;
    mBlit.colorKey = true;
}

int32_t cGZBufferColorSurfaceW95DX::ReadPixelFormat() const {
    if (!mSurface) return cGZBuffer::kFormatUnknown;
    switch (mSurface->Layout()) {
        case PixelLayout::Rgb555: return cGZBuffer::kFormat555;
        case PixelLayout::Rgb565: return cGZBuffer::kFormat565;
        case PixelLayout::Index8: return cGZBuffer::kFormatIndex8;
        case PixelLayout::Depth16: return cGZBuffer::kFormatDepth;
    }
    return cGZBuffer::kFormatUnknown;
}
