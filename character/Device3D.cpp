#include "character/Device3D.h"

#include "character/DirectXErrorText.h"
#include "character/Light.h"
#include "character/Material.h"
#include "character/MaterialLibrary.h"
#include "character/TextureCache.h"
#include "character/Viewport3D.h"
#include "platform/Clock.h"

#include <algorithm>
#include <cstdio>
#include <new>

Device3D::Device3D()
    : clock_(platform::TimeMs), debug_([](const std::string& text) { std::fputs(text.c_str(), stderr); }) {}

Device3D::~Device3D() {
    for (Light* light : lights_) light->Release();
    lights_.clear();
    std::vector<Viewport3D*> viewports;
    viewports.swap(viewports_);
    for (Viewport3D* viewport : viewports) delete viewport;
    materials_.reset();
    textures_.reset();
    if (anim_) anim_->SetViewports(nullptr);
}

uint32_t Device3D::Init(AnimDevice& anim) {
    if (anim_) return Result(kDDDBadParameter);
    if (!anim.GetRenderTarget()) return Result(kDDDNotInitialized);
    textures_.reset(new (std::nothrow) TextureCache(anim));
    if (!textures_) return Result(kDDDOutOfMemory);
    materials_.reset(new (std::nothrow) MaterialLibrary(*textures_));
    if (!materials_) return Result(kDDDOutOfMemory);
    if (const uint32_t code = textures_->ChooseFormat()) return Result(code);
    anim_ = &anim;
    target_ = anim.GetRenderTarget();
    depth_ = anim.GetZBuffer();
    width_ = target_->Width();
    height_ = target_->Height();
    Soft3D().SetTarget(target_, depth_);
    anim.SetViewports(this);
    return Result(kDDDOk);
}

uint32_t Device3D::CreateViewport(const cRZRect* rect, Viewport3D** out) {
    if (!out) return Result(kDDDNullPointer);
    *out = nullptr;
    if (!anim_) return Result(kDDDNotInitialized);
    if (viewports_.size() >= kMaxViewports) return Result(kDDDOutOfMemory);
    auto* viewport = new (std::nothrow) Viewport3D(this);
    if (!viewport) return Result(kDDDOutOfMemory);
    const cRZRect whole{0, 0, width_, height_};
    if (const uint32_t code = viewport->Setup(rect ? *rect : whole)) {
        delete viewport;
        return Result(code);
    }
    viewports_.push_back(viewport);
    *out = viewport;
    return Result(kDDDOk);
}

void Device3D::DeleteViewport(Viewport3D* viewport) {
    const auto it = std::find(viewports_.begin(), viewports_.end(), viewport);
    if (it == viewports_.end()) return;
    viewports_.erase(it);
    delete viewport;
}

void Device3D::ForgetViewport(Viewport3D* viewport) {
    viewports_.erase(std::remove(viewports_.begin(), viewports_.end(), viewport), viewports_.end());
}

uint32_t Device3D::AddLight(Light* light, Light** out, bool addToViewports) {
    if (!out) {
        delete light;
        return Result(kDDDNullPointer);
    }
    *out = nullptr;
    if (!light) return Result(kDDDOutOfMemory);
    if (lights_.size() >= kMaxLights) {
        // Make room by letting go of a light nobody but the table holds.
        const auto unused = std::find_if(lights_.begin(), lights_.end(), [](Light* l) { return l->RefCount() <= 1; });
        if (unused == lights_.end()) {
            light->Release();
            return Result(kDDDOutOfMemory);
        }
        (*unused)->Release();
        lights_.erase(unused);
    }
    light->SetColor(1, 1, 1);
    light->SetIntensity(1);
    light->AddRef();  // the table's
    lights_.push_back(light);
    if (addToViewports) {
        for (Viewport3D* viewport : viewports_) {
            if (const uint32_t code = viewport->AddLight(light); code) {
                for (Viewport3D* v : viewports_) v->RemoveLight(light);
                lights_.pop_back();
                light->Release();
                light->Release();
                return Result(code);
            }
        }
    }
    *out = light;
    return Result(kDDDOk);
}

uint32_t Device3D::CreateDirectionalLight(Light** out, bool addToViewports) {
    return AddLight(new (std::nothrow) DirectionalLight, out, addToViewports);
}

uint32_t Device3D::CreatePointLight(Light** out, bool addToViewports) {
    return AddLight(new (std::nothrow) PointLight, out, addToViewports);
}

uint32_t Device3D::CreateParallelPointLight(Light** out, bool addToViewports) {
    return AddLight(new (std::nothrow) ParallelPointLight, out, addToViewports);
}

uint32_t Device3D::CreateSpotLight(Light** out, bool addToViewports) {
    return AddLight(new (std::nothrow) SpotLight, out, addToViewports);
}

uint32_t Device3D::SetRenderTarget(platform::Surface* color, platform::Surface* depth) {
    if (!anim_) return Result(kDDDNotInitialized);
    if (!color) return Result(kDDDNullPointer);
    const uint32_t start = clock_();
    if (!Soft3D().SetTarget(color, depth)) return Result(kDDDUnknownPixelFormat);
    const uint32_t took = clock_() - start;
    if (took > kSlowTargetMs) debug_("Changing D3DRenderTarget took " + std::to_string(took) + "ms\n");
    target_ = color;
    depth_ = depth;
    width_ = color->Width();
    height_ = color->Height();
    textures_->RefreshHandles();
    return Result(materials_->RestoreAll());
}

uint32_t Device3D::GetTexture(const char* name, Texture** out) {
    if (!textures_) return Result(kDDDNotInitialized);
    return Result(textures_->GetTexture(name, out));
}

uint32_t Device3D::FindMaterial(const char* name, Material** out) {
    if (!materials_) return Result(kDDDNotInitialized);
    return Result(materials_->CreateNamed(name, out));
}

void Device3D::ReleaseMaterial(Material* material) {
    if (material) material->Release();
}

uint32_t Device3D::Present() { return Result(anim_ ? anim_->Update() : kDDDNotInitialized); }

uint32_t Device3D::RestoreSurfaces() {
    if (!anim_) return Result(kDDDNotInitialized);
    anim_->RestoreSurfaces();
    for (platform::Surface* s : {target_, depth_})
        if (s && s->IsLost()) s->Restore();
    return Result(kDDDOk);
}

uint32_t Device3D::BeginDeviceScene() {
    if (!anim_) return Result(kDDDNotInitialized);
    if ((target_ && target_->IsLost()) || (depth_ && depth_->IsLost())) return Result(Viewport3D::kSurfaceLost);
    return Result(kDDDOk);
}

uint32_t Device3D::EndDeviceScene() { return Result(anim_ ? kDDDOk : kDDDNotInitialized); }

void Device3D::SendRenderState(const ViewportRenderState& state) {
    ++stateSends_;
    if (anim_) Soft3D().SetDepth(state.zEnable, state.zEnable);
}

platform::Rect Device3D::DrawIndexed(const platform::Soft3DVertex* vertices, uint32_t first, uint32_t count,
                                     const uint16_t* indices, size_t indexCount, bool clip) {
    ++draws_;
    if (!anim_) return platform::Soft3DDevice::EmptyExtents();
    return Soft3D().DrawIndexed(vertices, first, count, indices, indexCount, clip);
}

void Device3D::CollectDamage(std::vector<cRZRect>& rects) {
    for (Viewport3D* viewport : viewports_) {
        const auto& update = viewport->GetUpdateRects().Rects();
        const auto& clear = viewport->GetClearRects().Rects();
        rects.insert(rects.end(), update.begin(), update.end());
        rects.insert(rects.end(), clear.begin(), clear.end());
    }
}

void Device3D::EndFrame() {
    for (Viewport3D* viewport : viewports_) viewport->EndFrame();
}

uint32_t RestoreCharacterDevice(Device3D& device) {
    if (!device.IsInitialized()) return kDDDNotInitialized;
    device.Textures().ReleaseAll();
    if (const uint32_t code = device.Materials().ReleaseAll()) return code;
    if (const uint32_t code = device.Textures().ReloadAll()) return code;
    return device.Materials().RestoreAll();
}
