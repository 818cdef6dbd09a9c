// Interface pictures by resource id: the resource location map filled from
// the ".RT" scripts of the interface-graphics folder, and the loading of a
// picture by id (by the location's extension: the codec for other formats,
// the buffer's own loader for run-length bitmaps with the bitmap loader as
// fallback, the bitmap loader for plain bitmaps) or from an open resource
// file. Every load holds the one image lock, so the start-up loading thread
// and the main thread load one picture at a time.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "ui/graphics/cGZResourceMap.h"

class cGZBuffer;
class cIGZCriticalSection;
class iResFile;

// The picture loaders, replaceable for tests; each new buffer has one
// reference for the caller, null on failure.
struct ResourceImageLoaders {
    // The buffer's own file loader (keeps run-length bitmaps packed).
    std::function<bool(cGZBuffer& buffer, const std::string& path)> bufferFile;
    // A whole bitmap file into a new buffer.
    std::function<cGZBuffer*(const std::string& path, int32_t mode)> bitmapFile;
    // An image file of another format, through the codec.
    std::function<cGZBuffer*(const std::string& path)> imageFile;
    // The 'BMP_' picture of an id from an open resource file.
    std::function<cGZBuffer*(iResFile* file, int32_t id, int32_t mode)> resFile;

    // Our bitmap and codec loaders.
    static ResourceImageLoaders Defaults();
};

class cGZResourceImages {
public:
    // `interfaceFolder` is the interface-graphics folder ending in a
    // separator; `currentLanguage` the game's language. Loaders left empty
    // take the defaults.
    cGZResourceImages(std::string interfaceFolder, std::function<int32_t()> currentLanguage,
                      ResourceImageLoaders loaders = {});

    cGZResourceMap& Map() { return mMap; }
    const std::string& Folder() const { return mFolder; }
    // Reads every ".RT" script of the folder into the map (problems are
    // dropped); the number of scripts read.
    size_t LoadScripts();

    bool LoadImageByResID(int32_t id, cGZBuffer*& out, int32_t mode);
    bool LoadImageFromResFile(iResFile* file, int32_t id, cGZBuffer*& out, int32_t mode);

private:
    std::string mFolder;
    std::function<int32_t()> mLanguage;
    ResourceImageLoaders mLoaders;
    cGZResourceMap mMap;
};

// The application's pictures by id (null until it installs them).
void GZSetResourceImages(cGZResourceImages* images);
cGZResourceImages* GZGetResourceImages();
// Through the installed one; false (and a null buffer) without one.
bool LoadImageByResID(int32_t id, cGZBuffer*& out, int32_t mode);
bool LoadImageFromResFile(iResFile* file, int32_t id, cGZBuffer*& out, int32_t mode);
// The one image lock (recursive).
cIGZCriticalSection& GZImageLock();
