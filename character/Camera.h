// A camera gives its viewport the view and projection transforms from a
// position, a direction, near and far distances and a field of view. It is
// reference counted; the viewport's camera table holds one reference, so a
// creator's release never leaves a freed camera in the table.
#pragma once

#include "tarn/Transform.h"

#include <cstdint>

class Viewport3D;

class Camera {
public:
    Camera(Viewport3D* viewport, float front, float back, float fieldOfView);
    virtual ~Camera() = default;
    Camera(const Camera&) = delete;
    Camera& operator=(const Camera&) = delete;

    void AddRef() { ++refs_; }
    int32_t Release();
    int32_t RefCount() const { return refs_; }

    // Fails with 0x9B0B000F on a direction of no length or a placement that
    // cannot be inverted; the previous placement then stays.
    uint32_t Place(const Vector3& position, const Vector3& direction);
    // Fails with 0x9B0B000F when front and back are equal; nothing changes.
    uint32_t SetProjection(float front, float back, float fieldOfView);
    // The projection for a viewport whose half width over half height is
    // `aspect`: the field of view spans the larger side, depth runs 0 to 1.
    Transform Projection(float aspect) const;

    const Transform& Placement() const { return placement_; }
    const Transform& InversePlacement() const { return inverse_; }
    const Vector3& Position() const { return position_; }
    const Vector3& Direction() const { return direction_; }
    float Yaw() const { return yaw_; }
    float Pitch() const { return pitch_; }
    float Front() const { return front_; }
    float Back() const { return back_; }
    float FieldOfView() const { return fieldOfView_; }

    Viewport3D* GetViewport() const { return viewport_; }
    void Detach() { viewport_ = nullptr; }

private:
    Viewport3D* viewport_;
    Transform placement_, inverse_;
    Vector3 position_, direction_{0, 0, 1};
    float yaw_ = 0, pitch_ = 0;
    float front_, back_, fieldOfView_;
    int32_t refs_ = 1;
};
