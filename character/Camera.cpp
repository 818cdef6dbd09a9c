#include "character/Camera.h"

#include "character/DirectXErrorText.h"
#include "character/Viewport3D.h"

#include <algorithm>
#include <cmath>

Camera::Camera(Viewport3D* viewport, float front, float back, float fieldOfView)
    : viewport_(viewport), front_(front), back_(back), fieldOfView_(fieldOfView) {}

int32_t Camera::Release() {
    const int32_t left = --refs_;
    if (left <= 0) delete this;
    return left;
}

uint32_t Camera::Place(const Vector3& position, const Vector3& direction) {
    const float length = std::sqrt(direction.x * direction.x + direction.y * direction.y + direction.z * direction.z);
    if (!(length > 0.0f) || !std::isfinite(length)) return kDDDBadParameter;
    if (!std::isfinite(position.x) || !std::isfinite(position.y) || !std::isfinite(position.z)) return kDDDBadParameter;
    const float pitch = std::asin(std::clamp(-direction.y / length, -1.0f, 1.0f));
    // Looking straight up or down leaves no horizontal part: no turn then.
    const float horizontal = std::sqrt(direction.x * direction.x + direction.z * direction.z);
    float yaw = 0.0f;
    if (horizontal > 0.0f) {
        yaw = std::acos(std::clamp(direction.z / horizontal, -1.0f, 1.0f));
        if (direction.x < 0.0f) yaw = -yaw;
    }
    const Transform placement = MultiplyTransforms(
        MultiplyTransforms(MakeRotationMatrix(0, pitch), MakeRotationMatrix(1, yaw)), MakeTranslationTransform(position));
    Transform inverse;
    inverse.kind = kTransformGeneral;
    try {
        Invert(placement.m, inverse.m);
    } catch (const char*) {
        return kDDDBadParameter;
    }
    placement_ = placement;
    inverse_ = inverse;
    position_ = position;
    direction_ = direction;
    pitch_ = pitch;
    yaw_ = yaw;
    if (viewport_) viewport_->SetViewTransform(inverse_, this);
    return kDDDOk;
}

uint32_t Camera::SetProjection(float front, float back, float fieldOfView) {
    if (front == back) return kDDDBadParameter;
    front_ = front;
    back_ = back;
    fieldOfView_ = fieldOfView;
    if (viewport_) viewport_->SetProjectionTransform(Projection(viewport_->Aspect()), this);
    return kDDDOk;
}

Transform Camera::Projection(float aspect) const {
    const float t = std::tan(fieldOfView_ / 2.0f);
    const float h = aspect > 1.0f ? 1.0f : 1.0f / aspect;
    const float g = aspect > 1.0f ? aspect : 1.0f;
    const float q = back_ * t / (back_ - front_);
    Transform p;
    p.kind = kTransformGeneral;
    p.m[0][0] = h;
    p.m[1][1] = g;
    p.m[2][2] = q;
    p.m[2][3] = t;
    p.m[3][2] = -q * front_;
    p.m[3][3] = 0.0f;
    return p;
}
