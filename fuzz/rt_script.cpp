// Bitmap resource scripts (".RT") and their headers on arbitrary bytes: the
// text is scanned as a header and parsed as a script (INCLUDE names point
// into a folder that does not exist); every stored location must then be
// found again by its id, and nothing may read outside the text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "ui/graphics/RTScript.h"
#include "ui/graphics/cGZResourceMap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    cGZResourceMap map;
    RTScript script(map, size > 0 ? data[0] % 4 : 0);
    script.ScanHeader(text);
    script.Parse(text, "/nonexistent-rt-folder/");
    if (script.Problems().empty() || script.Problems().back() != "End of file in sentance") __builtin_trap();
    for (const auto& [name, value] : script.Symbols()) {
        std::string path;
        int32_t rle = 0;
        if (map.Lookup(value, 0, path, rle) && path.size() >= cGZResourceMap::kPathLimit) __builtin_trap();
    }
    return 0;
}
