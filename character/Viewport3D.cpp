#include "character/Viewport3D.h"

#include "character/Camera.h"
#include "character/DirectXErrorText.h"
#include "character/Light.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace {

Transform General(Transform t) {
    t.kind = kTransformGeneral;
    return t;
}

Transform DefaultProjection() {
    Transform p;
    p.kind = kTransformGeneral;
    p.m[0][0] = 2, p.m[1][1] = 2;
    p.m[2][2] = 1, p.m[2][3] = 1;
    p.m[3][2] = -1, p.m[3][3] = 0;
    return p;
}

}  // namespace

Viewport3D::~Viewport3D() {
    RemoveAllLights();
    for (Camera* camera : cameras_) {
        camera->Detach();
        camera->Release();
    }
}

uint32_t Viewport3D::Setup(const cRZRect& rect) {
    rect_ = rect;
    SetTransforms(MakeTranslationTransform({0, 0, 400}), DefaultProjection(), kIdentityTransform);
    if (!default_) {
        Camera* camera = nullptr;
        const uint32_t code = CreateCamera(kDefaultCameraPosition, kDefaultCameraDirection, kDefaultFront,
                                           kDefaultBack, kDefaultCameraFieldOfView, &camera);
        if (code) return code;
        camera->Release();  // the table keeps it
        default_ = camera;
    }
    SetCurrentCamera(default_);
    return kDDDOk;
}

float Viewport3D::Aspect() const {
    const int32_t width = rect_.right - rect_.left, height = rect_.bottom - rect_.top;
    if (width <= 0 || height <= 0) return 1.0f;
    return static_cast<float>(width) / static_cast<float>(height);
}

uint32_t Viewport3D::AddLight(Light* light) {
    if (!light) return kDDDNullPointer;
    if (lights_.size() >= kMaxLights) return kDDDLightTableFull;
    light->AddRef();
    lights_.push_back(light);
    return kDDDOk;
}

uint32_t Viewport3D::RemoveLight(Light* light) {
    const auto it = std::find(lights_.begin(), lights_.end(), light);
    if (it == lights_.end()) return kDDDLightNotInViewport;
    lights_.erase(it);
    light->Release();
    return kDDDOk;
}

void Viewport3D::RemoveAllLights() {
    std::vector<Light*> lights;
    lights.swap(lights_);
    for (Light* light : lights) light->Release();
}

uint32_t Viewport3D::SetLights(const std::vector<LightRecord>& records) {
    RemoveAllLights();
    constexpr float kRadiansPerDegree = 3.14159265f / 180.0f;
    for (const LightRecord& record : records) {
        Light* light = nullptr;
        switch (static_cast<LightRecordType>(record.type)) {
            case LightRecordType::Point: light = new (std::nothrow) PointLight; break;
            case LightRecordType::Spot: light = new (std::nothrow) SpotLight; break;
            case LightRecordType::Directional: light = new (std::nothrow) DirectionalLight; break;
            case LightRecordType::Ambient:
                SetAmbientColor(record.color[0], record.color[1], record.color[2], record.intensity);
                continue;
            default: continue;
        }
        if (!light) return kDDDOutOfMemory;
        light->SetPositionAndDirection({record.position[0], record.position[1], record.position[2]},
                                       {record.direction[0], record.direction[1], record.direction[2]});
        light->SetColor(record.color[0], record.color[1], record.color[2]);
        light->SetIntensity(record.intensity);
        if (light->GetKind() == Light::Kind::Spot)
            light->SetSpotCone(record.innerAngle * kRadiansPerDegree, record.outerAngle * kRadiansPerDegree, 0.0f);
        const uint32_t code = AddLight(light);
        light->Release();  // the viewport holds it now, or nothing does
        if (code) return code;
    }
    return kDDDOk;
}

void Viewport3D::SetAmbientColor(float r, float g, float b, float a) {
    const auto byte = [](float v) {
        return static_cast<uint32_t>(std::isnan(v) ? 0.0f : std::clamp(v, 0.0f, 1.0f) * 255.0f);
    };
    ambient_ = byte(a) << 24 | byte(r) << 16 | byte(g) << 8 | byte(b);
}

uint32_t Viewport3D::CreateCamera(const Vector3& position, const Vector3& direction, float front, float back,
                                  float fieldOfView, Camera** out) {
    if (!out) return kDDDNullPointer;
    *out = nullptr;
    if (cameras_.size() >= kMaxCameras) return kDDDOutOfMemory;
    auto* camera = new (std::nothrow) Camera(this, front, back, fieldOfView);
    if (!camera) return kDDDOutOfMemory;
    // Not yet in the table, so not current: placing it touches no transform.
    if (const uint32_t code = camera->Place(position, direction)) {
        camera->Release();
        return code;
    }
    camera->AddRef();
    cameras_.push_back(camera);
    *out = camera;
    return kDDDOk;
}

uint32_t Viewport3D::ReleaseCamera(Camera* camera) {
    const auto it = std::find(cameras_.begin(), cameras_.end(), camera);
    if (it == cameras_.end()) return kDDDBadParameter;
    cameras_.erase(it);
    if (camera == default_) default_ = nullptr;
    const bool wasCurrent = camera == current_;
    camera->Detach();
    camera->Release();
    if (wasCurrent) SetCurrentCamera(nullptr);
    return kDDDOk;
}

uint32_t Viewport3D::SetCurrentCamera(Camera* camera) {
    if (camera && std::find(cameras_.begin(), cameras_.end(), camera) == cameras_.end()) return kDDDBadParameter;
    current_ = camera ? camera : default_;
    if (current_)
        view_ = current_->InversePlacement();
    else
        view_ = MakeTranslationTransform({0, 0, 400});
    view_.kind = kTransformGeneral;
    if (camera) projection_ = camera->Projection(Aspect());
    return kDDDOk;
}

uint32_t Viewport3D::SetViewTransform(const Transform& transform, const Camera* camera) {
    if (camera && camera != current_) return kDDDOk;
    view_ = General(transform);
    return kDDDOk;
}

uint32_t Viewport3D::SetProjectionTransform(const Transform& transform, const Camera* camera) {
    if (camera && camera != current_) return kDDDOk;
    projection_ = General(transform);
    return kDDDOk;
}

void Viewport3D::SetTransforms(const Transform& view, const Transform& projection, const Transform& world) {
    view_ = General(view);
    projection_ = General(projection);
    world_ = General(world);
}
