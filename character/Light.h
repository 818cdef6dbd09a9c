// A light of the 3D layer: a reference-counted holder of the light block the
// software device draws with, plus the light's own position and direction.
// The four kinds differ only in the block's type.
#pragma once

#include "platform/Soft3DDevice.h"
#include "tarn/Transform.h"

#include <cstdint>

class Light {
public:
    using Kind = platform::Soft3DLightKind;

    virtual ~Light() = default;
    Light(const Light&) = delete;
    Light& operator=(const Light&) = delete;

    void AddRef() { ++refs_; }
    // Deletes the light when the last reference goes; answers what is left.
    int32_t Release();
    int32_t RefCount() const { return refs_; }

    Kind GetKind() const { return block_.kind; }
    uint32_t SwapTag(uint32_t value);

    // The direction is kept normalised; the block gets both as given.
    void SetPositionAndDirection(const Vector3& position, const Vector3& direction);
    void SetDirection(const Vector3& direction);
    void SetColor(float r, float g, float b);
    void SetIntensity(float intensity);
    // Full inner and outer cone angles in radians.
    void SetSpotCone(float theta, float phi, float falloff);

    const platform::Soft3DLight& Block() const { return block_; }
    const Vector3& Position() const { return position_; }
    const Vector3& Direction() const { return direction_; }
    float Intensity() const { return intensity_; }

protected:
    explicit Light(Kind kind);

private:
    void UpdateBlockColor();

    int32_t refs_ = 1;
    uint32_t tag_ = 0;
    float color_[4] = {1, 1, 1, 1};
    float intensity_ = 1.0f;
    Vector3 position_{-100, -100, 0};
    Vector3 direction_;
    platform::Soft3DLight block_;
};

class DirectionalLight : public Light {
public:
    DirectionalLight() : Light(Kind::Directional) {}
};

class PointLight : public Light {
public:
    PointLight() : Light(Kind::Point) {}
};

class ParallelPointLight : public Light {
public:
    ParallelPointLight() : Light(Kind::ParallelPoint) {}
};

class SpotLight : public Light {
public:
    SpotLight() : Light(Kind::Spot) {}
};
