// fontmake --out FOLDER [--face FILE] [--bold-face FILE] [--sizes FIRST-LAST]
//          [--cjk-face FILE] [--thai-face FILE]
//
// Writes the game's proportional fonts into FOLDER: VariableSans_NN.ffn and
// VariableSans_NN_B.ffn for each size (8-16 by default) in code page 1252,
// and the same in FOLDER/Russian (1251) and FOLDER/Polish (1250). Each byte
// of the page with a drawable character becomes one glyph image, rendered
// from the outline face (by file name under the system's font folders;
// DejaVuSans.ttf and DejaVuSans-Bold.ttf by default) and cut to its inked
// rows. Then the one-bit glyph sets of the double-byte languages (from
// wqy-microhei.ttc) and Thai (from Loma.ttf). Prints one line per file
// written; exits 1 naming the failing step.
#include "platform/CodePage.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "platform/TrueTypeFont.h"
#include "platform/FontImageFile.h"
#include "GlyphSets.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage: fontmake --out FOLDER [--face FILE] [--bold-face FILE] [--sizes FIRST-LAST] [--cjk-face FILE] "
    "[--thai-face FILE]";

int Fail(const std::string& why) {
    std::fprintf(stderr, "fontmake: %s\n", why.c_str());
    return 1;
}

// Palette entry i: coverage i and brightness i (the text colour itself).
std::vector<uint32_t> CoveragePalette() {
    std::vector<uint32_t> palette(256);
    for (uint32_t i = 0; i < 256; ++i) palette[i] = (i << 24) | (i << 16);
    return palette;
}

// One glyph of a byte: the whole rendered cell, cut to its inked rows.
bool MakeGlyph(const platform::TrueTypeFont& face, const platform::CodePage& page, int code, platform::FfnImage& out) {
    const std::string byte(1, static_cast<char>(code));
    bool exact = false;
    const std::string utf8 = page.ToUtf8(byte, &exact);
    if (!exact || utf8.empty()) return false;
    platform::TextCoverage coverage;
    if (!face.Render(utf8, coverage) || coverage.width <= 0 || coverage.height <= 0) return false;
    int32_t top = 0, bottom = coverage.height;
    auto rowEmpty = [&](int32_t row) {
        for (int32_t x = 0; x < coverage.width; ++x)
            if (coverage.alpha[static_cast<size_t>(row * coverage.width + x)]) return false;
        return true;
    };
    while (top < bottom && rowEmpty(top)) ++top;
    while (bottom > top && rowEmpty(bottom - 1)) --bottom;
    char name[32];
    std::snprintf(name, sizeof name, "%x '%c' %d", code, static_cast<char>(code), code);
    out.name = name;
    out.width = coverage.width;
    out.height = bottom - top;
    out.originX = 0;
    out.originY = -top;
    out.pixels.assign(coverage.alpha.begin() + static_cast<ptrdiff_t>(top * coverage.width),
                      coverage.alpha.begin() + static_cast<ptrdiff_t>(bottom * coverage.width));
    return true;
}

bool WriteFont(const std::string& path, const platform::TrueTypeFont& face, const platform::CodePage& page,
               std::string& error) {
    platform::FfnFile file;
    file.palette = CoveragePalette();
    for (int code = 32; code < 256; ++code) {
        if (code >= 127 && code < 160 && code != 128) continue;
        platform::FfnImage glyph;
        if (MakeGlyph(face, page, code, glyph)) file.images.push_back(std::move(glyph));
    }
    std::vector<uint8_t> bytes;
    if (!platform::EncodeFfn(file, bytes)) {
        error = "cannot encode " + path;
        return false;
    }
    platform::AtomicFile out(path);
    if (!out.Begin() || !out.Write(bytes.data(), bytes.size()) || !out.Commit()) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder, faceName = "DejaVuSans.ttf", boldName = "DejaVuSans-Bold.ttf";
    std::string cjkName = "wqy-microhei.ttc", thaiName = "Loma.ttf";
    int first = 8, last = 16;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--out" && hasValue) folder = argv[++i];
        else if (arg == "--face" && hasValue) faceName = argv[++i];
        else if (arg == "--bold-face" && hasValue) boldName = argv[++i];
        else if (arg == "--cjk-face" && hasValue) cjkName = argv[++i];
        else if (arg == "--thai-face" && hasValue) thaiName = argv[++i];
        else if (arg == "--sizes" && hasValue) {
            if (std::sscanf(argv[++i], "%d-%d", &first, &last) != 2 || first < 4 || last > 64 || first > last)
                return Fail("sizes must be FIRST-LAST between 4 and 64");
        } else {
            return Fail(kUsage);
        }
    }
    if (folder.empty()) return Fail(kUsage);
    auto locate = [](const std::string& name) {
        return name.find('/') != std::string::npos ? name : platform::TrueTypeFont::FindFile(name);
    };
    const std::string facePath = locate(faceName), boldPath = locate(boldName);
    if (facePath.empty()) return Fail("no face " + faceName);
    if (boldPath.empty()) return Fail("no face " + boldName);
    const std::string cjkPath = locate(cjkName), thaiPath = locate(thaiName);
    if (cjkPath.empty()) return Fail("no face " + cjkName);
    if (thaiPath.empty()) return Fail("no face " + thaiName);
    struct Variant {
        const char* subfolder;
        int codePage;
    };
    const Variant variants[] = {{"", 1252}, {"Russian/", 1251}, {"Polish/", 1250}};
    for (const Variant& variant : variants) {
        const std::string where = folder + "/" + variant.subfolder;
        if (!platform::CreateDirectories(where)) return Fail("cannot make " + where);
        const platform::CodePage& page = platform::CodePage::Get(variant.codePage);
        for (int size = first; size <= last; ++size)
            for (int bold = 0; bold < 2; ++bold) {
                std::string error;
                auto face = platform::TrueTypeFont::Open(bold ? boldPath : facePath, size, false, 0, &error);
                if (!face) return Fail(error);
                char name[40];
                std::snprintf(name, sizeof name, "VariableSans_%02d%s.ffn", size, bold ? "_B" : "");
                if (!WriteFont(where + name, *face, page, error)) return Fail(error);
                std::printf("%s%s\n", where.c_str(), name);
            }
    }
    std::string error;
    if (!fontmake::WriteGlyphSets(folder + "/", cjkPath, thaiPath, error)) return Fail(error);
    return 0;
}
