// texmake: makes the texture images of the data root from their text
// sources.
//
//   texmake --out FOLDER SOURCE.tex...
//
// A source names its kind (bmp8, bmp8rle, bmp24 or ppm), its size, one
// colour per key character and then one line of key characters per row, top
// row first; '#' starts a comment line. The image is written beside the
// others as NAME.bmp or NAME.ppm, NAME being the source's own name.
#include "character/TextureImage.h"
#include "platform/AtomicFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

bool Make(const std::filesystem::path& source, const std::filesystem::path& folder, std::string& error) {
    std::ifstream in(source);
    if (!in) {
        error = "cannot read";
        return false;
    }
    std::string kind;
    int width = 0, height = 0;
    std::map<char, TextureRgb> colours;
    std::vector<std::string> rows;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        std::string word;
        words >> word;
        if (word == "kind") {
            words >> kind;
        } else if (word == "size") {
            words >> width >> height;
        } else if (word == "colour") {
            std::string key;
            int r, g, b;
            if (!(words >> key >> r >> g >> b) || key.size() != 1) {
                error = "bad colour line: " + line;
                return false;
            }
            colours[key[0]] = {static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)};
        } else {
            rows.push_back(line);
        }
    }
    if (width <= 0 || height <= 0 || static_cast<int>(rows.size()) != height) {
        error = "size and rows disagree";
        return false;
    }
    std::map<char, uint8_t> index;
    TexturePalette palette;
    for (const auto& [key, colour] : colours) {
        index[key] = static_cast<uint8_t>(palette.size());
        palette.push_back(colour);
    }
    std::vector<uint8_t> indices, rgb;
    for (const std::string& row : rows) {
        if (static_cast<int>(row.size()) != width) {
            error = "row of the wrong width: " + row;
            return false;
        }
        for (char c : row) {
            if (!colours.count(c)) {
                error = std::string("no colour for '") + c + "'";
                return false;
            }
            indices.push_back(index[c]);
            rgb.insert(rgb.end(), colours[c].begin(), colours[c].end());
        }
    }
    std::string bytes, extension = ".bmp";
    if (kind == "bmp8" || kind == "bmp8rle") {
        bytes = WriteBmp8(width, height, indices.data(), palette, false, kind == "bmp8rle");
    } else if (kind == "bmp24") {
        bytes = WriteBmp24(width, height, rgb.data());
    } else if (kind == "ppm") {
        bytes = WritePpm(width, height, rgb.data());
        extension = ".ppm";
    } else {
        error = "unknown kind '" + kind + "'";
        return false;
    }
    const std::filesystem::path target = folder / (source.stem().string() + extension);
    if (!platform::SaveFileAtomically(target, bytes, &error)) return false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || std::string(argv[1]) != "--out") {
        std::fprintf(stderr, "usage: texmake --out FOLDER SOURCE.tex...\n");
        return 2;
    }
    const std::filesystem::path folder = argv[2];
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    int failures = 0;
    for (int i = 3; i < argc; ++i) {
        std::string error;
        if (!Make(argv[i], folder, error)) {
            std::fprintf(stderr, "texmake: %s: %s\n", argv[i], error.c_str());
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
