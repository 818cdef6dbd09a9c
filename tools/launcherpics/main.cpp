// launcherpics --out DIR FILE...: runs each picture description and writes
// its pictures as BMP files (and palettes as RIFF files) under DIR (folders made as needed).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "launcher/PictureScript.h"
#include "platform/AtomicFile.h"

int main(int argc, char** argv) {
    std::filesystem::path out;
    std::vector<std::string> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--out" && i + 1 < argc) {
            out = argv[++i];
        } else if (!arg.empty() && arg[0] != '-') {
            inputs.push_back(arg);
        } else {
            out.clear();
            break;
        }
    }
    if (out.empty() || inputs.empty()) {
        std::fprintf(stderr, "usage: launcherpics --out DIR FILE...\n");
        return 2;
    }
    for (const std::string& input : inputs) {
        std::ifstream in(input, std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "launcherpics: cannot open %s\n", input.c_str());
            return 1;
        }
        std::ostringstream text;
        text << in.rdbuf();
        std::vector<ScriptedPicture> pictures;
        std::string error;
        if (!RunPictureScript(text.str(), pictures, error)) {
            std::fprintf(stderr, "launcherpics: %s: %s\n", input.c_str(), error.c_str());
            return 1;
        }
        for (const ScriptedPicture& p : pictures) {
            const std::filesystem::path target = out / p.name;
            std::error_code ec;
            std::filesystem::create_directories(target.parent_path(), ec);
            const std::vector<uint8_t> bytes = p.picture ? p.picture->ToBmp() : p.bytes;
            platform::AtomicFile file(target);
            if (!file.Begin() || !file.Write(bytes.data(), bytes.size()) || !file.Commit()) {
                std::fprintf(stderr, "launcherpics: %s: %s\n", target.string().c_str(), file.Error().c_str());
                return 1;
            }
        }
    }
    return 0;
}
