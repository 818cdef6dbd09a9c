// A viewport of the 3D layer: a screen rectangle with its view and
// projection transforms, the lights attached to it (up to 16) and its
// cameras (up to 5, the default camera among them).
#pragma once

#include "character/LightSet.h"
#include "framework/cRZRect.h"
#include "tarn/Transform.h"

#include <cstdint>
#include <vector>

class Camera;
class Light;

class Viewport3D {
public:
    static constexpr size_t kMaxLights = 16;
    static constexpr size_t kMaxCameras = 5;
    static constexpr float kDefaultFront = 10.0f;
    static constexpr float kDefaultBack = 200.0f;

    Viewport3D() = default;
    ~Viewport3D();
    Viewport3D(const Viewport3D&) = delete;
    Viewport3D& operator=(const Viewport3D&) = delete;

    // Takes the rectangle, sets the default transforms and makes the
    // default camera current.
    uint32_t Setup(const cRZRect& rect);
    const cRZRect& ScreenRect() const { return rect_; }
    // Half width over half height; 1 for an empty rectangle.
    float Aspect() const;

    // The viewport holds one reference to each light it has.
    uint32_t AddLight(Light* light);
    uint32_t RemoveLight(Light* light);
    void RemoveAllLights();
    size_t LightCount() const { return lights_.size(); }
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

private:
    cRZRect rect_;
    Transform view_, projection_, world_;
    std::vector<Light*> lights_;
    std::vector<Camera*> cameras_;
    Camera* current_ = nullptr;
    Camera* default_ = nullptr;
    uint32_t ambient_ = 0;
};
