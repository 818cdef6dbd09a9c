// The buffer that stands for the display: the frame is drawn into it and
// Present puts it on the screen. The "primary" here is the platform
// presenter of the host window; the buffer's own surface is the back buffer,
// copied to the primary's view rectangle. A flip chain cannot be made on
// this platform, so the blit path is always taken. Video or system memory is
// chosen by probing how much of the display's budget is left for textures.
// With the 3D presenter attached, presenting and dirty rectangles go through
// it instead.
#pragma once

#include <memory>
#include <vector>

#include "framework/cRZRect.h"
#include "ui/graphics/cGZBuffer.h"

namespace platform {
class Presenter;
}
class cIGZPresenter3D;

// The primary surface: the presenter of the host window.
class cGZBufferPrimarySurfaceW95DX {
public:
    explicit cGZBufferPrimarySurfaceW95DX(platform::Presenter* presenter) : mpPresenter(presenter) {}
    // Shows the rectangles of the frame (the back buffer's surface).
    bool Present(const cGZBuffer& frame, const std::vector<cRZRect>& rects);
    platform::Presenter* GetPresenter() const { return mpPresenter; }

private:
    platform::Presenter* mpPresenter;
};

class cGZScreenBuffer : public cGZBuffer {
public:
    static constexpr uint32_t kDefaultTextureReserve = 0x20000;

    cGZScreenBuffer() = default;
    ~cGZScreenBuffer() override;

    // The presenter the frame goes to (not owned); set before InitScreen.
    void SetPrimaryPresenter(platform::Presenter* presenter) { mpPresenterTarget = presenter; }
    // Surfaces only in system memory (the graphic system's switch).
    void SetSystemMemoryOnly(bool only) { mbSystemMemoryOnly = only; }
    void SetFullScreen(bool on) { mbFullScreen = on; }
    // The two presenter rectangles the main window keeps (root coordinates).
    void SetPresenterRects(const cRZRect* first, const cRZRect* second) {
        mpPresenterRects[0] = first;
        mpPresenterRects[1] = second;
    }

    virtual bool InitScreen(int32_t width, int32_t height, uint8_t setting, int32_t formatCode, int32_t bits,
                            cRZPalette* palette, uint32_t bufferCount, uint32_t textureReserve, bool keepSystemCopy);
    virtual bool IsScreenInitialised() const { return mbScreenInitialised; }
    virtual void SetViewRect(const cRZRect& view);
    virtual bool Present();
    virtual cGZBuffer* AsBuffer() { return this; }
    virtual int32_t GetCurrentBuffer() const { return mnCurrentBuffer; }
    virtual bool SelectBuffer(int32_t index);
    virtual int32_t GetViewWidth() const { return mView.right - mView.left; }
    virtual int32_t GetViewHeight() const { return mView.bottom - mView.top; }
    virtual void UpdateMemoryPolicy() { mbVideoAllowed = !mbSystemMemoryOnly; }
    virtual void ClipRectToView(cRZRect& rect) const;
    virtual void ClipPointToView(int32_t& x, int32_t& y) const;
    virtual bool CreateSurfaces();
    // No flip chain exists on this platform: always false.
    virtual bool CreateFlipChain() { return mbFlipping = false; }
    virtual bool CreateBlitSurfaces();
    virtual bool CreatePrimaryAndBuffers(bool keepCopy);
    virtual void DestroySurfaces();
    cGZBufferPrimarySurfaceW95DX* GetPrimary() const { return mpPrimary.get(); }
    cGZBuffer* GetCopyBuffer() const { return mpCopy.get(); }

    bool Shutdown() override;
    bool Recreate() override;
    bool FreeSurface() override;
    bool IsValid() override;

    void SetPresenter(cIGZPresenter3D* presenter);
    cIGZPresenter3D* GetPresenter() const { return mpPresenter3D; }
    // Sorts a changed screen rectangle into the 3D presenter's two lists
    // (nothing while none is attached).
    void AddDirtyRect(const cRZRect& rect);
    // Shows only the listed rectangles of the frame (the windows' changed
    // areas) instead of the whole view.
    bool PresentRects(const std::vector<cRZRect>& rects);

    const cRZRect& GetViewRect() const { return mView; }
    bool IsFlipping() const { return mbFlipping; }
    bool IsVideoAllowed() const { return mbVideoAllowed; }
    uint32_t GetTextureReserve() const { return mnTextureReserve; }
    size_t GetBufferCount() const { return mBuffers.size() + 1; }
    // Bytes the last video memory probe found for textures.
    uint64_t GetProbedTextureBytes() const { return mnProbed; }

private:
    bool TryCreatePrimaryAndBuffers(bool keepCopy, bool& restartInSystemMemory);
    uint64_t ProbeVideoMemory();

    cRZRect mView{};
    bool mbFlipping = false;
    bool mbVideoAllowed = true;
    bool mbSystemMemoryOnly = false;
    uint8_t mnSetting = 1;
    uint32_t mnTextureReserve = kDefaultTextureReserve;
    uint32_t mnBufferCount = 1;
    int32_t mnCurrentBuffer = -1;
    bool mbKeepCopy = false;
    cIGZPresenter3D* mpPresenter3D = nullptr;
    platform::Presenter* mpPresenterTarget = nullptr;
    std::unique_ptr<cGZBufferPrimarySurfaceW95DX> mpPrimary;
    std::vector<std::unique_ptr<cGZScreenBuffer>> mBuffers;  // the further buffers (entries 2 and up)
    std::unique_ptr<cGZBuffer> mpCopy;
    bool mbScreenInitialised = false;
    bool mbFullScreen = false;
    uint64_t mnProbed = 0;
    const cRZRect* mpPresenterRects[2] = {nullptr, nullptr};
};
