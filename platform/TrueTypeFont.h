// Outline fonts drawn through SDL2_ttf: a face file at a pixel size gives
// the coverage (0-255) of a line of UTF-8 text, which the caller blends in
// its own colour. Font files are looked up by file name under the system's
// font folders, so programs name the faces the system's font packages ship.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

struct TextCoverage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> alpha;  // rows of width bytes
};

class TrueTypeFont {
public:
    // The face at `path` (face `index` of a collection), `pixels` high; bold
    // thickens a face that has no bold of its own. Nothing, with the reason,
    // when the file cannot be read.
    static std::unique_ptr<TrueTypeFont> Open(const std::string& path, int32_t pixels, bool bold, int index = 0,
                                              std::string* error = nullptr);
    // The full path of a font file by its file name under /usr/share/fonts
    // and /usr/local/share/fonts, or empty.
    static std::string FindFile(const std::string& fileName);

    ~TrueTypeFont();
    TrueTypeFont(const TrueTypeFont&) = delete;
    TrueTypeFont& operator=(const TrueTypeFont&) = delete;

    // Width of one line of text in pixels (0 for empty or undrawable text).
    int32_t TextWidth(const std::string& utf8) const;
    int32_t LineHeight() const;
    // One line of text; false (and nothing) for empty or undrawable text.
    bool Render(const std::string& utf8, TextCoverage& out) const;

private:
    TrueTypeFont(void* font, std::shared_ptr<const std::string> bytes) : mFont(font), mBytes(std::move(bytes)) {}
    void* mFont;
    // The font file in memory, which the engine reads from for as long as
    // the font is open.
    std::shared_ptr<const std::string> mBytes;
};

}  // namespace platform
