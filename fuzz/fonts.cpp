// Font image containers (".ffn") on arbitrary bytes: the container reader
// must refuse or decode; a decoded container must write back to the same
// bytes; a font built from it must measure, break and draw any text (the
// input's last 64 bytes) into a small 16-bit buffer without touching memory
// outside (AddressSanitizer watches).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/FontImageFile.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cGZFont.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::FfnFile file;
    if (!platform::DecodeFfn(data, size, file)) return 0;
    std::vector<uint8_t> again;
    if (!platform::EncodeFfn(file, again) || again != std::vector<uint8_t>(data, data + size)) __builtin_trap();

    cGZFont font("fuzz.ffn", 12, 0);
    if (!font.Build(file.images, file.palette)) return 0;
    font.SetColor(0xFFFF);
    const size_t textSize = size < 64 ? size : 64;
    const std::string text(reinterpret_cast<const char*>(data + size - textSize), textSize);
    const auto length = static_cast<int32_t>(text.size());
    font.MeasureText(text.c_str(), length);
    font.GetTrimmedWidth(text.c_str(), length);
    font.CountLines(text.c_str(), length, static_cast<int32_t>(data[0] % 80));
    cGZBuffer buffer;
    if (!buffer.Init(48, 32, cGZBuffer::kFormat565, 16, nullptr, 0, 0)) return 0;
    font.DrawText(buffer, static_cast<int8_t>(data[size / 2]), static_cast<int8_t>(data[size / 3]), text.c_str(), length,
                  nullptr, 1, 5);
    font.SetFlag(cIGZFont::kFlagShadow | cIGZFont::kFlagUnderline, true);
    font.DrawTextBox(buffer, cRZRect{-4, 2, 40, 30}, text.c_str(), length, data[1] % 3);
    font.DrawMnemonicText(buffer, 1, 1, text);
    return 0;
}
