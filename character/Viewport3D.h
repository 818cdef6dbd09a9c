// A viewport of the 3D layer: a screen rectangle of its device's render
// target with its view and projection transforms, a world transform stack,
// the render state, the lights attached to it (up to 16), its cameras (up
// to 5, the default camera among them), its ambient colour and background
// material, and the rectangles it changed this frame.
//
// Drawing goes: BeginScene, set lights and ambient colour, render objects
// (RenderObject.h), EndScene; the AnimDevice then presents the union of the
// viewports' update and clear rectangles, and EndFrame moves this frame's
// rectangles to the clear list so they are redrawn once more next frame.
//
// A viewport made without a device keeps all its state but draws nothing.
#pragma once

#include "character/LightSet.h"
#include "framework/cRZRect.h"
#include "tarn/Transform.h"
#include "ui/graphics/cGZDirtyRegion.h"

#include <cstdint>
#include <vector>

class Camera;
class Device3D;
class Light;
class Material;

// The render state a viewport asks of the device.
struct ViewportRenderState {
    bool zEnable = true;
    bool perspective = true;
    int32_t shadeMode = 2;      // Gouraud
    int32_t textureFilter = 1;  // 1 nearest, 2 linear
    int32_t textureBlend = 2;   // modulate
    int32_t fillMode = 3;       // solid
    bool dither = false;
    bool specular = true;
    bool smoothing = false;
    bool fogEnable = false;
    uint32_t fogColor = 0;
    int32_t fogMode = 3;  // linear
    float fogStart = 6.0f;
    float fogEnd = 11.0f;
    friend bool operator==(const ViewportRenderState&, const ViewportRenderState&) = default;
};

// The viewport's data block: origin, size, scale (half the size), the
// clip-space extent and the depth range.
struct ViewportData {
    uint32_t size = 44;
    int32_t x = 0, y = 0, width = 0, height = 0;
    float scaleX = 0, scaleY = 0;
    float maxX = 1.0f, maxY = 1.0f;
    float minZ = 0.0f, maxZ = 0.0f;
};

class Viewport3D {
public:
    static constexpr size_t kMaxLights = 16;
    static constexpr size_t kMaxCameras = 5;
    static constexpr float kDefaultFront = 10.0f;
    static constexpr float kDefaultBack = 200.0f;
    // What the device answers a scene begun on a lost surface.
    static constexpr uint32_t kSurfaceLost = 0x887601C2;

    explicit Viewport3D(Device3D* device = nullptr);
    ~Viewport3D();
    Viewport3D(const Viewport3D&) = delete;
    Viewport3D& operator=(const Viewport3D&) = delete;

    // Takes the rectangle (its update and clear lists start as it), sets the
    // default transforms and render state, makes the background material and
    // makes the default camera current.
    uint32_t Setup(const cRZRect& rect);
    const cRZRect& ScreenRect() const { return rect_; }
    const ViewportData& Data() const { return data_; }
    // Keeps the origin.
    uint32_t SetSize(int32_t width, int32_t height);
    // Half width over half height; 1 for an empty rectangle.
    float Aspect() const;
    Device3D* GetDevice() const { return device_; }
    uint32_t LastResult() const { return lastResult_; }

    // A scene on a lost surface restores the surfaces and tries once more;
    // then the viewport becomes the device's current one and, when asked,
    // its render state is applied.
    uint32_t BeginScene(bool applyState);
    uint32_t EndScene();
    bool InScene() const { return inScene_; }
    // Gives the device this viewport's rectangle, lights, ambient colour and
    // transforms; draws call it first.
    void MakeCurrent();

    // The viewport holds one reference to each light it has.
    uint32_t AddLight(Light* light);
    uint32_t RemoveLight(Light* light);
    void RemoveAllLights();
    size_t LightCount() const { return lights_.size(); }
    bool HasLight(const Light* light) const;
    // Replaces the lights by those of the records: point, spot and
    // directional records make lights (spot angles in degrees), an ambient
    // record sets the ambient colour, a record of another type is skipped.
    // Stops at the first light refused.
    uint32_t SetLights(const std::vector<LightRecord>& records);
    Light* GetLight(size_t i) const { return lights_.at(i); }

    // Components 0..1 (clamped), each times 255 into an A, R, G, B word.
    void SetAmbientColor(float r, float g, float b, float a);
    void SetAmbientRGBA(uint32_t argb) { ambient_ = argb; }
    uint32_t GetAmbientRGBA() const { return ambient_; }
    // Replaces the background material's diffuse colour.
    void SetBackgroundColor(float r, float g, float b, float a);
    const Material* GetBackgroundMaterial() const { return background_; }

    // Copies the state; the next ApplyRenderState sends it only when a field
    // differs from what was there.
    void SetRenderState(const ViewportRenderState& state);
    const ViewportRenderState& GetRenderState() const { return state_; }
    void ResetRenderState();
    // Sends the state and the view and projection transforms to the device
    // when the state changed since the last time.
    uint32_t ApplyRenderState();

    // A camera with two references: the table's and the caller's.
    uint32_t CreateCamera(const Vector3& position, const Vector3& direction, float front, float back,
                          float fieldOfView, Camera** out);
    // Takes the camera out of the table and drops the table's reference;
    // when it was current the default camera takes over.
    uint32_t ReleaseCamera(Camera* camera);
    // Null makes the default camera current; a camera not in this
    // viewport's table is refused with 0x9B0B000F.
    uint32_t SetCurrentCamera(Camera* camera);
    Camera* GetCurrentCamera() const { return current_; }
    Camera* GetDefaultCamera() const { return default_; }
    size_t CameraCount() const { return cameras_.size(); }

    // Ignored (0) when a camera is given that is not the current one.
    uint32_t SetViewTransform(const Transform& transform, const Camera* camera);
    uint32_t SetProjectionTransform(const Transform& transform, const Camera* camera);
    void SetTransforms(const Transform& view, const Transform& projection, const Transform& world);
    const Transform& ViewTransform() const { return view_; }
    const Transform& ProjectionTransform() const { return projection_; }
    const Transform& WorldTransform() const { return world_; }
    // Pushes `transform` then the top of the stack and makes it the world
    // transform; Pop makes the new top the world transform (the bottom
    // entry stays).
    uint32_t PushTransform(const Transform& transform);
    uint32_t PopTransform();
    size_t TransformDepth() const { return stack_.size(); }
    // Clip space to this viewport's pixels.
    Transform ScreenTransform() const;

    // Rectangles drawn this frame (update), last frame (clear), and a list
    // the caller keeps across frames.
    void SetTrackDirty(bool on) { trackDirty_ = on; }
    bool TracksDirty() const { return trackDirty_; }
    void AddDirtyRect(const cRZRect& rect) { update_.AddRect(rect); }
    cGZDirtyRegion& GetUpdateRects() { return update_; }
    cGZDirtyRegion& GetClearRects() { return clear_; }
    cGZDirtyRegion& GetKeptRects() { return kept_; }
    void OffsetClearRects(int32_t dx, int32_t dy) { clear_.Offset(dx, dy); }
    // The clear list is emptied and exchanged with the update list.
    void EndFrame();

private:
    uint32_t Result(uint32_t code) { return lastResult_ = code; }
    void SetWorld(const Transform& world);
    Light* MakeLight(int32_t type, uint32_t& code);

    Device3D* device_;
    uint32_t lastResult_ = 0;
    bool inScene_ = false;
    bool trackDirty_ = true;
    ViewportData data_;
    cRZRect rect_{2147483647, 2147483647, -2147483647 - 1, -2147483647 - 1};
    ViewportRenderState state_;
    bool stateChanged_ = true;
    Transform view_, projection_, world_;
    std::vector<Transform> stack_;
    std::vector<Light*> lights_;
    std::vector<Camera*> cameras_;
    Camera* current_ = nullptr;
    Camera* default_ = nullptr;
    Material* background_ = nullptr;
    uint32_t ambient_ = 0;
    cGZDirtyRegion update_, clear_, kept_;
};
