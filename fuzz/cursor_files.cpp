// The .cur and .ani readers on arbitrary bytes: they must refuse or accept,
// never crash, and every accepted cursor must be whole (pixels for every
// position, hotspot inside, steps naming real frames).
#include "platform/CursorFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void CheckImage(const platform::CursorImage& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.argb.size() != static_cast<size_t>(image.width) * static_cast<size_t>(image.height))
        std::abort();
    if (image.hotX < 0 || image.hotY < 0 || image.hotX >= image.width || image.hotY >= image.height) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (auto image = platform::ReadCursorFile(bytes)) CheckImage(*image);
    if (auto cursor = platform::ReadAnimatedCursor(bytes)) {
        if (cursor->frames.empty() || cursor->steps.empty()) std::abort();
        for (const auto& frame : cursor->frames) CheckImage(frame);
        for (const auto& step : cursor->steps)
            if (step.frame >= cursor->frames.size()) std::abort();
    }
    return 0;
}
