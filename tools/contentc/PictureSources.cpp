#include "tools/contentc/PictureSources.h"

#include <filesystem>
#include <map>

#include "framework/CTGFileManager.h"
#include "platform/AtomicFile.h"
#include "platform/PngFile.h"

bool ReadPictureSource(const std::string& name, Rle8Picture& picture, std::string& error) {
    if (!StaysInsideFolder(name)) {
        error = name + ": a picture source is named relative to the content folder";
        return false;
    }
    std::string why;
    const auto image = platform::ReadPngFile(name, &why);
    if (!image) {
        error = name + ": " + why;
        return false;
    }
    std::map<uint32_t, uint8_t> indexOf;
    picture = Rle8Picture{};
    picture.width = image->width;
    picture.height = image->height;
    picture.indices.reserve(static_cast<size_t>(image->width) * static_cast<size_t>(image->height));
    for (int32_t y = 0; y < image->height; ++y)
        for (int32_t x = 0; x < image->width; ++x) {
            const uint8_t* p = image->At(x, y);
            const bool clear = image->channels == 4 && p[3] < 128;
            const uint32_t colour = clear ? 0xFF00FFu : uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
            auto found = indexOf.find(colour);
            if (found == indexOf.end()) {
                if (picture.palette.size() == 256) {
                    error = name + ": more than 256 colours";
                    return false;
                }
                found = indexOf.emplace(colour, static_cast<uint8_t>(picture.palette.size())).first;
                picture.palette.push_back(colour);
            }
            picture.indices.push_back(found->second);
        }
    return true;
}

bool WritePicture(const std::string& sourceName, const Rle8Picture& picture, const std::string& root,
                  std::string& error) {
    std::filesystem::path target = std::filesystem::path(root) / sourceName;
    target.replace_extension(".bmp");
    std::error_code ec;
    std::filesystem::create_directories(target.parent_path(), ec);
    platform::AtomicFile file(target);
    if (!file.Begin() || !file.Write(WriteRle8Bitmap(picture)) || !file.Commit()) {
        error = sourceName + ": " + file.Error();
        return false;
    }
    return true;
}
