// Textures shared by name. Each 3D device keeps one cache: it chooses the
// texture format from what the device offers, loads each image once through
// the AnimDevice (from the "Textures" search path) and hands out counted
// references; the handle a draw names a texture by is taken again when the
// device's render target changes.
#pragma once

#include "character/TextureImage.h"

#include <cstdint>
#include <string>
#include <vector>

class AnimDevice;
class TextureCache;

class Texture {
public:
    // One reference less; at zero the texture leaves its cache and is deleted.
    void Release();
    void AddRef() { ++refCount_; }
    int32_t RefCount() const { return refCount_; }
    const std::string& Name() const { return name_; }
    uint32_t Handle() const { return handle_; }
    bool InVideoMemory() const { return false; }
    // Null after ReleaseAll until ReloadAll.
    const platform::Surface* Surface() const { return image_.surface.get(); }
    const TexturePalette& Palette() const { return image_.palette; }

private:
    friend class TextureCache;
    Texture(TextureCache* cache, std::string name) : cache_(cache), name_(std::move(name)) {}

    TextureCache* cache_;
    std::string name_;
    TextureImage image_;
    uint32_t handle_ = 0;
    int32_t refCount_ = 1;
};

class TextureCache {
public:
    // A format the device offers.
    struct Format {
        bool palettized = false;
        int32_t redBits = 0, greenBits = 0, blueBits = 0;
        int32_t paletteBits = 0;
        TexturePixelFormat pixelFormat;
    };

    TextureCache(AnimDevice& device, int32_t displayBits = 16);
    virtual ~TextureCache();
    TextureCache(const TextureCache&) = delete;
    TextureCache& operator=(const TextureCache&) = delete;

    // The first 8-bit indexed format offered, else the RGB format whose bit
    // count comes closest to the display's without exceeding it.
    uint32_t ChooseFormat();
    const Format& ChosenFormat() const { return chosen_; }
    // The texture of that exact name with one more reference, or a new one.
    uint32_t GetTexture(const char* name, Texture** out);
    void Remove(Texture* texture);
    void ReleaseAll();
    uint32_t ReloadAll();
    void RefreshHandles();
    size_t Count() const { return textures_.size(); }

protected:
    // The texture formats of the device: 565 for our software device.
    virtual std::vector<Format> EnumerateFormats() const;

private:
    uint32_t Load(Texture& texture);

    AnimDevice& device_;
    int32_t displayBits_;
    std::vector<Format> formats_;
    Format chosen_;
    bool formatChosen_ = false;
    std::vector<Texture*> textures_;
    uint32_t nextHandle_ = 1;
};
