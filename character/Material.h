// A material of the 3D layer: the colours a mesh group is lit with and the
// texture it shows, under a name. Materials are reference counted; the
// device's material library makes them by name (MaterialLibrary.h).
//
// The "interfaces" of a material are what the device needs to draw with it:
// a handle, and the texture's handle. They go when the device is released
// (ReleaseInterfaces) and come back with Restore, so a material survives a
// change of render target or a reload of the textures.
#pragma once

#include "platform/Soft3DDevice.h"

#include <cstdint>
#include <string>

class Texture;

// The 80-byte description: four colours, the specular power, the texture
// handle and the ramp size.
struct MaterialDescription {
    uint32_t size = 80;
    platform::Soft3DColor diffuse{0, 0, 0, 0};
    platform::Soft3DColor ambient{0, 0, 0, 0};
    platform::Soft3DColor specular{0, 0, 0, 0};
    platform::Soft3DColor emissive{0, 0, 0, 0};
    float power = 0.0f;
    uint32_t textureHandle = 0;
    uint32_t rampSize = 0;
};
static_assert(sizeof(MaterialDescription) == 80);

class Material {
public:
    // Copies the description and the name and retains the texture (may be
    // null). The material has no interfaces until Restore.
    Material(const MaterialDescription& description, std::string name, Texture* texture);
    Material(const Material&) = delete;
    Material& operator=(const Material&) = delete;

    void AddRef() { ++refs_; }
    int32_t Release();
    int32_t RefCount() const { return refs_; }

    // Makes the interfaces when they are missing, takes the texture's handle
    // again and a new material handle.
    uint32_t Restore();
    void ReleaseInterfaces();
    bool HasInterfaces() const { return hasInterfaces_; }
    uint32_t Handle() const { return handle_; }

    // Retains the new texture, releases the old one.
    void SetTexture(Texture* texture);
    Texture* GetTexture() const { return texture_; }
    // Keeps the current texture's handle whatever the description says.
    void SetDescription(const MaterialDescription& description);
    const MaterialDescription& Description() const { return description_; }
    const std::string& Name() const { return name_; }

    // What the software device draws with.
    platform::Soft3DMaterial DeviceMaterial() const;
    const platform::Surface* TextureSurface() const;

private:
    ~Material();
    void RefreshTextureHandle();

    MaterialDescription description_;
    std::string name_;
    Texture* texture_ = nullptr;
    uint32_t handle_ = 0;
    bool hasInterfaces_ = false;
    int32_t refs_ = 1;
};
