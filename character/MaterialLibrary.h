// The materials a 3D device made by name. Skin material names resolve here:
// a name of the colour table ("red", "Jeans", "Flesh", ...) gets those
// colours, any other name is a texture shown on a white material.
//
// Every call makes a new material. The library keeps its own reference to
// each one so it can release and restore them all when the device's target
// or textures change; a material that only the library still holds is let
// go at the next call, so the list neither grows without bound nor keeps
// a material its users have dropped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class Material;
class TextureCache;

class MaterialLibrary {
public:
    static constexpr uint32_t kRampSize = 1;
    static constexpr float kPower = 5.0f;

    explicit MaterialLibrary(TextureCache& textures) : textures_(textures) {}
    ~MaterialLibrary();
    MaterialLibrary(const MaterialLibrary&) = delete;
    MaterialLibrary& operator=(const MaterialLibrary&) = delete;

    // A new material (one reference, the caller's), restored and ready; a
    // texture name that cannot be loaded gives the texture's code.
    uint32_t CreateNamed(const char* name, Material** out);
    // Every material's interfaces released / restored; the first failure
    // stops the walk and is answered.
    uint32_t ReleaseAll();
    uint32_t RestoreAll();
    // Materials someone besides the library holds.
    size_t Count();

private:
    void Prune();

    TextureCache& textures_;
    std::vector<Material*> materials_;
};
