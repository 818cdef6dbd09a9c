// Arbitrary bytes through the launcher's readers: a ".bmp" picture (then
// blended over a background of its own size), a RIFF palette, the string
// table and a picture description. The first byte picks the reader; the rest is the file. Built with
// -DLAUNCHER_SEED_MAIN this file writes the seed corpus.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>
#include <array>

#include "launcher/LauncherApp.h"
#include "launcher/LauncherPicture.h"
#include "launcher/PictureScript.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const uint8_t selector = data[0] % 4;
    ++data;
    --size;
    std::string error;
    if (selector == 0) {
        auto picture = LauncherPicture::FromBmp(data, size, error);
        if (!picture) return 0;
        if (picture->Width() <= 0 || picture->Height() <= 0) std::abort();
        auto back = LauncherPicture::Make(picture->Width() > 64 ? 64 : picture->Width(), 8, picture->BitCount());
        auto mask = LauncherPicture::Make(64, 8, 8);
        if (back && mask)
            LauncherPicture::Blend(picture.get(), 0, 0, back.get(), 0, 0, mask.get(), 0, 0, back.get(), 0, 0, 64, 64);
        for (int32_t y = 0; y < picture->Height() && y < 4; ++y) picture->Pixel(picture->Width() - 1, y);
    } else if (selector == 1) {
        std::vector<std::array<uint8_t, 4>> entries;
        if (ParseRiffPalette(data, size, entries, error)) {
            if (entries.size() != 256) std::abort();
            ReplaceStaticColours(entries);
        }
    } else if (selector == 2) {
        LauncherStrings strings;
        strings.Parse(std::string(reinterpret_cast<const char*>(data), size), error);
    } else {
        std::vector<ScriptedPicture> pictures;
        RunPictureScript(std::string(reinterpret_cast<const char*>(data), size), pictures, error);
    }
    return 0;
}

#ifdef LAUNCHER_SEED_MAIN
#include <fstream>

namespace {

void Seed(const std::string& dir, const std::string& name, uint8_t selector, const std::vector<uint8_t>& file) {
    std::ofstream out(dir + "/" + name, std::ios::binary);
    out.put(static_cast<char>(selector));
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
}

}  // namespace

int main(int argc, char** argv) {
    const std::string dir = argc > 1 ? argv[1] : ".";
    Seed(dir, "bmp24", 0, LauncherPicture::Make(5, 3, 24)->ToBmp());
    Seed(dir, "bmp8", 0, LauncherPicture::Make(3, 2, 8)->ToBmp());
    std::vector<uint8_t> pal = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'P', 'A', 'L', ' ', 'd', 'a', 't', 'a', 4, 4, 0, 0,
                                0x00, 0x03, 0x00, 0x01};
    for (int i = 0; i < 256; ++i) pal.insert(pal.end(), {uint8_t(i), uint8_t(i), uint8_t(i), 0});
    Seed(dir, "palette", 1, pal);
    const std::string text = "1001\tInstall\n1024\tSorry %s\n";
    Seed(dir, "strings", 2, std::vector<uint8_t>(text.begin(), text.end()));
    const std::string script = "picture a.bmp 30 20 24\nfill 1 2 3\nring 10 10 8 2 9 9 9\n"
                               "picture m.bmp 30 20 8\nfill 0\ndisc 10 10 6 255\ngradient 0 0 30 5 0 255\n";
    Seed(dir, "script", 3, std::vector<uint8_t>(script.begin(), script.end()));
    return 0;
}
#endif
