#include "character/Viewport3D.h"

#include "character/Camera.h"
#include "character/Device3D.h"
#include "character/DirectXErrorText.h"
#include "character/Light.h"
#include "character/Material.h"

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

platform::Soft3DMatrix ToDevice(const Transform& t) {
    platform::Soft3DMatrix m;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) m.m[i][j] = t.m[i][j];
    return m;
}

MaterialDescription BackgroundDescription() {
    MaterialDescription d;
    d.diffuse = {0, 0, 1, 0.5f};
    d.ambient = {0, 0, 0.5f, 0.5f};
    d.specular = {0, 0, 1, 0.5f};
    d.emissive = {0, 0, 1, 0.5f};
    d.power = 20.0f;
    d.rampSize = 1;
    return d;
}

}  // namespace

Viewport3D::Viewport3D(Device3D* device) : device_(device) {}

Viewport3D::~Viewport3D() {
    // Deleted other than through the device: leave no stale entry behind.
    if (device_) device_->ForgetViewport(this);
    RemoveAllLights();
    for (Camera* camera : cameras_) {
        camera->Detach();
        camera->Release();
    }
    if (background_) background_->Release();
}

uint32_t Viewport3D::Setup(const cRZRect& rect) {
    rect_ = rect;
    data_.x = rect.left;
    data_.y = rect.top;
    data_.width = rect.right - rect.left;
    data_.height = rect.bottom - rect.top;
    data_.scaleX = static_cast<float>(data_.width) / 2.0f;
    data_.scaleY = static_cast<float>(data_.height) / 2.0f;
    update_.Clear();
    clear_.Clear();
    update_.AddRect(rect);
    clear_.AddRect(rect);
    if (stack_.empty()) stack_.push_back(kIdentityTransform);
    SetTransforms(MakeTranslationTransform({0, 0, 400}), DefaultProjection(), kIdentityTransform);
    ResetRenderState();
    ApplyRenderState();
    if (!background_) {
        background_ = new (std::nothrow) Material(BackgroundDescription(), "background", nullptr);
        if (!background_) return Result(kDDDOutOfMemory);
        background_->Restore();
    }
    if (!default_) {
        Camera* camera = nullptr;
        const uint32_t code = CreateCamera(kDefaultCameraPosition, kDefaultCameraDirection, kDefaultFront,
                                           kDefaultBack, kDefaultCameraFieldOfView, &camera);
        if (code) return Result(code);
        camera->Release();  // the table keeps it
        default_ = camera;
    }
    SetCurrentCamera(default_);
    return Result(kDDDOk);
}

uint32_t Viewport3D::SetSize(int32_t width, int32_t height) {
    if (width < 0 || height < 0) return Result(kDDDBadParameter);
    data_.width = width;
    data_.height = height;
    data_.scaleX = static_cast<float>(width) / 2.0f;
    data_.scaleY = static_cast<float>(height) / 2.0f;
    rect_ = {data_.x, data_.y, data_.x + width, data_.y + height};
    return Result(kDDDOk);
}

float Viewport3D::Aspect() const {
    const int32_t width = rect_.right - rect_.left, height = rect_.bottom - rect_.top;
    if (width <= 0 || height <= 0) return 1.0f;
    return static_cast<float>(width) / static_cast<float>(height);
}

uint32_t Viewport3D::BeginScene(bool applyState) {
    if (!device_) return Result(kDDDNotInitialized);
    inScene_ = true;
    uint32_t code = device_->BeginDeviceScene();
    if (code == kSurfaceLost) {
        device_->RestoreSurfaces();
        code = device_->BeginDeviceScene();
    }
    if (code) return Result(code);
    MakeCurrent();
    if (applyState) ApplyRenderState();
    return Result(kDDDOk);
}

uint32_t Viewport3D::EndScene() {
    if (!device_) return Result(kDDDNotInitialized);
    const uint32_t code = device_->EndDeviceScene();
    if (!code) inScene_ = false;
    return Result(code);
}

void Viewport3D::MakeCurrent() {
    if (!device_ || !device_->IsInitialized()) return;
    platform::Soft3DDevice& d = device_->Soft3D();
    d.SetViewport({rect_.left, rect_.top, rect_.right, rect_.bottom});
    platform::Soft3DLight blocks[kMaxLights];
    for (size_t i = 0; i < lights_.size(); ++i) blocks[i] = lights_[i]->Block();
    d.SetLights(blocks, lights_.size());
    d.SetAmbient(ambient_);
    d.SetTransform(platform::Soft3DTransform::View, ToDevice(view_));
    d.SetTransform(platform::Soft3DTransform::Projection, ToDevice(projection_));
    d.SetTransform(platform::Soft3DTransform::World, ToDevice(world_));
    d.SetDepth(state_.zEnable, state_.zEnable);
}

uint32_t Viewport3D::AddLight(Light* light) {
    if (!light) return Result(kDDDNullPointer);
    if (lights_.size() >= kMaxLights) return Result(kDDDLightTableFull);
    light->AddRef();
    lights_.push_back(light);
    return Result(kDDDOk);
}

uint32_t Viewport3D::RemoveLight(Light* light) {
    const auto it = std::find(lights_.begin(), lights_.end(), light);
    if (it == lights_.end()) return Result(kDDDLightNotInViewport);
    lights_.erase(it);
    light->Release();
    return Result(kDDDOk);
}

void Viewport3D::RemoveAllLights() {
    std::vector<Light*> lights;
    lights.swap(lights_);
    for (Light* light : lights) light->Release();
}

bool Viewport3D::HasLight(const Light* light) const {
    return std::find(lights_.begin(), lights_.end(), light) != lights_.end();
}

// A light of the record's type with the caller's reference: from the
// device's light table when there is a device.
Light* Viewport3D::MakeLight(int32_t type, uint32_t& code) {
    Light* light = nullptr;
    code = kDDDOk;
    if (device_ && device_->IsInitialized()) {
        switch (static_cast<LightRecordType>(type)) {
            case LightRecordType::Point: code = device_->CreatePointLight(&light, false); break;
            case LightRecordType::Spot: code = device_->CreateSpotLight(&light, false); break;
            default: code = device_->CreateDirectionalLight(&light, false); break;
        }
        return light;
    }
    switch (static_cast<LightRecordType>(type)) {
        case LightRecordType::Point: light = new (std::nothrow) PointLight; break;
        case LightRecordType::Spot: light = new (std::nothrow) SpotLight; break;
        default: light = new (std::nothrow) DirectionalLight; break;
    }
    if (!light) code = kDDDOutOfMemory;
    return light;
}

uint32_t Viewport3D::SetLights(const std::vector<LightRecord>& records) {
    RemoveAllLights();
    constexpr float kRadiansPerDegree = 3.14159265f / 180.0f;
    for (const LightRecord& record : records) {
        switch (static_cast<LightRecordType>(record.type)) {
            case LightRecordType::Point:
            case LightRecordType::Spot:
            case LightRecordType::Directional: break;
            case LightRecordType::Ambient:
                SetAmbientColor(record.color[0], record.color[1], record.color[2], record.intensity);
                continue;
            default: continue;
        }
        uint32_t code = kDDDOk;
        Light* light = MakeLight(record.type, code);
        if (!light) return Result(code ? code : kDDDOutOfMemory);
        light->SetPositionAndDirection({record.position[0], record.position[1], record.position[2]},
                                       {record.direction[0], record.direction[1], record.direction[2]});
        light->SetColor(record.color[0], record.color[1], record.color[2]);
        light->SetIntensity(record.intensity);
        if (light->GetKind() == Light::Kind::Spot)
            light->SetSpotCone(record.innerAngle * kRadiansPerDegree, record.outerAngle * kRadiansPerDegree, 0.0f);
        code = AddLight(light);
        light->Release();  // the viewport holds it now, or nothing but the device's table does
        if (code) return Result(code);
    }
    return Result(kDDDOk);
}

void Viewport3D::SetAmbientColor(float r, float g, float b, float a) {
    const auto byte = [](float v) {
        return static_cast<uint32_t>(std::isnan(v) ? 0.0f : std::clamp(v, 0.0f, 1.0f) * 255.0f);
    };
    ambient_ = byte(a) << 24 | byte(r) << 16 | byte(g) << 8 | byte(b);
}

void Viewport3D::SetBackgroundColor(float r, float g, float b, float a) {
    if (!background_) return;
    MaterialDescription d = background_->Description();
    d.diffuse = {r, g, b, a};
    background_->SetDescription(d);
}

void Viewport3D::SetRenderState(const ViewportRenderState& state) {
    if (state == state_) return;
    state_ = state;
    stateChanged_ = true;
}

void Viewport3D::ResetRenderState() {
    state_ = ViewportRenderState{};
    stateChanged_ = true;
}

uint32_t Viewport3D::ApplyRenderState() {
    if (!stateChanged_) return Result(kDDDOk);
    stateChanged_ = false;
    if (!device_ || !device_->IsInitialized()) return Result(kDDDOk);
    device_->SendRenderState(state_);
    platform::Soft3DDevice& d = device_->Soft3D();
    d.SetTransform(platform::Soft3DTransform::View, ToDevice(view_));
    d.SetTransform(platform::Soft3DTransform::Projection, ToDevice(projection_));
    return Result(kDDDOk);
}

uint32_t Viewport3D::CreateCamera(const Vector3& position, const Vector3& direction, float front, float back,
                                  float fieldOfView, Camera** out) {
    if (!out) return Result(kDDDNullPointer);
    *out = nullptr;
    if (cameras_.size() >= kMaxCameras) return Result(kDDDOutOfMemory);
    auto* camera = new (std::nothrow) Camera(this, front, back, fieldOfView);
    if (!camera) return Result(kDDDOutOfMemory);
    // Not yet in the table, so not current: placing it touches no transform.
    if (const uint32_t code = camera->Place(position, direction)) {
        camera->Release();
        return Result(code);
    }
    camera->AddRef();
    cameras_.push_back(camera);
    *out = camera;
    return Result(kDDDOk);
}

uint32_t Viewport3D::ReleaseCamera(Camera* camera) {
    const auto it = std::find(cameras_.begin(), cameras_.end(), camera);
    if (it == cameras_.end()) return Result(kDDDBadParameter);
    cameras_.erase(it);
    if (camera == default_) default_ = nullptr;
    const bool wasCurrent = camera == current_;
    camera->Detach();
    camera->Release();
    if (wasCurrent) SetCurrentCamera(nullptr);
    return Result(kDDDOk);
}

uint32_t Viewport3D::SetCurrentCamera(Camera* camera) {
    if (camera && std::find(cameras_.begin(), cameras_.end(), camera) == cameras_.end())
        return Result(kDDDBadParameter);
    current_ = camera ? camera : default_;
    if (current_)
        view_ = current_->InversePlacement();
    else
        view_ = MakeTranslationTransform({0, 0, 400});
    view_.kind = kTransformGeneral;
    if (camera) projection_ = camera->Projection(Aspect());
    return Result(kDDDOk);
}

uint32_t Viewport3D::SetViewTransform(const Transform& transform, const Camera* camera) {
    if (camera && camera != current_) return Result(kDDDOk);
    view_ = General(transform);
    return Result(kDDDOk);
}

uint32_t Viewport3D::SetProjectionTransform(const Transform& transform, const Camera* camera) {
    if (camera && camera != current_) return Result(kDDDOk);
    projection_ = General(transform);
    return Result(kDDDOk);
}

void Viewport3D::SetTransforms(const Transform& view, const Transform& projection, const Transform& world) {
    view_ = General(view);
    projection_ = General(projection);
    SetWorld(General(world));
}

void Viewport3D::SetWorld(const Transform& world) {
    world_ = world;
    if (device_ && device_->IsInitialized())
        device_->Soft3D().SetTransform(platform::Soft3DTransform::World, ToDevice(world_));
}

uint32_t Viewport3D::PushTransform(const Transform& transform) {
    if (stack_.empty()) stack_.push_back(kIdentityTransform);
    const Transform top = MultiplyTransforms(transform, stack_.back());
    stack_.push_back(top);
    SetWorld(top);
    return Result(kDDDOk);
}

uint32_t Viewport3D::PopTransform() {
    if (stack_.size() > 1) stack_.pop_back();
    SetWorld(stack_.empty() ? kIdentityTransform : stack_.back());
    return Result(kDDDOk);
}

Transform Viewport3D::ScreenTransform() const {
    Transform t;
    t.kind = kTransformGeneral;
    const float sx = data_.scaleX, sy = data_.scaleY;
    t.m[0][0] = sx;
    t.m[1][1] = -sy;
    t.m[2][2] = 0;
    t.m[3][0] = static_cast<float>(data_.x) + sx;
    t.m[3][1] = static_cast<float>(data_.y) + sy;
    t.m[3][3] = 1;
    return t;
}

void Viewport3D::EndFrame() {
    clear_.Clear();
    std::swap(clear_, update_);
}
