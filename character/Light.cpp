#include "character/Light.h"

#include <cmath>

namespace {

void Copy(const Vector3& v, float (&out)[3]) {
    out[0] = v.x;
    out[1] = v.y;
    out[2] = v.z;
}

}  // namespace

Light::Light(Kind kind) : direction_(Normalised({100, 100, 0})) {
    block_.kind = kind;
    Copy(position_, block_.position);
    Copy({-direction_.x, -direction_.y, -direction_.z}, block_.direction);
    UpdateBlockColor();
}

int32_t Light::Release() {
    const int32_t left = --refs_;
    if (left <= 0) delete this;
    return left;
}

uint32_t Light::SwapTag(uint32_t value) {
    const uint32_t previous = tag_;
    tag_ = value;
    return previous;
}

void Light::SetPositionAndDirection(const Vector3& position, const Vector3& direction) {
    position_ = position;
    direction_ = Normalised(direction);
    Copy(position_, block_.position);
    Copy(direction_, block_.direction);
}

void Light::SetDirection(const Vector3& direction) {
    direction_ = Normalised(direction);
    Copy(direction_, block_.direction);
}

void Light::SetColor(float r, float g, float b) {
    color_[0] = r, color_[1] = g, color_[2] = b, color_[3] = 1.0f;
    UpdateBlockColor();
}

void Light::SetIntensity(float intensity) {
    intensity_ = intensity;
    UpdateBlockColor();
}

void Light::SetSpotCone(float theta, float phi, float falloff) {
    block_.theta = theta;
    block_.phi = phi;
    block_.falloff = falloff;
}

void Light::UpdateBlockColor() {
    block_.color = {color_[0] * intensity_, color_[1] * intensity_, color_[2] * intensity_, color_[3]};
}
