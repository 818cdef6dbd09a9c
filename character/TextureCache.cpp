#include "character/TextureCache.h"

#include "character/AnimDevice.h"
#include "character/DirectXErrorText.h"

#include <algorithm>
#include <new>

void Texture::Release() {
    if (--refCount_ > 0) return;
    if (cache_) cache_->Remove(this);
    delete this;
}

TextureCache::TextureCache(AnimDevice& device, int32_t displayBits) : device_(device), displayBits_(displayBits) {}

TextureCache::~TextureCache() {
    // The references belong to the callers: their textures outlive the
    // cache and forget it.
    for (Texture* t : textures_) t->cache_ = nullptr;
}

std::vector<TextureCache::Format> TextureCache::EnumerateFormats() const {
    Format rgb565;
    rgb565.redBits = 5;
    rgb565.greenBits = 6;
    rgb565.blueBits = 5;
    rgb565.pixelFormat = TexturePixelFormat::Rgb565();
    return {rgb565};
}

uint32_t TextureCache::ChooseFormat() {
    formats_ = EnumerateFormats();
    const Format* best = nullptr;
    int32_t bestDifference = 64;
    for (const Format& f : formats_) {
        if (f.palettized) {
            if (f.paletteBits == 8) {
                best = &f;
                break;
            }
            continue;
        }
        const int32_t difference = displayBits_ - (f.redBits + f.greenBits + f.blueBits);
        if (difference >= 0 && difference < bestDifference) {
            best = &f;
            bestDifference = difference;
        }
    }
    if (!best) return kDDDUnknownPixelFormat;
    chosen_ = *best;
    formatChosen_ = true;
    return kDDDOk;
}

uint32_t TextureCache::Load(Texture& texture) {
    TextureImage image;
    if (const uint32_t code = device_.LoadTextureImage(image, texture.name_.c_str(), chosen_.pixelFormat)) return code;
    texture.image_ = std::move(image);
    texture.handle_ = nextHandle_++;
    return kDDDOk;
}

uint32_t TextureCache::GetTexture(const char* name, Texture** out) {
    if (!name || !out) return kDDDNullPointer;
    *out = nullptr;
    for (Texture* t : textures_)
        if (t->name_ == name) {
            t->AddRef();
            *out = t;
            return kDDDOk;
        }
    if (!formatChosen_)
        if (const uint32_t code = ChooseFormat()) return code;
    Texture* texture = new (std::nothrow) Texture(this, name);
    if (!texture) return kDDDOutOfMemory;
    if (const uint32_t code = Load(*texture)) {
        delete texture;
        return code;
    }
    textures_.push_back(texture);
    *out = texture;
    return kDDDOk;
}

void TextureCache::Remove(Texture* texture) {
    textures_.erase(std::remove(textures_.begin(), textures_.end(), texture), textures_.end());
    if (texture) texture->cache_ = nullptr;
}

void TextureCache::ReleaseAll() {
    for (Texture* t : textures_) {
        t->image_ = TextureImage{};
        t->handle_ = 0;
    }
}

uint32_t TextureCache::ReloadAll() {
    if (const uint32_t code = ChooseFormat()) return code;
    uint32_t result = kDDDOk;
    for (Texture* t : textures_)
        if (const uint32_t code = Load(*t)) result = code;
    return result;
}

void TextureCache::RefreshHandles() {
    for (Texture* t : textures_)
        if (t->image_.surface) t->handle_ = nextHandle_++;
}
