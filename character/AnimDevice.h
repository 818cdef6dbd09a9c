// The one object that binds the 3D layer to the display: it owns (or
// borrows) the screen picture, the render target and the z-buffer, chooses
// the 3D device, registers the image, z-buffer and mesh file kinds with the
// data-file catalogue with their search paths, and presents each frame by
// copying the damaged rectangles to the screen.
//
// Our only device is the software one ("RGB Emulation"), drawing into the
// render target and the z-buffer the sprites share. There is no exclusive
// mode, no mode switch, no flipping, no palette on the screen and no surface
// in video memory, so the driver and mode lists, palettes, flipping and the
// switch that forced the older interfaces have nothing to decide here; the
// new-interface path is the only one and `IsAvailable` is always true.
//
// The screen is our own copy of what is shown (the "primary"): a present
// copies damage from the render target into it, applies a pending screen
// move first, and hands the touched rectangles to the presenter.
#pragma once

#include "character/TextureImage.h"
#include "framework/cRZRect.h"
#include "framework/cRZSearchPath.h"
#include "platform/Soft3DDevice.h"
#include "platform/Surface.h"
#include "ui/graphics/cGZDirtyRegion.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class Presenter;
}

// What the device needs of the viewports of the 3D device made over it: the
// rectangles they changed and a call at the end of each frame.
class iAnimDeviceViewports {
public:
    virtual ~iAnimDeviceViewports() = default;
    // Appends each viewport's update and clear rectangles.
    virtual void CollectDamage(std::vector<cRZRect>& rects) = 0;
    virtual void EndFrame() = 0;
};

// A surface description as `ClassifyPixelFormat` reads it.
struct AnimPixelFormat {
    bool zBuffer = false;
    bool rgb = true;
    int32_t bitCount = 16;
    uint32_t redMask = 0, greenMask = 0, blueMask = 0;
};

class AnimDevice {
public:
    using Guid = std::array<uint8_t, 16>;
    using DrawCallback = void (*)(void* houseViewer);

    struct DeviceRecord {
        std::string name;
        std::string description;
        Guid guid{};
        bool hardware = false;
        bool perspectiveTexturing = true;
        bool zBuffer16 = true;
        bool rendersWindowed = true;
    };

    static constexpr int32_t kMinSurfaceSide = 50;

    AnimDevice();
    virtual ~AnimDevice();
    AnimDevice(const AnimDevice&) = delete;
    AnimDevice& operator=(const AnimDevice&) = delete;

    // Set-up with a screen of its own. `presenter` may be null (nothing is
    // shown, the screen copy is still kept); palette has no use at 16 bits.
    uint32_t InitOwn(platform::Presenter* presenter, bool fullscreen, bool preferHardware, int32_t width,
                     int32_t height, int32_t bitDepth, int32_t rasteriserChoice);
    // Set-up over the graphic system's render target and z-buffer (borrowed;
    // a null z-buffer is made here). With a device GUID that device is used.
    uint32_t InitShared(platform::Presenter* presenter, platform::Surface* renderTarget, platform::Surface* zBuffer,
                        int32_t width, int32_t height, int32_t bitDepth, bool fullscreen, bool hardware,
                        const Guid* deviceGuid, int32_t rasteriserChoice, int32_t zDepth);

    uint32_t CreateSurfaces(int32_t width, int32_t height, bool withZBuffer);
    void ReleaseSurfaces();
    uint32_t RestoreSurfaces();
    uint32_t ChooseDevice(bool preferHardware);
    const DeviceRecord& ChosenDevice() const { return chosen_; }
    const std::vector<DeviceRecord>& Devices() const { return devices_; }

    // One present; answers the last result.
    uint32_t Update();
    // How many presents fit in 250 ms of the millisecond clock.
    int32_t TimingTest();

    void SetPresentRects(const cRZRect& source, const cRZRect& destination);
    void SetClipRect(const cRZRect& rect);
    const cRZRect& GetClipRect() const { return clipRect_; }
    bool HasClipRect() const { return hasClipRect_; }
    void SetBackground(platform::Surface* surfaceA, platform::Surface* surfaceB, cGZDirtyRegion* damage);
    void SetBackgroundInUse(bool inUse) { backgroundInUse_ = inUse; }
    void SetDrawCallback(DrawCallback callback, void* houseViewer);
    void SetViewports(iAnimDeviceViewports* viewports) { viewports_ = viewports; }

    bool IsAvailable() const { return true; }
    platform::Surface* GetRenderTarget() const { return renderTarget_; }
    platform::Surface* GetZBuffer() const { return zBuffer_; }
    platform::Surface* GetPrimary() const { return primary_.get(); }
    platform::Soft3DDevice& GetSoft3D() { return soft3d_; }
    const cRZRect& DeviceRect() const { return deviceRect_; }
    // This frame's damage; drawing code adds to it.
    cGZDirtyRegion& Damage() { return damage_; }
    uint32_t LastResult() const { return lastResult_; }
    uint32_t FrameCount() const { return frames_; }
    size_t RectsPresentedLast() const { return presentedLast_; }

    // 10 for a z-buffer (second value its depth); 5, 7, 6 and 8 for the
    // 16-bit layouts 555, 565, 655 and 556 (second value 16); else 0.
    static int32_t ClassifyPixelFormat(const AnimPixelFormat& format, int32_t* second = nullptr);

    // Reads the "IMAG" file `name` from the texture search path into `out`
    // in `format`; an indexed image is re-mapped to `palette` when given.
    uint32_t LoadTextureImage(TextureImage& out, const char* name, const TexturePixelFormat& format,
                              const TexturePalette* palette = nullptr);
    cRZSearchPath& BitmapPath() { return bitmapPath_; }
    cRZSearchPath& ZBufferPath() { return zBufferPath_; }
    cRZSearchPath& TexturePath() { return texturePath_; }

    // The millisecond clock of the timing test (the platform's by default).
    void SetClock(std::function<uint32_t()> clock) { clock_ = std::move(clock); }

protected:
    // The devices there are; tests put others in their place.
    virtual std::vector<DeviceRecord> EnumerateDevices() const;

private:
    uint32_t Result(uint32_t code) { return lastResult_ = code; }
    void RegisterKinds();
    void ResetDamage();
    void PresentRects(const std::vector<cRZRect>& rects);

    platform::Presenter* presenter_ = nullptr;
    bool fullscreen_ = false;
    bool preferHardware_ = false;
    bool ownsScreen_ = false;
    int32_t bitDepth_ = 16;
    int32_t rasteriser_ = 1;
    int32_t zDepth_ = 16;
    cRZRect deviceRect_{};
    cRZRect surfaceRect_{};
    uint32_t lastResult_ = 0;

    std::unique_ptr<platform::Surface> primary_;
    std::unique_ptr<platform::Surface> ownRenderTarget_;
    std::unique_ptr<platform::Surface> ownZBuffer_;
    platform::Surface* renderTarget_ = nullptr;
    platform::Surface* zBuffer_ = nullptr;
    platform::Soft3DDevice soft3d_;

    std::vector<DeviceRecord> devices_;
    DeviceRecord chosen_;

    cGZDirtyRegion damage_, damageLast_;
    cGZDirtyRegion damage2_, damage2Last_;
    std::vector<cRZRect> working_;
    cGZDirtyRegion* backgroundDamage_ = nullptr;
    platform::Surface* backgroundA_ = nullptr;
    platform::Surface* backgroundB_ = nullptr;
    bool backgroundInUse_ = false;
    DrawCallback drawCallback_ = nullptr;
    void* drawCallbackViewer_ = nullptr;
    iAnimDeviceViewports* viewports_ = nullptr;

    bool movePending_ = false;
    cRZRect moveSource_{}, moveDestination_{};
    bool hasClipRect_ = false;
    cRZRect clipRect_{};
    uint32_t frames_ = 0;
    size_t presentedLast_ = 0;
    bool noFlip_ = false;

    cRZSearchPath bitmapPath_, zBufferPath_, texturePath_;
    std::function<uint32_t()> clock_;
};
