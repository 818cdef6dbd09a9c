#include "character/MaterialLibrary.h"

#include "character/DirectXErrorText.h"
#include "character/Material.h"
#include "character/TextureCache.h"

#include <cstring>
#include <new>

namespace {

struct NamedColour {
    const char* name;
    float diffuse[3];
    float ambient[3];
};

constexpr float k = 1.0f / 255.0f;

const NamedColour kNamedColours[] = {
    {"red", {1, 0, 0}, {1, 0, 0}},
    {"blue", {0, 0, 1}, {0, 0, 1}},
    {"black", {0, 0, 0}, {0, 0, 0}},
    {"grey", {0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}},
    {"gray", {0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, 0.5f}},
    {"yellow", {1, 1, 0}, {1, 1, 0}},
    {"green", {0, 1, 0}, {0, 1, 0}},
    {"default", {1, 1, 1}, {1, 1, 1}},
    {"white", {1, 1, 1}, {1, 1, 1}},
    {"BeigeMatte", {0.6f, 0.6f, 0.1f}, {0.6f, 0.6f, 0.1f}},
    {"Jeans", {83 * k, 124 * k, 179 * k}, {64 * k, 67 * k, 89 * k}},
    {"Shoes", {29 * k, 29 * k, 29 * k}, {0, 0, 0}},
    {"T-shirt", {242 * k, 229 * k, 229 * k}, {199 * k, 229 * k, 229 * k}},
    {"Flesh", {245 * k, 184 * k, 170 * k}, {245 * k, 184 * k, 170 * k}},
    {"Roof", {0.4f, 90 * k, 82 * k}, {0.4f, 90 * k, 82 * k}},
};

const NamedColour* FindColour(const char* name) {
    for (const NamedColour& c : kNamedColours)
        if (std::strcmp(c.name, name) == 0) return &c;
    return nullptr;
}

MaterialDescription Describe(const NamedColour& colour) {
    MaterialDescription d;
    d.diffuse = {colour.diffuse[0], colour.diffuse[1], colour.diffuse[2], 1.0f};
    d.ambient = {colour.ambient[0], colour.ambient[1], colour.ambient[2], 1.0f};
    d.power = MaterialLibrary::kPower;
    d.rampSize = MaterialLibrary::kRampSize;
    return d;
}

}  // namespace

MaterialLibrary::~MaterialLibrary() {
    for (Material* m : materials_) m->Release();
}

void MaterialLibrary::Prune() {
    size_t kept = 0;
    for (Material* m : materials_) {
        if (m->RefCount() <= 1)
            m->Release();
        else
            materials_[kept++] = m;
    }
    materials_.resize(kept);
}

uint32_t MaterialLibrary::CreateNamed(const char* name, Material** out) {
    if (!out || !name) return kDDDNullPointer;
    *out = nullptr;
    Prune();
    Texture* texture = nullptr;
    const NamedColour* colour = FindColour(name);
    if (!colour) {
        if (const uint32_t code = textures_.GetTexture(name, &texture)) return code;
        colour = FindColour("default");
    }
    auto* material = new (std::nothrow) Material(Describe(*colour), name, texture);
    if (texture) texture->Release();  // the material holds its own
    if (!material) return kDDDOutOfMemory;
    if (const uint32_t code = material->Restore()) {
        material->Release();
        return code;
    }
    material->AddRef();
    materials_.push_back(material);
    *out = material;
    return kDDDOk;
}

uint32_t MaterialLibrary::ReleaseAll() {
    Prune();
    for (Material* m : materials_) m->ReleaseInterfaces();
    return kDDDOk;
}

uint32_t MaterialLibrary::RestoreAll() {
    Prune();
    for (Material* m : materials_)
        if (const uint32_t code = m->Restore()) return code;
    return kDDDOk;
}

size_t MaterialLibrary::Count() {
    Prune();
    return materials_.size();
}
