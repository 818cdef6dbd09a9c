#include "character/Material.h"

#include "character/TextureCache.h"

namespace {

// Handles only need to differ between live materials.
uint32_t NextHandle() {
    static uint32_t next = 0;
    if (++next == 0) ++next;
    return next;
}

}  // namespace

Material::Material(const MaterialDescription& description, std::string name, Texture* texture)
    : description_(description), name_(std::move(name)), texture_(texture) {
    if (texture_) texture_->AddRef();
    RefreshTextureHandle();
}

Material::~Material() {
    if (texture_) texture_->Release();
}

int32_t Material::Release() {
    const int32_t left = --refs_;
    if (left <= 0) delete this;
    return left;
}

uint32_t Material::Restore() {
    hasInterfaces_ = true;
    RefreshTextureHandle();
    handle_ = NextHandle();
    return 0;
}

void Material::ReleaseInterfaces() {
    handle_ = 0;
    description_.textureHandle = 0;
    hasInterfaces_ = false;
}

void Material::SetTexture(Texture* texture) {
    if (texture) texture->AddRef();
    if (texture_) texture_->Release();
    texture_ = texture;
    RefreshTextureHandle();
}

void Material::SetDescription(const MaterialDescription& description) {
    description_ = description;
    RefreshTextureHandle();
}

void Material::RefreshTextureHandle() { description_.textureHandle = texture_ ? texture_->Handle() : 0; }

platform::Soft3DMaterial Material::DeviceMaterial() const {
    platform::Soft3DMaterial m;
    m.diffuse = description_.diffuse;
    m.ambient = description_.ambient;
    m.emissive = description_.emissive;
    return m;
}

const platform::Surface* Material::TextureSurface() const { return texture_ ? texture_->Surface() : nullptr; }
