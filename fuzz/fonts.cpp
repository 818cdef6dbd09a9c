// Font image containers (".ffn") on arbitrary bytes: the container reader
// must refuse or decode; a decoded container must write back to the same
// bytes; a font built from it must measure, break and draw any text (the
// input's last 64 bytes) into a small 16-bit buffer without touching memory
// outside (AddressSanitizer watches). Bytes that are no container are a
// ".fon" glyph set of any size (the set chosen by the first byte) under a
// double-byte or Thai font (the language by the second), which measures,
// breaks and draws the same way; a set too short for its layout must be
// refused, and the bytes padded to size then drive the text paths.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/FontImageFile.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cGZDBFontKorean.h"
#include "ui/graphics/cGZDBFontThai.h"
#include "ui/graphics/cGZFont.h"

namespace {

void Exercise(cIGZFont& font, const uint8_t* data, size_t size) {
    font.SetColor(0xFFFF);
    const size_t textSize = size < 64 ? size : 64;
    const std::string text(reinterpret_cast<const char*>(data + size - textSize), textSize);
    const auto length = static_cast<int32_t>(text.size());
    font.MeasureText(text.c_str(), length);
    font.GetTrimmedWidth(text.c_str(), length);
    font.CountLines(text.c_str(), length, static_cast<int32_t>(data[0] % 80));
    // One target for the process, cleared per input as a fresh one starts:
    // making its surface per input cost more than the drawing.
    static cGZBuffer buffer;
    static const bool ready = buffer.Init(48, 32, cGZBuffer::kFormat565, 16, nullptr, 0, 0);
    if (!ready) return;
    buffer.Clear(0);
    font.DrawText(buffer, static_cast<int8_t>(data[size / 2]), static_cast<int8_t>(data[size / 3]), text.c_str(), length,
                  nullptr, 1, 5);
    font.SetFlag(cIGZFont::kFlagShadow | cIGZFont::kFlagUnderline, true);
    font.DrawTextBox(buffer, cRZRect{-4, 2, 40, 30}, text.c_str(), length, data[1] % 3);
    font.DrawMnemonicText(buffer, 1, 1, text);
}

constexpr uint8_t kPad = 0x5A;

// The set's whole size of padding, one buffer per set for the process.
std::shared_ptr<std::vector<uint8_t>> Padding(int32_t index, size_t needed) {
    static std::array<std::shared_ptr<std::vector<uint8_t>>, DBGlyphSet::kSetCount> sets;
    auto& set = sets[static_cast<size_t>(index)];
    if (!set) set = std::make_shared<std::vector<uint8_t>>(needed, kPad);
    return set;
}

void GlyphSet(const uint8_t* data, size_t size) {
    if (size < 2) return;
    const int32_t index = data[0] % DBGlyphSet::kSetCount;
    const uint32_t languages[] = {15, 17, 18, 20, 19};
    const uint32_t language = index == DBGlyphSet::kThaiSet ? 19 : languages[data[1] % 5];
    auto input = std::make_shared<const std::vector<uint8_t>>(data, data + size);
    auto exact = std::make_shared<const DBGlyphSet>(index, input);
    const auto needed = static_cast<size_t>(exact->Layout().FileBytes());
    if (exact->IsUsable() != (size >= needed)) __builtin_trap();
    // A short input drives the text paths from the front of a set padded to
    // its size. The padding (up to 450 KB) is made once per set and shared,
    // its front overwritten by the input and restored afterwards: filling a
    // fresh one per input cost most of the run.
    std::shared_ptr<std::vector<uint8_t>> padded;
    if (size < needed) {
        padded = Padding(index, needed);
        std::copy(data, data + size, padded->begin());
    }
    {
        auto set = std::make_shared<const DBGlyphSet>(index, padded ? std::shared_ptr<const std::vector<uint8_t>>(padded)
                                                                     : input);
        std::unique_ptr<cIGZFont> font;
        if (language == 19) font = std::make_unique<cGZDBFontThai>("fuzz.fon", set);
        else font = std::make_unique<cGZDBFontKorean>("fuzz.fon", language, set);
        if (!font->Load()) __builtin_trap();
        Exercise(*font, data, size);
    }
    if (padded) std::fill(padded->begin(), padded->begin() + static_cast<std::ptrdiff_t>(size), kPad);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::FfnFile file;
    if (!platform::DecodeFfn(data, size, file)) {
        GlyphSet(data, size);
        return 0;
    }
    std::vector<uint8_t> again;
    if (!platform::EncodeFfn(file, again) || again != std::vector<uint8_t>(data, data + size)) __builtin_trap();

    cGZFont font("fuzz.ffn", 12, 0);
    if (!font.Build(file.images, file.palette)) return 0;
    Exercise(font, data, size);
    return 0;
}
