#include "GlyphSets.h"

#include <cstdio>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/CodePage.h"
#include "platform/TrueTypeFont.h"
#include "ui/graphics/DBGlyphSet.h"
#include "ui/graphics/cGZDBFontKorean.h"

namespace fontmake {
namespace {

// Coverage at or above this sets the pixel.
constexpr uint8_t kInk = 96;

struct SetSource {
    uint32_t language;  // whose index formula places the double-byte glyphs
    int codePage;
    uint32_t firstCode;  // the code of double-byte glyph 0
};

SetSource SourceOf(int32_t set) {
    switch (set) {
        case 0: case 1: return {15, 932, 0x8140};
        case 2: return {18, 950, 0xA140};
        case 3: return {17, 936, 0xA1A1};
        case 5: case 6: return {20, 949, 0xB0A1};
        default: return {19, 874, 0};
    }
}

// The faces opened so far by file and size: the sets share a few sizes of one
// large face, which is read and opened once for each.
class FaceCache {
public:
    const platform::TrueTypeFont* Get(const std::string& path, int32_t pixels, std::string& error) {
        auto& face = faces_[{path, pixels}];
        if (!face) face = platform::TrueTypeFont::Open(path, pixels, false, 0, &error);
        return face.get();
    }

private:
    std::map<std::pair<std::string, int32_t>, std::unique_ptr<platform::TrueTypeFont>> faces_;
};

// Renders the character into a cell at (offset) of the set's bytes. A mark
// that does not render alone is rendered after a space and cut from it.
void DrawGlyph(const platform::TrueTypeFont& face, const std::string& utf8, int32_t width, int32_t height,
               std::vector<uint8_t>& bytes, size_t offset) {
    platform::TextCoverage coverage;
    int32_t skip = 0;
    if (!face.Render(utf8, coverage) || coverage.width <= 0) {
        if (!face.Render(" " + utf8, coverage)) return;
        skip = face.TextWidth(" ");
    }
    const int32_t top = std::max(0, (coverage.height - height) / 2);
    const int32_t rowBytes = (width + 7) / 8;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const int32_t sx = x + skip, sy = y + top;
            if (sx >= coverage.width || sy >= coverage.height) continue;
            if (coverage.alpha[static_cast<size_t>(sy * coverage.width + sx)] >= kInk)
                bytes[offset + static_cast<size_t>(y * rowBytes + x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
}

bool WriteSet(const std::string& folder, int32_t set, const std::string& facePath, FaceCache& faces,
              std::string& error) {
    const DBGlyphSetLayout& layout = DBGlyphSet::Layouts()[static_cast<size_t>(set)];
    const SetSource source = SourceOf(set);
    const platform::CodePage& page = platform::CodePage::Get(source.codePage);
    std::vector<uint8_t> bytes(static_cast<size_t>(layout.FileBytes()), 0);

    const platform::TrueTypeFont* single = faces.Get(facePath, layout.singleHeight, error);
    if (!single) return false;
    for (int code = 32; code < 256; ++code) {
        if (page.IsLeadByte(static_cast<unsigned char>(code))) continue;
        bool exact = false;
        const std::string utf8 = page.ToUtf8(std::string(1, static_cast<char>(code)), &exact);
        if (exact && !utf8.empty())
            DrawGlyph(*single, utf8, layout.singleWidth, layout.singleHeight, bytes,
                      static_cast<size_t>(code) * static_cast<size_t>(layout.singleBytes));
    }
    if (layout.doubleCount > 0) {
        const platform::TrueTypeFont* wide = faces.Get(facePath, layout.doubleHeight, error);
        if (!wide) return false;
        std::vector<bool> done(static_cast<size_t>(layout.doubleCount), false);
        for (uint32_t lead = 0x81; lead <= 0xFE; ++lead)
            for (uint32_t trail = 0x40; trail <= 0xFE; ++trail) {
                const uint32_t code = lead * 256 + trail;
                const int32_t index = cGZDBFontKorean::GlyphIndex(source.language, code);
                // Index 0 also stands for "outside the ranges".
                if (index < 0 || index >= layout.doubleCount || (index == 0 && code != source.firstCode) ||
                    done[static_cast<size_t>(index)])
                    continue;
                done[static_cast<size_t>(index)] = true;
                bool exact = false;
                const std::string utf8 =
                    page.ToUtf8(std::string{static_cast<char>(lead), static_cast<char>(trail)}, &exact);
                if (!exact || utf8.empty()) continue;
                DrawGlyph(*wide, utf8, layout.doubleWidth, layout.doubleHeight, bytes,
                          256 * static_cast<size_t>(layout.singleBytes) +
                              static_cast<size_t>(index) * static_cast<size_t>(layout.doubleBytes));
            }
    }
    const std::string path = folder + layout.file;
    platform::AtomicFile out(path);
    if (!out.Begin() || !out.Write(bytes.data(), bytes.size()) || !out.Commit()) {
        error = "cannot write " + path;
        return false;
    }
    std::printf("%s\n", path.c_str());
    return true;
}

}  // namespace

bool WriteGlyphSets(const std::string& folder, const std::string& cjkFacePath, const std::string& thaiFacePath,
                    std::string& error) {
    FaceCache faces;
    for (int32_t set = 0; set < DBGlyphSet::kSetCount; ++set)
        if (!WriteSet(folder, set, set == DBGlyphSet::kThaiSet ? thaiFacePath : cjkFacePath, faces, error))
            return false;
    return true;
}

}  // namespace fontmake
