// The system's one kind of 2D image: a reference-counted rectangle of pixels,
// as a rule 16-bit, that lives in a surface (cGZBufferSurfaceW95DX) or, for
// pictures read from an 8-bit run-length bitmap, in a bitmap proxy that
// decodes on demand. Windows, sprite compositions, depth buffers and the
// screen are all buffers.
//
// Pixel format codes: 0 unknown, 2 4-bit and 3 8-bit indices, 4 16-bit not
// yet known, 5 5-5-5, 6 6-5-5, 7 5-6-5, 8 5-5-6, 9 true colour, 10 depth.
// Colours are pixel values of the buffer's format (MakeColor makes them).
// Rectangles have right and bottom outside; line and circle coordinates are
// inclusive. Drawing reports failure with false and never throws; clipping
// that leaves nothing is success. The "Unclipped" operations trust their
// coordinates only as far as the surface allows: a rectangle outside it is
// refused, never written.
#pragma once

#include "framework/cRZRect.h"
#include "ui/graphics/cGZBufferSurfaceW95DX.h"

#include <cstdint>
#include <string>

class cRZPalette;
class cGZBufferBMPProxy;

struct PixelFormat {
    int32_t code = 4;
    int32_t bits = 16;
};

class cGZBuffer {
public:
    enum : int32_t {
        kFormatUnknown = 0, kFormatIndex4 = 2, kFormatIndex8 = 3, kFormat16 = 4, kFormat555 = 5,
        kFormat655 = 6, kFormat565 = 7, kFormat556 = 8, kFormatTrueColor = 9, kFormatDepth = 10,
    };
    // Blit flags of a source buffer.
    enum : uint32_t { kBlitColorKey = 2, kBlitMirrorLeftRight = 4, kBlitMirrorTopBottom = 8 };
    // Lock flags: 16 marks a blit; these give pixel access; 1, 2 and 32 neither.
    enum : uint32_t { kLockBlit = 16, kLockPixelAccess = 4 | 8 | 64 | 128 | 256 | 512 | 1024 };
    // Surface kinds.
    enum : int32_t { kKindPlain = 0, kKindTexture = 1, kKindDepth = 2, kKindIndex = 3 };

    // The screen's format (5 or 7), set by the graphic system; 7 until then.
    static int32_t GetScreenFormat();
    static void SetScreenFormat(int32_t code);
    // The bit count a format code alone implies.
    static int32_t BitsOfFormat(int32_t code);

    cGZBuffer();
    virtual ~cGZBuffer();
    cGZBuffer(const cGZBuffer&) = delete;
    cGZBuffer& operator=(const cGZBuffer&) = delete;

    // Wraps an existing surface (the buffer owns it from now on).
    virtual bool AttachSurface(cGZBufferColorSurfaceW95DX* surface);
    virtual bool Init(int32_t width, int32_t height, int32_t formatCode, int32_t bits, cRZPalette* palette,
                      int32_t placement, int32_t kind);
    virtual bool Shutdown();
    virtual bool Recreate();
    virtual bool FreeSurface();
    virtual bool AttachDepthBuffer();
    virtual bool Lock(uint32_t flags);
    virtual bool Unlock(uint32_t flags);
    virtual bool IsLocked() const { return mLockFlags != 0; }
    virtual bool IsValid();
    virtual uint32_t GetByteSize() const;
    virtual bool IsInVideoMemory() const;

    // Fills (cGZBufferDraw.cpp).
    virtual bool Clear(uint32_t colour, const cRZRect* clip = nullptr);
    virtual bool FillRect4(uint32_t colour, int32_t left, int32_t top, int32_t right, int32_t bottom,
                           const cRZRect* clip = nullptr);
    virtual bool FillRect(uint32_t colour, const cRZRect& rect, const cRZRect* clip = nullptr);
    virtual bool ClearUnclipped(uint32_t colour);
    virtual bool FillRect4Unclipped(uint32_t colour, int32_t left, int32_t top, int32_t right, int32_t bottom);
    virtual bool FillRectUnclipped(uint32_t colour, const cRZRect& rect);
    virtual bool FrameRect(const cRZRect& rect, uint32_t colour, int32_t thickness);
    virtual bool FrameRectUnclipped(const cRZRect& rect, uint32_t colour, int32_t thickness);
    virtual bool FloodFill(int32_t x, int32_t y, uint32_t colour);
    virtual bool FloodFillUnbounded(int32_t x, int32_t y, uint32_t colour);
    virtual bool BoundaryFill(int32_t x, int32_t y, uint32_t colour, uint32_t border);
    virtual bool BoundaryFillUnbounded(int32_t x, int32_t y, uint32_t colour, uint32_t border);

    virtual void SetColorKey(uint32_t key);
    virtual bool HasColorKey() const { return mBlitFlags != 0; }
    virtual void ClearColorKey();
    virtual void SetBlitParams(uint32_t key, uint32_t flags);
    virtual void GetBlitParams(uint32_t& key, uint32_t& flags) const {
        key = mColorKey;
        flags = mBlitFlags;
    }

    // Lines and circles (cGZBufferDraw.cpp).
    virtual bool DrawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour, int32_t width = 1);
    virtual bool DrawLineUnclipped(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t colour, int32_t width = 1);
    virtual bool DrawCircle(int32_t left, int32_t top, int32_t right, uint32_t colour, int32_t thickness);
    virtual bool DrawCircleUnclipped(int32_t left, int32_t top, int32_t right, uint32_t colour, int32_t thickness);
    virtual bool FillCircle(int32_t left, int32_t top, int32_t right, uint32_t colour);
    virtual bool FillCircleUnclipped(int32_t left, int32_t top, int32_t right, uint32_t colour);

    // Copies (cGZBufferBlit.cpp). The source's blit parameters apply.
    virtual cGZBuffer* Clone();
    virtual bool BlitKeyed(cGZBuffer& source, const cRZRect& sourceRect, const cRZRect& destRect, const cRZRect* clip,
                           uint32_t key, uint32_t flags);
    virtual bool Blit(cGZBuffer& source, const cRZRect& sourceRect, const cRZRect& destRect, const cRZRect* clip = nullptr);
    virtual bool BlitFastKeyed(cGZBuffer& source, const cRZRect& sourceRect, const cRZRect& destRect, uint32_t key,
                               uint32_t flags);
    virtual bool BlitFast(cGZBuffer& source, const cRZRect& sourceRect, const cRZRect& destRect);
    virtual bool StretchBlitKeyed(cGZBuffer& source, const cRZRect& sourceRect, const cRZRect& destRect,
                                  const cRZRect* clip, uint32_t key, uint32_t flags);
    virtual bool StretchBlit(cGZBuffer& source, const cRZRect& sourceRect, const cRZRect& destRect,
                             const cRZRect* clip = nullptr);
    virtual bool BlitRawKeyed(cGZBuffer& source, const cRZRect& sourceRect, const cRZRect& destRect, uint32_t key,
                              uint32_t flags);
    virtual bool BlitRaw(cGZBuffer& source, const cRZRect& sourceRect, const cRZRect& destRect);
    virtual bool CopyFrom(cGZBuffer& source);
    virtual bool TileBlit(cGZBuffer& source, const cRZRect& tile, const cRZRect& area, int32_t phaseX, int32_t phaseY);
    virtual bool FrameBlit(cGZBuffer& source, const cRZRect& firstCell, const cRZRect& dest, bool fillCentre);
    virtual bool Draw3DFramePixel(const cRZRect& rect, uint32_t pixel, bool raised, bool fill);
    virtual bool Draw3DFrame(const cRZRect& rect, uint8_t red, uint8_t green, uint8_t blue, bool raised, bool fill);
    // The windows' translucency: source over this buffer at alpha 0-255
    // (clipped like Blit; the source's colour key applies, mirrors do not).
    virtual bool BlitAlpha(cGZBuffer& source, const cRZRect& sourceRect, const cRZRect& destRect, uint8_t alpha,
                           const cRZRect* clip = nullptr);

    virtual uint16_t* GetBits() const;
    virtual int32_t GetPitch() const;
    virtual void SetRestoreCallback(cGZBufferSurfaceW95DX::RestoreCallback callback, void* data, intptr_t argument);
    virtual bool ApplyPalette();
    virtual bool CreateSurface();
    virtual bool AllocateSurface();
    virtual bool DestroySurface();

    int32_t AddRef() { return ++mRefCount; }
    int32_t Release();
    int32_t RefCount() const { return mRefCount; }

    uint32_t MakeColor(uint8_t red, uint8_t green, uint8_t blue) const;
    bool MakeColorChecked(uint8_t red, uint8_t green, uint8_t blue, uint32_t& pixel) const;
    void SplitColor(uint32_t pixel, uint8_t& red, uint8_t& green, uint8_t& blue) const;
    static uint32_t MakeColorFor(int32_t formatCode, uint8_t red, uint8_t green, uint8_t blue);
    static void SplitColorFor(int32_t formatCode, uint32_t pixel, uint8_t& red, uint8_t& green, uint8_t& blue);

    bool LoadImageFile(const std::string& name);
    // The same from a bitmap file's bytes already in memory.
    bool LoadImageBytes(std::string bytes);
    // The resource id of a picture loaded by id (0 otherwise).
    int32_t GetResourceId() const { return mResourceId; }
    void SetResourceId(int32_t id) { mResourceId = id; }
    bool CreateDepthBuffer();
    bool CreateIndexBuffer();

    bool IsInitialised() const { return mInitialised; }
    const PixelFormat& GetPixelFormat() const { return mFormat; }
    const cRZRect& GetBounds() const { return mBounds; }
    int32_t Width() const { return mBounds.right; }
    int32_t Height() const { return mBounds.bottom; }
    int32_t GetKind() const { return mKind; }
    uint32_t GetLockFlags() const { return mLockFlags; }
    int32_t GetLockDepth() const { return mLockDepth; }
    cRZPalette* GetPalette() const { return mPalette; }
    cGZBufferColorSurfaceW95DX* GetSurface() const { return mSurface; }
    cGZBufferBMPProxy* GetProxy() const { return mProxy; }
    cGZBuffer* GetDepthBuffer() const { return mDepth; }
    cGZBuffer* GetIndexBuffer() const { return mIndex; }

protected:
    // Makes the just-loaded proxy this buffer's picture, or drops it.
    bool AttachLoadedProxy(bool loaded);

    // One pixel, read or written through the locked pixel pointer (16-bit
    // buffers) or the surface (8-bit).
    uint32_t PixelAt(int32_t x, int32_t y) const;
    void PutPixel(int32_t x, int32_t y, uint32_t colour);
    // A horizontal run, inclusive ends, already inside the buffer.
    void Span(int32_t x0, int32_t x1, int32_t y, uint32_t colour);
    bool ClipBlitRects(cRZRect& source, cRZRect& dest, const cRZRect* clip) const;
    bool SurfaceBlit(cGZBuffer& source, const cRZRect& sourceRect, const cRZRect& destRect);
    bool RegionFill(int32_t x, int32_t y, uint32_t colour, bool bounded, uint32_t border);
    bool DrawRing(int32_t left, int32_t top, int32_t right, uint32_t colour, int32_t thickness, bool clipped);
    bool DiscSpans(int32_t left, int32_t top, int32_t right, uint32_t colour);

    bool mInitialised = false;
    PixelFormat mFormat;
    cRZPalette* mPalette = nullptr;
    cRZRect mBounds{};
    uint32_t mColorKey = 0;
    uint32_t mBlitFlags = 0;
    uint16_t* mBits = nullptr;
    int32_t mPitch = 0;  // in pixels
    int32_t mLockDepth = 0;
    int32_t mPlacement = 1;
    int32_t mKind = 0;
    cGZBufferColorSurfaceW95DX* mSurface = nullptr;
    cGZBufferBMPProxy* mProxy = nullptr;
    int32_t mResourceId = 0;
    uint32_t mLockFlags = 0;
    int32_t mRefCount = 0;
    cGZBuffer* mDepth = nullptr;
    cGZBuffer* mIndex = nullptr;
};
