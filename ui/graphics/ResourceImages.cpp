#include "ui/graphics/ResourceImages.h"

#include <algorithm>
#include <cctype>

#include "framework/cRZCriticalSection.h"
#include "platform/FileSystem.h"
#include "resfile/MemHandle.h"
#include "resfile/TypeCode.h"
#include "resfile/iResFile.h"
#include "ui/graphics/KoralImageFile.h"
#include "ui/graphics/RTScript.h"
#include "ui/graphics/cGZBuffer.h"

namespace {

cGZResourceImages* gImages = nullptr;

// Holds the image lock for one load.
class ImageLockHold {
public:
    ImageLockHold() { GZImageLock().Enter(); }
    ~ImageLockHold() { GZImageLock().Leave(); }
    ImageLockHold(const ImageLockHold&) = delete;
    ImageLockHold& operator=(const ImageLockHold&) = delete;
};

// A file read through the codec into a new buffer of the screen's layout.
cGZBuffer* CodecBuffer(const std::string& path) {
    KoralImage image;
    if (!ReadCodecImage(path, image) || image.width <= 0 || image.height <= 0) return nullptr;
    auto* buffer = new cGZBuffer;
    const int32_t format = cGZBuffer::GetScreenFormat();
    if (!buffer->Init(image.width, image.height, format, 16, nullptr, 0, 0) || !buffer->Lock(64)) {
        delete buffer;
        return nullptr;
    }
    uint16_t* bits = buffer->GetBits();
    const int32_t pitch = buffer->GetPitch() / 2;
    for (int32_t y = 0; y < image.height; ++y)
        for (int32_t x = 0; x < image.width; ++x) {
            const uint32_t p = image.pixels[static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)];
            bits[y * pitch + x] = static_cast<uint16_t>(cGZBuffer::MakeColorFor(
                format, static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p)));
        }
    buffer->Unlock(64);
    buffer->AddRef();
    return buffer;
}

cGZBuffer* ResourceBitmap(iResFile* file, int32_t id, int32_t) {
    if (!file || id < INT16_MIN || id > INT16_MAX) return nullptr;
    MemHandle handle = file->GetResource(TypeCode("BMP_"), static_cast<ResId>(id), nullptr);
    if (!handle) return nullptr;
    std::string bytes(reinterpret_cast<const char*>(GetMemHandleData(handle)),
                      static_cast<size_t>(std::max(GetMemHandleSize(handle), int32_t{0})));
    file->ReleaseResource(handle);
    auto* buffer = new cGZBuffer;
    if (!buffer->LoadImageBytes(std::move(bytes))) {
        delete buffer;
        return nullptr;
    }
    buffer->AddRef();
    return buffer;
}

}  // namespace

ResourceImageLoaders ResourceImageLoaders::Defaults() {
    ResourceImageLoaders loaders;
    loaders.bufferFile = [](cGZBuffer& buffer, const std::string& path) { return buffer.LoadImageFile(path); };
    loaders.bitmapFile = [](const std::string& path, int32_t) { return CodecBuffer(path); };
    loaders.imageFile = CodecBuffer;
    loaders.resFile = ResourceBitmap;
    return loaders;
}

cGZResourceImages::cGZResourceImages(std::string interfaceFolder, std::function<int32_t()> currentLanguage,
                                     ResourceImageLoaders loaders)
    : mFolder(std::move(interfaceFolder)), mLanguage(std::move(currentLanguage)), mLoaders(std::move(loaders)) {
    const ResourceImageLoaders defaults = ResourceImageLoaders::Defaults();
    if (!mLoaders.bufferFile) mLoaders.bufferFile = defaults.bufferFile;
    if (!mLoaders.bitmapFile) mLoaders.bitmapFile = defaults.bitmapFile;
    if (!mLoaders.imageFile) mLoaders.imageFile = defaults.imageFile;
    if (!mLoaders.resFile) mLoaders.resFile = defaults.resFile;
    if (!mLanguage) mLanguage = [] { return 0; };
}

size_t cGZResourceImages::LoadScripts() {
    size_t read = 0;
    for (const platform::DirectoryEntry& entry : platform::ListDirectory(mFolder, "*.RT")) {
        if (entry.isDirectory) continue;
        RTScript script(mMap, mLanguage());
        if (script.LoadScript(mFolder + entry.name)) ++read;
    }
    return read;
}

bool cGZResourceImages::LoadImageByResID(int32_t id, cGZBuffer*& out, int32_t mode) {
    ImageLockHold hold;
    out = nullptr;
    for (const int32_t language : {mLanguage(), 0}) {
        std::string location;
        int32_t rle = 0;
        if (!mMap.Lookup(id, language, location, rle)) continue;
        const std::string path = mFolder + location;
        std::string extension = ImageFileExtension(path);
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        cGZBuffer* buffer = nullptr;
        if (extension != "bmp") {
            buffer = mLoaders.imageFile(path);
        } else if (rle) {
            buffer = new cGZBuffer;
            buffer->AddRef();
            if (!mLoaders.bufferFile(*buffer, path)) {
                buffer->Release();
                buffer = mLoaders.bitmapFile(path, mode);
            }
        } else {
            buffer = mLoaders.bitmapFile(path, mode);
        }
        if (buffer) {
            buffer->SetResourceId(id);
            out = buffer;
            return true;
        }
    }
    return false;
}

bool cGZResourceImages::LoadImageFromResFile(iResFile* file, int32_t id, cGZBuffer*& out, int32_t mode) {
    ImageLockHold hold;
    out = mLoaders.resFile(file, id, mode);
    return out != nullptr;
}

void GZSetResourceImages(cGZResourceImages* images) { gImages = images; }
cGZResourceImages* GZGetResourceImages() { return gImages; }

bool LoadImageByResID(int32_t id, cGZBuffer*& out, int32_t mode) {
    out = nullptr;
    return gImages && gImages->LoadImageByResID(id, out, mode);
}

bool LoadImageFromResFile(iResFile* file, int32_t id, cGZBuffer*& out, int32_t mode) {
    out = nullptr;
    return gImages && gImages->LoadImageFromResFile(file, id, out, mode);
}

cIGZCriticalSection& GZImageLock() {
    static cRZCriticalSection lock;
    return lock;
}
