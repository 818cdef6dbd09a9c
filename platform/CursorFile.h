// Cursor files: static cursors (.cur: an icon directory whose images are
// device-independent bitmaps of 1 to 32 bits with an AND mask, or PNG) and
// animated cursors (.ani: a RIFF "ACON" form holding .cur/.ico frames, an
// optional rate table and an optional step sequence). Both read into straight
// ARGB frames with a hotspot. Every count, offset and length is checked
// against the bytes that exist before use; a bad file gives an error text.
//
// The writers make 32-bit .cur and .ani files, for content and tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct CursorImage {
    int32_t width = 0;
    int32_t height = 0;
    int32_t hotX = 0;
    int32_t hotY = 0;
    std::vector<uint32_t> argb;  // row by row, top first; 0xAARRGGBB, alpha 0 = transparent
};

struct AnimatedCursor {
    std::vector<CursorImage> frames;
    struct Step {
        uint32_t frame = 0;        // index into frames
        uint32_t jiffies = 0;      // display time in 1/60 s
    };
    std::vector<Step> steps;       // the order to show frames in, never empty
};

// A .cur (or .ico; icons get the hotspot 0, 0) file image.
std::optional<CursorImage> ReadCursorFile(std::string_view bytes, std::string* error = nullptr);
// A .ani file image. A .cur image is accepted too, as one frame.
std::optional<AnimatedCursor> ReadAnimatedCursor(std::string_view bytes, std::string* error = nullptr);
// Reads either kind from disk.
std::optional<AnimatedCursor> LoadCursorPath(const std::string& path, std::string* error = nullptr);

// A one-image 32-bit .cur with its AND mask (set where alpha is 0).
std::string WriteCursorFile(const CursorImage& image);
// A .ani with a rate table and a step sequence, frames written as above.
std::string WriteAnimatedCursor(const AnimatedCursor& cursor);

}  // namespace platform
