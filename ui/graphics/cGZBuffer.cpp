#include "ui/graphics/cGZBuffer.h"

#include "ui/graphics/cGZBufferBMPProxy.h"
#include "ui/graphics/cRZPalette.h"

#include <atomic>
#include <cstring>

namespace {
std::atomic<int32_t> gScreenFormat{cGZBuffer::kFormat565};

bool IsPixelAccess(uint32_t flags) { return (flags & cGZBuffer::kLockPixelAccess) != 0; }
}  // namespace

int32_t cGZBuffer::GetScreenFormat() { return gScreenFormat.load(); }
void cGZBuffer::SetScreenFormat(int32_t code) { gScreenFormat.store(code); }

int32_t cGZBuffer::BitsOfFormat(int32_t code) {
    switch (code) {
        case kFormatIndex4: return 4;
        case kFormatIndex8: return 8;
        case kFormat16: case kFormat555: case kFormat655: case kFormat565: case kFormat556: case kFormatDepth: return 16;
        default: return 0;
    }
}

cGZBuffer::cGZBuffer() = default;

cGZBuffer::~cGZBuffer() {
    DestroySurface();
    delete mPalette;
}

int32_t cGZBuffer::Release() {
    if (mRefCount <= 1) {
        delete this;
        return 0;
    }
    return --mRefCount;
}

uint32_t cGZBuffer::MakeColorFor(int32_t code, uint8_t r, uint8_t g, uint8_t b) {
    switch (code) {
        case kFormat555: return static_cast<uint32_t>(((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
        case kFormat655: return static_cast<uint32_t>(((r >> 2) << 10) | ((g >> 3) << 5) | (b >> 3));
        case kFormat565: return static_cast<uint32_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
        case kFormat556: return static_cast<uint32_t>(((r >> 3) << 11) | ((g >> 3) << 6) | (b >> 2));
        default: return 0;
    }
}

void cGZBuffer::SplitColorFor(int32_t code, uint32_t p, uint8_t& r, uint8_t& g, uint8_t& b) {
    switch (code) {
        case kFormat555:
            r = static_cast<uint8_t>(((p >> 10) & 0x1F) << 3);
            g = static_cast<uint8_t>(((p >> 5) & 0x1F) << 3);
            b = static_cast<uint8_t>((p & 0x1F) << 3);
            break;
        case kFormat655:
            r = static_cast<uint8_t>(((p >> 10) & 0x3F) << 2);
            g = static_cast<uint8_t>(((p >> 5) & 0x1F) << 3);
            b = static_cast<uint8_t>((p & 0x1F) << 3);
            break;
        case kFormat556:
            r = static_cast<uint8_t>(((p >> 11) & 0x1F) << 3);
            g = static_cast<uint8_t>(((p >> 6) & 0x1F) << 3);
            b = static_cast<uint8_t>((p & 0x3F) << 2);
            break;
        default:
            r = static_cast<uint8_t>(((p >> 11) & 0x1F) << 3);
            g = static_cast<uint8_t>(((p >> 5) & 0x3F) << 2);
            b = static_cast<uint8_t>((p & 0x1F) << 3);
            break;
    }
}

uint32_t cGZBuffer::MakeColor(uint8_t r, uint8_t g, uint8_t b) const { return MakeColorFor(mFormat.code, r, g, b); }

bool cGZBuffer::MakeColorChecked(uint8_t r, uint8_t g, uint8_t b, uint32_t& pixel) const {
    if (mFormat.code < kFormat555 || mFormat.code > kFormat556) return false;
    pixel = MakeColorFor(mFormat.code, r, g, b);
    return true;
}

void cGZBuffer::SplitColor(uint32_t pixel, uint8_t& r, uint8_t& g, uint8_t& b) const {
    SplitColorFor(mFormat.code, pixel, r, g, b);
}

bool cGZBuffer::AttachSurface(cGZBufferColorSurfaceW95DX* surface) {
    if (!surface || !surface->IsCreated() || mInitialised) return false;
    DestroySurface();
    mSurface = surface;
    const platform::Surface& s = *surface->Surface();
    mBounds = {0, 0, s.Width(), s.Height()};
    mFormat.code = surface->ReadPixelFormat();
    mFormat.bits = BitsOfFormat(mFormat.code);
    mPlacement = surface->IsInVideoMemory() ? 3 : 0;
    mKind = s.Layout() == platform::PixelLayout::Depth16 ? kKindDepth : kKindPlain;
    mInitialised = true;
    return true;
}

bool cGZBuffer::Init(int32_t width, int32_t height, int32_t formatCode, int32_t bits, cRZPalette* palette,
                     int32_t placement, int32_t kind) {
    if (mInitialised || width <= 0 || height <= 0) return false;
    mFormat = {formatCode, bits};
    if (palette != mPalette) {
        delete mPalette;
        mPalette = palette;
    }
    mPlacement = placement;
    mKind = kind;
    mBounds = {0, 0, width, height};
    mInitialised = CreateSurface();
    return mInitialised;
}

bool cGZBuffer::Shutdown() {
    DestroySurface();
    mInitialised = false;
    return true;
}

bool cGZBuffer::Recreate() { return CreateSurface(); }

bool cGZBuffer::FreeSurface() {
    if (!DestroySurface()) return false;
    mInitialised = false;
    return true;
}

bool cGZBuffer::CreateSurface() {
    if (mProxy) return mProxy->Load();
    if (mSurface) {
        delete mSurface;
        mSurface = nullptr;
    }
    mSurface = new cGZBufferColorSurfaceW95DX;
    if (!AllocateSurface()) {
        delete mSurface;
        mSurface = nullptr;
        return false;
    }
    return true;
}

bool cGZBuffer::AllocateSurface() {
    if (!mSurface || !mSurface->Create(mBounds.right, mBounds.bottom, mFormat.code, mPlacement, mKind)) return false;
    // A format not known yet, or one no surface stores, becomes what was made.
    const int32_t made = mSurface->ReadPixelFormat();
    if (mFormat.code == kFormat16 || mFormat.code == kFormatUnknown) mFormat = {made, BitsOfFormat(made)};
    mSurface->SetBlitParams(mColorKey, mBlitFlags);
    return true;
}

bool cGZBuffer::DestroySurface() {
    if (mDepth && mSurface) mSurface->DeleteAttachedSurface(mDepth->mSurface);
    delete mSurface;
    mSurface = nullptr;
    delete mProxy;
    mProxy = nullptr;
    if (mDepth) mDepth->Release();
    mDepth = nullptr;
    if (mIndex) mIndex->Release();
    mIndex = nullptr;
    mBits = nullptr;
    mPitch = 0;
    mLockFlags = 0;
    mLockDepth = 0;
    return true;
}

bool cGZBuffer::AttachDepthBuffer() {
    if (!mSurface || !mSurface->AttachedDepth()) return false;
    // The attached depth surface stays owned by its own buffer; share it.
    return mDepth != nullptr;
}

bool cGZBuffer::Lock(uint32_t flags) {
    if (flags != kLockBlit && IsPixelAccess(flags)) {
        if (!mSurface || !mSurface->Lock()) return false;
        mBits = reinterpret_cast<uint16_t*>(mSurface->Bits());
        mPitch = mSurface->PitchBytes() / 2;
    } else if (flags != kLockBlit) {
        mBits = nullptr;
        mPitch = 0;
    }
    mLockFlags |= flags;
    ++mLockDepth;
    return true;
}

bool cGZBuffer::Unlock(uint32_t flags) {
    if (flags == kLockBlit) {
        mLockFlags &= ~kLockBlit;
    } else {
        if (IsPixelAccess(flags)) {
            if (!mSurface || !mSurface->Unlock()) return false;
            if (mSurface->LockDepth() == 0) {
                mBits = nullptr;
                mPitch = 0;
            }
        }
        mLockFlags &= ~flags;
    }
    if (mLockDepth > 0) --mLockDepth;
    return true;
}

bool cGZBuffer::IsValid() {
    if (!(mProxy && mProxy->IsLoaded()) && mSurface && mSurface->Surface()->IsLost()) {
        mInitialised = false;
        return false;
    }
    mInitialised = true;
    return true;
}

uint32_t cGZBuffer::GetByteSize() const {
    if (!mSurface) return 0;
    const uint32_t width = (static_cast<uint32_t>(mBounds.right) + 3) & ~3u;
    return width * static_cast<uint32_t>(mFormat.bits / 8) * static_cast<uint32_t>(mBounds.bottom);
}

bool cGZBuffer::IsInVideoMemory() const {
    if (mProxy) return false;
    return !mSurface || mSurface->IsInVideoMemory();
}

void cGZBuffer::SetColorKey(uint32_t key) {
    mColorKey = key;
    mBlitFlags |= kBlitColorKey;
    if (mSurface) mSurface->SetBlitParams(mColorKey, mBlitFlags);
}

void cGZBuffer::ClearColorKey() {
    mBlitFlags &= ~kBlitColorKey;
    if (mSurface) mSurface->SetBlitParams(mColorKey, mBlitFlags);
}

void cGZBuffer::SetBlitParams(uint32_t key, uint32_t flags) {
    mColorKey = key;
    mBlitFlags = flags;
    if (mSurface) mSurface->SetBlitParams(mColorKey, mBlitFlags);
}

uint16_t* cGZBuffer::GetBits() const { return mBits; }

int32_t cGZBuffer::GetPitch() const { return mSurface ? mSurface->PitchBytes() : 0; }

void cGZBuffer::SetRestoreCallback(cGZBufferSurfaceW95DX::RestoreCallback callback, void* data, intptr_t argument) {
    if (mSurface) mSurface->SetRestoreCallback(callback, data, argument);
}

bool cGZBuffer::ApplyPalette() {
    if (mProxy) return true;
    if ((mFormat.code == kFormatIndex4 || mFormat.code == kFormatIndex8) && mPalette && mSurface)
        return mSurface->SetPalette(mPalette);
    return false;
}

bool cGZBuffer::LoadImageFile(const std::string& name) {
    delete mProxy;
    mProxy = new cGZBufferBMPProxy(name);
    return AttachLoadedProxy(mProxy->Load());
}

bool cGZBuffer::LoadImageBytes(std::string bytes) {
    delete mProxy;
    mProxy = new cGZBufferBMPProxy("");
    return AttachLoadedProxy(mProxy->LoadBytes(std::move(bytes)));
}

bool cGZBuffer::AttachLoadedProxy(bool loaded) {
    if (!loaded) {
        delete mProxy;
        mProxy = nullptr;
        return false;
    }
    delete mSurface;
    mSurface = nullptr;
    mInitialised = true;
    mBounds = mProxy->ImageRect();
    mFormat = {GetScreenFormat(), 16};
    mKind = kKindPlain;
    return true;
}

bool cGZBuffer::CreateDepthBuffer() {
    auto* depth = new cGZBuffer;
    if (!depth->Init(mBounds.right, mBounds.bottom, kFormatDepth, 16, nullptr, IsInVideoMemory() ? 3 : 0, kKindDepth) ||
        !mSurface || !mSurface->AddAttachedSurface(depth->mSurface)) {
        delete depth;
        return false;
    }
    depth->AddRef();
    if (mDepth) mDepth->Release();
    mDepth = depth;
    depth->Lock(1);
    depth->mSurface->Fill(0xFFFF, nullptr);
    depth->Unlock(1);
    return true;
}

bool cGZBuffer::CreateIndexBuffer() {
    auto* index = new cGZBuffer;
    if (!index->Init(mBounds.right, mBounds.bottom, kFormatIndex8, 8, nullptr, IsInVideoMemory() ? 3 : 0, kKindIndex)) {
        delete index;
        return false;
    }
    index->AddRef();
    if (mIndex) mIndex->Release();
    mIndex = index;
    return true;
}

uint32_t cGZBuffer::PixelAt(int32_t x, int32_t y) const {
    const platform::Surface* s = mSurface->Surface();
    return s->Layout() == platform::PixelLayout::Index8 ? s->Pixel8(x, y) : mBits[y * mPitch + x];
}

void cGZBuffer::PutPixel(int32_t x, int32_t y, uint32_t colour) {
    platform::Surface* s = mSurface->Surface();
    if (s->Layout() == platform::PixelLayout::Index8) s->SetPixel(x, y, colour);
    else mBits[y * mPitch + x] = static_cast<uint16_t>(colour);
}

void cGZBuffer::Span(int32_t x0, int32_t x1, int32_t y, uint32_t colour) {
    if (mSurface->Surface()->Layout() == platform::PixelLayout::Index8) {
        for (int32_t x = x0; x <= x1; ++x) mSurface->Surface()->SetPixel(x, y, colour);
        return;
    }
    uint16_t* p = mBits + y * mPitch + x0;
    const uint16_t v = static_cast<uint16_t>(colour);
    for (int32_t n = x1 - x0 + 1; n > 0; --n) *p++ = v;
}
