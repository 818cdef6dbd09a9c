// imgconv [--555] IN OUT
//
// IN and OUT are .png, .jpg, .jpeg or .bmp files. An 8-bit run-length .bmp
// is loaded the way the game loads its pictures (the pixel buffer's bitmap
// loader, in the screen format 5-6-5, or 5-5-5 with --555), drawn into a
// buffer cleared to black (transparent pixels stay black) and prints
//   bmp W H colours C transparent T
// (T is -1 when the palette has no magenta). Everything else is read through
// the image codec plug-in and prints
//   image W H
// OUT is always written through the plug-in. A format it does not know prints
// "no codec for EXT"; any failing step is named; both exit with 1.
#include "platform/File.h"
#include "platform/PngFile.h"
#include "platform/Surface.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cGZBufferBMPProxy.h"
#include "ui/graphics/KoralImageFile.h"

#include <cstdio>
#include <string>

namespace {

int Fail(const std::string& why) {
    std::fprintf(stderr, "imgconv: %s\n", why.c_str());
    return 1;
}

// An 8-bit run-length bitmap: the kind the game's own loader takes.
bool IsRunLengthBitmap(const std::string& path) {
    platform::File file;
    unsigned char header[34] = {};
    if (!file.Open(path, platform::File::kRead, platform::File::Disposition::kOpenExisting)) return false;
    if (file.Read(header, sizeof header) != static_cast<int64_t>(sizeof header)) return false;
    return header[0] == 'B' && header[1] == 'M' && header[28] == 8 && header[29] == 0 && header[30] == 1 &&
           header[31] == 0 && header[32] == 0 && header[33] == 0;
}

// The bitmap drawn through the pixel buffer, as 32-bit opaque pixels.
int LoadRunLength(const std::string& in, int32_t format, KoralImage& image) {
    cGZBuffer::SetScreenFormat(format);
    cGZBuffer picture;
    if (!picture.LoadImageFile(in)) {
        cGZBufferBMPProxy probe(in);
        probe.Load();
        return Fail(probe.Error().empty() ? "cannot load " + in : probe.Error());
    }
    cGZBuffer canvas;
    if (!canvas.Init(picture.Width(), picture.Height(), format, 16, nullptr, 0, cGZBuffer::kKindPlain) ||
        !canvas.Clear(0))
        return Fail("no buffer of " + std::to_string(picture.Width()) + "x" + std::to_string(picture.Height()));
    if (!canvas.Blit(picture, picture.GetBounds(), picture.GetBounds())) return Fail(picture.GetProxy()->Error());
    // Each field widened by bit replication, as the PNG writer does.
    const platform::Image drawn = platform::ImageFromSurface(*canvas.GetSurface()->Surface());
    image.width = drawn.width;
    image.height = drawn.height;
    image.pixels.resize(static_cast<size_t>(image.width) * static_cast<size_t>(image.height));
    for (int32_t y = 0; y < image.height; ++y)
        for (int32_t x = 0; x < image.width; ++x) {
            const uint8_t* p = drawn.At(x, y);
            image.pixels[static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)] =
                0xFF000000u | uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
        }
    const cGZBufferBMPProxy& proxy = *picture.GetProxy();
    std::printf("bmp %d %d colours %d transparent %d\n", picture.Width(), picture.Height(), proxy.ColorCount(),
                proxy.TransparentIndex());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    int arg = 1;
    int32_t format = cGZBuffer::kFormat565;
    if (arg < argc && std::string(argv[arg]) == "--555") {
        format = cGZBuffer::kFormat555;
        ++arg;
    }
    if (argc - arg != 2) {
        std::fprintf(stderr, "usage: imgconv [--555] IN OUT   (.png, .jpg, .jpeg or .bmp)\n");
        return 2;
    }
    const std::string in = argv[arg], out = argv[arg + 1];
    KoralImage image;
    std::string error;
    if (IsRunLengthBitmap(in)) {
        if (const int failed = LoadRunLength(in, format, image)) return failed;
    } else {
        if (!ReadCodecImage(in, image, &error)) return Fail(error);
        std::printf("image %d %d\n", image.width, image.height);
    }
    std::fflush(stdout);
    if (!WriteCodecImage(out, image.width, image.height, image.pixels.data(), &error)) return Fail(error);
    return 0;
}
