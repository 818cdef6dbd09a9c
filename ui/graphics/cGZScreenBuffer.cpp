#include "ui/graphics/cGZScreenBuffer.h"

#include <algorithm>

#include "framework/cGZFrameWork.h"
#include "platform/Presenter.h"
#include "ui/graphics/cGZBufferSurfaceW95DX.h"
#include "ui/graphics/cRZPalette.h"
#include "ui/graphics/cIGZPresenter3D.h"

bool cGZBufferPrimarySurfaceW95DX::Present(const cGZBuffer& frame, const std::vector<cRZRect>& rects) {
    if (!mpPresenter || !frame.GetSurface() || !frame.GetSurface()->Surface()) return false;
    std::vector<platform::Rect> out;
    out.reserve(rects.size());
    for (const cRZRect& r : rects) out.push_back({r.left, r.top, r.right, r.bottom});
    return mpPresenter->Present(*frame.GetSurface()->Surface(), out);
}

cGZScreenBuffer::~cGZScreenBuffer() { DestroySurfaces(); }

bool cGZScreenBuffer::InitScreen(int32_t width, int32_t height, uint8_t setting, int32_t formatCode, int32_t bits,
                                 cRZPalette* palette, uint32_t bufferCount, uint32_t textureReserve,
                                 bool keepSystemCopy) {
    if (mbScreenInitialised) return true;
    if (mInitialised || width <= 0 || height <= 0) return false;
    if (mbSystemMemoryOnly) mbVideoAllowed = false;
    mBounds = {0, 0, width, height};
    mView = mBounds;
    mFormat = {formatCode, bits};
    if (palette != mPalette) {
        delete mPalette;
        mPalette = palette;
    }
    mnSetting = setting;
    mnTextureReserve = textureReserve;
    mnBufferCount = std::max<uint32_t>(bufferCount, 1);
    mbKeepCopy = keepSystemCopy;
    if (!CreateSurfaces() || !mSurface) return false;
    const int32_t code = mSurface->ReadPixelFormat();
    if (code == kFormatUnknown) {
        DestroySurfaces();
        return false;
    }
    mFormat = {code, BitsOfFormat(code)};
    mInitialised = true;
    mbScreenInitialised = true;
    return true;
}

void cGZScreenBuffer::SetViewRect(const cRZRect& view) {
    mView = view;
    if (mpPresenter3D) mpPresenter3D->SetPresentRects(view);
}

bool cGZScreenBuffer::Present() {
    if (mpPresenter3D) {
        // Nothing shows while another program has the full screen.
        if (!GZIsAppActive() && mbFullScreen) return true;
        return mpPresenter3D->Present();
    }
    if (!mpPrimary || !mSurface) return false;
    return mpPrimary->Present(*this, {mBounds});
}

bool cGZScreenBuffer::PresentRects(const std::vector<cRZRect>& rects) {
    if (!mpPrimary || !mSurface) return false;
    return mpPrimary->Present(*this, rects);
}

bool cGZScreenBuffer::SelectBuffer(int32_t index) {
    if (index != mnCurrentBuffer && GetBufferCount() == 2 && mBuffers.size() == 1 && mSurface) {
        // Flipping the back buffer: its pixels trade places with the further buffer's.
        std::swap(mSurface, mBuffers[0]->mSurface);
        std::swap(mBits, mBuffers[0]->mBits);
        std::swap(mPitch, mBuffers[0]->mPitch);
    }
    mnCurrentBuffer = index;
    return true;
}

void cGZScreenBuffer::ClipPointToView(int32_t& x, int32_t& y) const {
    x = std::clamp(x, 0, GetViewWidth());
    y = std::clamp(y, 0, GetViewHeight());
}

void cGZScreenBuffer::ClipRectToView(cRZRect& rect) const {
    ClipPointToView(rect.left, rect.top);
    ClipPointToView(rect.right, rect.bottom);
}

bool cGZScreenBuffer::CreateSurfaces() {
    // Full screen would try a flip chain first; none can be made here.
    CreateFlipChain();
    return CreateBlitSurfaces();
}

bool cGZScreenBuffer::CreateBlitSurfaces() {
    mbFlipping = false;
    return CreatePrimaryAndBuffers(mbKeepCopy);
}

bool cGZScreenBuffer::CreatePrimaryAndBuffers(bool keepCopy) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        bool restart = false;
        if (TryCreatePrimaryAndBuffers(keepCopy, restart)) return true;
        DestroySurfaces();
        if (!restart || !mbVideoAllowed) return false;
        mbVideoAllowed = false;
    }
    return false;
}

bool cGZScreenBuffer::TryCreatePrimaryAndBuffers(bool keepCopy, bool& restart) {
    const int32_t placement = mbVideoAllowed ? 3 : 0;
    mpPrimary = std::make_unique<cGZBufferPrimarySurfaceW95DX>(mpPresenterTarget);
    const int32_t width = mBounds.right, height = mBounds.bottom;
    const PixelFormat format = mFormat;
    cRZPalette* palette = mPalette;
    mPalette = nullptr;  // the screen's palette stays with the caller's record
    mInitialised = false;
    bool made = cGZBuffer::Init(width, height, format.code, format.bits, nullptr, placement, kKindPlain);
    mPalette = palette;
    if (keepCopy) {
        const bool only = cGZBufferSurfaceW95DX::sSystemMemoryOnly;
        cGZBufferSurfaceW95DX::sSystemMemoryOnly = false;
        mpCopy = std::make_unique<cGZBuffer>();
        const bool copied = mpCopy->Init(width, height, format.code, format.bits, nullptr, 3, kKindPlain);
        cGZBufferSurfaceW95DX::sSystemMemoryOnly = only;
        if (!copied) return false;
    }
    if (!made && placement == 3) {
        mInitialised = false;
        made = cGZBuffer::Init(width, height, format.code, format.bits, nullptr, 0, kKindPlain);
    }
    if (!made) return false;
    for (uint32_t i = 1; i < mnBufferCount; ++i) {
        auto further = std::make_unique<cGZScreenBuffer>();
        if (!further->Init(width, height, format.code, format.bits, nullptr, placement, kKindPlain)) {
            restart = placement == 3;
            return false;
        }
        mBuffers.push_back(std::move(further));
    }
    if (placement == 3) {
        mnProbed = ProbeVideoMemory();
        if (mnProbed <= mnTextureReserve) {
            restart = true;
            return false;
        }
    }
    for (int32_t i = static_cast<int32_t>(mnBufferCount); i >= 1; --i) SelectBuffer(i);
    return true;
}

uint64_t cGZScreenBuffer::ProbeVideoMemory() {
    std::vector<std::unique_ptr<cGZBuffer>> probes;
    uint64_t total = 0;
    while (total <= mnTextureReserve) {
        const int32_t side = probes.size() < 8 ? 64 : 128;
        auto probe = std::make_unique<cGZBuffer>();
        if (!probe->Init(side, side, mFormat.code, mFormat.bits, nullptr, 3, kKindTexture)) break;
        total += static_cast<uint64_t>(mFormat.bits / 8) * side * side;
        probes.push_back(std::move(probe));
    }
    return total;  // the probes are released here
}

void cGZScreenBuffer::DestroySurfaces() {
    mInitialised = false;
    while (!mBuffers.empty()) mBuffers.pop_back();
    DestroySurface();
    mpPrimary.reset();
    mpCopy.reset();
    mnCurrentBuffer = -1;
}

bool cGZScreenBuffer::Shutdown() {
    DestroySurfaces();
    mbScreenInitialised = false;
    return true;
}

bool cGZScreenBuffer::Recreate() {
    if (!mbScreenInitialised) return false;
    if (!CreateSurfaces()) return false;
    mInitialised = true;
    return true;
}

bool cGZScreenBuffer::FreeSurface() {
    DestroySurfaces();
    return true;
}

bool cGZScreenBuffer::IsValid() { return mpPrimary != nullptr && cGZBuffer::IsValid(); }

void cGZScreenBuffer::SetPresenter(cIGZPresenter3D* presenter) {
    mpPresenter3D = presenter;
    if (presenter) presenter->SetPresentRects(mView);
}

void cGZScreenBuffer::AddDirtyRect(const cRZRect& rect) {
    if (!mpPresenter3D) return;
    for (int i = 0; i < 2; ++i) {
        if (!mpPresenterRects[i]) continue;
        const cRZRect& p = *mpPresenterRects[i];
        const cRZRect cut{std::max(rect.left, p.left), std::max(rect.top, p.top), std::min(rect.right, p.right),
                          std::min(rect.bottom, p.bottom)};
        if (cut.left < cut.right && cut.top < cut.bottom) mpPresenter3D->DirtyList(i).AddRect(cut);
    }
}
