// fontdemo --data ROOT --lang N [--size S] [--bold] [--shadow] [--width W] TEXT OUT.png
//
// Draws TEXT (UTF-8, turned into language N's code page) in white on black
// with the font the font service gives for language N (size 12 unless S),
// from ROOT/UIGraphics/Fonts/. With --width the text is broken into lines of
// W pixels through the font's text box; otherwise it is one line. Writes
// OUT.png and prints "W x H"; exits 1 naming the failing step.
#include "framework/LanguageTables.h"
#include "platform/CodePage.h"
#include "platform/PngFile.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cGZFontSys.h"
#include "ui/graphics/cIGZFont.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr const char* kUsage =
    "usage: fontdemo --data ROOT --lang N [--size S] [--bold] [--shadow] [--width W] TEXT OUT.png";

int Fail(const std::string& why) {
    std::fprintf(stderr, "fontdemo: %s\n", why.c_str());
    return 1;
}

bool ParseNumber(const char* text, int low, int high, int& out) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (!end || *end || end == text || value < low || value > high) return false;
    out = static_cast<int>(value);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string root, text, outPath;
    int language = 0, size = 12, width = 0;
    bool bold = false, shadow = false;
    int positional = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--data" && hasValue) root = argv[++i];
        else if (arg == "--lang" && hasValue) {
            if (!ParseNumber(argv[++i], 1, 20, language)) return Fail("--lang takes a language 1-20");
        } else if (arg == "--size" && hasValue) {
            if (!ParseNumber(argv[++i], 1, 99, size)) return Fail("--size takes 1-99");
        } else if (arg == "--width" && hasValue) {
            if (!ParseNumber(argv[++i], 1, 4096, width)) return Fail("--width takes 1-4096");
        } else if (arg == "--bold") bold = true;
        else if (arg == "--shadow") shadow = true;
        else if (positional == 0 && (arg.empty() || arg[0] != '-')) { text = arg; ++positional; }
        else if (positional == 1 && (arg.empty() || arg[0] != '-')) { outPath = arg; ++positional; }
        else return Fail(kUsage);
    }
    if (root.empty() || language == 0 || positional != 2) return Fail(kUsage);

    cGZFontSys fonts([language] { return static_cast<uint32_t>(language); });
    fonts.Init();
    fonts.SetFontFolder(root + "/UIGraphics/Fonts/");
    cIGZFontSys::FontRequest request;
    request.face = 5;
    request.size = size;
    request.flags = (bold ? uint32_t{cGZFontSys::kFlagBold} : 0u) | (shadow ? uint32_t{cGZFontSys::kFlagShadow} : 0u);
    cIGZFont* font = fonts.GetFont(request);
    if (!font) return Fail("no font for language " + std::to_string(language) + " size " + std::to_string(size) + " in " +
                           fonts.FontFileName(size, request.flags, static_cast<uint32_t>(language)));

    const std::string bytes = platform::CodePage::Get(LanguageTables::CodePage(static_cast<uint32_t>(language))).FromUtf8(text);
    const auto length = static_cast<int32_t>(bytes.size());
    const int32_t lineHeight = std::max(font->GetLineHeight(), 1);
    const int32_t margin = 4;
    int32_t pictureWidth, lines = 1;
    if (width > 0) {
        lines = std::max(1, font->CountLines(bytes.c_str(), length, width));
        pictureWidth = width + 2 * margin;
    } else {
        pictureWidth = font->GetTextWidth(bytes.c_str(), length) + 2 * margin + (shadow ? 2 : 0);
    }
    const int32_t pictureHeight = lines * lineHeight + 2 * margin + (shadow ? 2 : 0);

    cGZBuffer buffer;
    if (!buffer.Init(std::max(pictureWidth, 1), pictureHeight, cGZBuffer::kFormat565, 16, nullptr, 0, 0))
        return Fail("cannot make a picture of " + std::to_string(pictureWidth) + " x " + std::to_string(pictureHeight));
    buffer.Clear(0);
    if (width > 0) {
        const cRZRect box{margin, margin, margin + width, pictureHeight - margin};
        font->DrawTextBox(buffer, box, bytes.c_str(), length, cIGZFont::kAlignLeft);
    } else {
        font->DrawText(buffer, margin, margin, bytes.c_str(), length, nullptr, -1, -1);
    }
    fonts.ReleaseFont(font);
    std::string error;
    if (!platform::WritePngFile(outPath, platform::ImageFromSurface(*buffer.GetSurface()->Surface()), &error))
        return Fail(error);
    std::printf("%d x %d\n", pictureWidth, pictureHeight);
    return 0;
}
