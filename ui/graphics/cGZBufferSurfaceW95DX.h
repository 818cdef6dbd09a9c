// The storage behind a pixel buffer: a software surface of the platform
// layer, with the behaviour the buffer relies on: creation by size, format,
// placement and kind; nested locks; blits and fills that restore a lost
// surface and try once more; blit parameters (colour key and mirrors); the
// restore callback; an attached depth surface. Placement is bookkeeping
// against a process-wide video memory budget (the graphic system sets it
// from the display): placement 3 needs video memory, 0 never uses it, others
// fall back to system memory.
#pragma once

#include "platform/Surface.h"

#include <cstdint>
#include <memory>

class cRZPalette;

class cGZBufferSurfaceW95DX {
public:
    using RestoreCallback = void (*)(void* data, intptr_t argument);

    cGZBufferSurfaceW95DX() = default;
    virtual ~cGZBufferSurfaceW95DX();
    cGZBufferSurfaceW95DX(const cGZBufferSurfaceW95DX&) = delete;
    cGZBufferSurfaceW95DX& operator=(const cGZBufferSurfaceW95DX&) = delete;

    virtual void ReleaseSurfaces();
    // Restores a lost surface; on success runs the restore callback.
    virtual bool Restore();
    // Nested; restores a lost surface and tries again (two attempts in all).
    virtual bool Lock();
    virtual bool Unlock();
    virtual void SetBlitParams(uint32_t key, uint32_t flags);
    virtual bool Fill(uint32_t value, const platform::Rect* rect);
    // Copies from the source's surface with the source's blit parameters;
    // a lost surface (either one) is restored and the blit tried once more.
    virtual bool Blit(cGZBufferSurfaceW95DX& source, const platform::Rect& sourceRect, const platform::Rect& destRect);
    virtual bool AddAttachedSurface(cGZBufferSurfaceW95DX* depth);
    virtual bool DeleteAttachedSurface(cGZBufferSurfaceW95DX* depth);

    void SetRestoreCallback(RestoreCallback callback, void* data, intptr_t argument);
    platform::Surface* Surface() { return mSurface.get(); }
    const platform::Surface* Surface() const { return mSurface.get(); }
    bool IsCreated() const { return mSurface != nullptr; }
    bool IsInVideoMemory() const { return mVideoMemory; }
    int32_t LockDepth() const { return mLockDepth; }
    uint8_t* Bits() const { return mBits; }
    int32_t PitchBytes() const { return mPitch; }
    cGZBufferSurfaceW95DX* AttachedDepth() const { return mAttachedDepth; }

    // The video memory budget shared by all surfaces, in bytes.
    static void SetVideoMemoryFree(uint64_t bytes);
    static uint64_t VideoMemoryFree();
    // When set, every surface goes to system memory.
    static bool sSystemMemoryOnly;

protected:
    bool RestoreIfLost(platform::Surface& surface);
    void TakeSurface(std::unique_ptr<platform::Surface> surface, bool videoMemory);

    std::unique_ptr<platform::Surface> mSurface;
    platform::BlitOptions mBlit;
    bool mVideoMemory = false;
    int32_t mLockDepth = 0;
    uint8_t* mBits = nullptr;
    int32_t mPitch = 0;
    RestoreCallback mCallback = nullptr;
    void* mCallbackData = nullptr;
    intptr_t mCallbackArgument = 0;
    cGZBufferSurfaceW95DX* mAttachedDepth = nullptr;
};

class cGZBufferColorSurfaceW95DX : public cGZBufferSurfaceW95DX {
public:
    // Pixel format codes as the buffer uses them (3 index, 5 555, 7 565,
    // 10 depth; 4 and the arithmetic-only 6 and 8 take the screen layout).
    // Kind 2 makes a depth surface, kind 3 an index surface.
    virtual bool Create(int32_t width, int32_t height, int32_t formatCode, int32_t placement, int32_t kind);
    virtual bool SetPalette(cRZPalette* palette);
    virtual bool ClearPalette();
    virtual void SetColorKey(uint32_t key);
    // The format code of the surface as made: 3, 5, 7 or 10.
    virtual int32_t ReadPixelFormat() const;
};
