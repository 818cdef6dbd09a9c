#include "tools/contentc/CursorSources.h"

#include <filesystem>
#include <sstream>

#include "platform/AtomicFile.h"
#include "tools/contentc/KeywordLines.h"
#include "platform/CursorFile.h"
#include "platform/PngFile.h"

bool ParseCursor(const std::string& name, const std::string& text, CursorDescription& out, std::string& error) {
    int number = 0;
    auto fail = [&](const std::string& why) {
        error = name + ":" + std::to_string(number) + ": " + why;
        return false;
    };
    const bool read = ForEachKeywordLine(name, text, number, error, [&](const std::string& key, std::istringstream& words) {
        bool ok = true;
        if (key == "file") {
            ok = static_cast<bool>(words >> out.file) && out.file.find('/') == std::string::npos &&
                 out.file.size() > 4 && out.file.compare(out.file.size() - 4, 4, ".cur") == 0;
        } else if (key == "image") {
            ok = static_cast<bool>(words >> out.image) && out.image.find('/') == std::string::npos;
            if (ok) out.image = (std::filesystem::path(name).parent_path() / out.image).string();
        } else if (key == "hotspot") {
            ok = static_cast<bool>(words >> out.hotX >> out.hotY) && out.hotX >= 0 && out.hotY >= 0;
        } else {
            return KeywordResult::kUnknown;
        }
        return ok ? KeywordResult::kTaken : KeywordResult::kBadValue;
    });
    if (!read) return false;
    if (out.file.empty()) return fail("no 'file' line");
    if (out.image.empty()) return fail("no 'image' line");
    return true;
}

bool WriteCursor(const CursorDescription& cursor, const std::string& root, std::string& error) {
    std::optional<platform::Image> picture = platform::ReadPngFile(cursor.image, &error);
    if (!picture) return false;
    if (picture->width > 256 || picture->height > 256 || cursor.hotX >= picture->width ||
        cursor.hotY >= picture->height) {
        error = "the picture is larger than 256 pixels or the hotspot lies outside it";
        return false;
    }
    platform::CursorImage image;
    image.width = picture->width;
    image.height = picture->height;
    image.hotX = cursor.hotX;
    image.hotY = cursor.hotY;
    image.argb.reserve(static_cast<size_t>(image.width) * image.height);
    for (int32_t y = 0; y < image.height; ++y)
        for (int32_t x = 0; x < image.width; ++x) {
            const uint8_t* p = picture->At(x, y);
            const uint32_t alpha = picture->channels == 4 ? p[3] : 255;
            image.argb.push_back(alpha << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2]);
        }
    const std::filesystem::path folder = std::filesystem::path(root) / "Res" / "UI" / "Shared" / "Sys";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::string bytes = platform::WriteCursorFile(image);
    platform::AtomicFile file(folder / cursor.file);
    if (!file.Begin() || !file.Write(bytes.data(), bytes.size()) || !file.Commit()) {
        error = file.Error();
        return false;
    }
    return true;
}
