// The 3D device made over an AnimDevice: it draws through the software 3D
// device into the AnimDevice's render target, or into any 16-bit surface
// and depth surface given to SetRenderTarget. It owns the table of
// viewports (up to 12), the table of lights (up to 32, each holding one
// reference), the texture cache and the material library.
//
// Only the newer interface generation exists here: one software device
// draws everything with indexed triangle lists, so nothing is recorded into
// execute buffers.
#pragma once

#include "character/AnimDevice.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class Light;
class Material;
class MaterialLibrary;
class Texture;
class TextureCache;
class Viewport3D;
struct ViewportRenderState;

class Device3D : public iAnimDeviceViewports {
public:
    static constexpr size_t kMaxViewports = 12;
    static constexpr size_t kMaxLights = 32;
    // A render-target change slower than this is written to the debug output.
    static constexpr uint32_t kSlowTargetMs = 500;

    Device3D();
    ~Device3D() override;
    Device3D(const Device3D&) = delete;
    Device3D& operator=(const Device3D&) = delete;

    // Takes the AnimDevice's render target and z-buffer, makes the texture
    // cache and the material library and registers with the AnimDevice for
    // its presents.
    uint32_t Init(AnimDevice& anim);
    bool IsInitialized() const { return anim_ != nullptr; }

    // A viewport over `rect` (the whole target when null), set up and put in
    // the table; a full table gives 0x9B0B0001.
    uint32_t CreateViewport(const cRZRect* rect, Viewport3D** out);
    // An unknown viewport is ignored.
    void DeleteViewport(Viewport3D* viewport);
    // Takes a viewport being destroyed out of the table without deleting it.
    void ForgetViewport(Viewport3D* viewport);
    size_t ViewportCount() const { return viewports_.size(); }
    Viewport3D* GetViewport(size_t i) const { return viewports_.at(i); }

    // A light with two references, the table's and the caller's; with
    // `addToViewports` it is also added to every viewport (a refusal undoes
    // the whole creation). A full table first lets go of a light only the
    // table holds; when there is none, 0x9B0B0001.
    uint32_t CreateDirectionalLight(Light** out, bool addToViewports);
    uint32_t CreatePointLight(Light** out, bool addToViewports);
    uint32_t CreateParallelPointLight(Light** out, bool addToViewports);
    uint32_t CreateSpotLight(Light** out, bool addToViewports);
    size_t LightCount() const { return lights_.size(); }
    Light* GetLight(size_t i) const { return lights_.at(i); }

    // Draws from now on into `color` (565 or 555) and `depth` (a depth
    // surface of the same size, or null); the textures and materials take
    // their handles again.
    uint32_t SetRenderTarget(platform::Surface* color, platform::Surface* depth);
    platform::Surface* GetRenderTarget() const { return target_; }
    platform::Surface* GetDepthTarget() const { return depth_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }

    uint32_t GetTexture(const char* name, Texture** out);
    // A new material of that name each time (MaterialLibrary::CreateNamed).
    uint32_t FindMaterial(const char* name, Material** out);
    void ReleaseMaterial(Material* material);
    uint32_t Present();
    // The AnimDevice's surfaces and the current target.
    uint32_t RestoreSurfaces();

    AnimDevice* GetAnimDevice() const { return anim_; }
    TextureCache& Textures() { return *textures_; }
    MaterialLibrary& Materials() { return *materials_; }
    platform::Soft3DDevice& Soft3D() { return anim_->GetSoft3D(); }
    uint32_t LastResult() const { return lastResult_; }

    // A scene on the device: fails with the lost-surface code while the
    // target or its depth surface is lost.
    uint32_t BeginDeviceScene();
    uint32_t EndDeviceScene();
    // Sends a viewport's render state to the software device.
    void SendRenderState(const ViewportRenderState& state);
    uint32_t RenderStateSends() const { return stateSends_; }
    // One indexed draw; answers the box of the pixels written.
    platform::Rect DrawIndexed(const platform::Soft3DVertex* vertices, uint32_t first, uint32_t count,
                               const uint16_t* indices, size_t indexCount, bool clip);
    uint32_t DrawCount() const { return draws_; }

    // iAnimDeviceViewports: every viewport's update and clear rectangles.
    void CollectDamage(std::vector<cRZRect>& rects) override;
    void EndFrame() override;

    // The millisecond clock (the platform's by default) and the debug
    // output (standard error by default).
    void SetClock(std::function<uint32_t()> clock) { clock_ = std::move(clock); }
    void SetDebugOutput(std::function<void(const std::string&)> output) { debug_ = std::move(output); }

private:
    uint32_t Result(uint32_t code) { return lastResult_ = code; }
    uint32_t AddLight(Light* light, Light** out, bool addToViewports);

    AnimDevice* anim_ = nullptr;
    uint32_t lastResult_ = 0;
    platform::Surface* target_ = nullptr;
    platform::Surface* depth_ = nullptr;
    int32_t width_ = 0, height_ = 0;
    std::unique_ptr<TextureCache> textures_;
    std::unique_ptr<MaterialLibrary> materials_;
    std::vector<Viewport3D*> viewports_;
    std::vector<Light*> lights_;
    uint32_t stateSends_ = 0;
    uint32_t draws_ = 0;
    std::function<uint32_t()> clock_;
    std::function<void(const std::string&)> debug_;
};

// The device restore of a character-library reload: the textures and the
// materials are released, the textures read again and the materials
// restored, stopping at the first step that fails (its code is answered).
uint32_t RestoreCharacterDevice(Device3D& device);
