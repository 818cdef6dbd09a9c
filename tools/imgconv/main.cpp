// imgconv [--555] IN.bmp OUT.png
//
// Loads IN through the pixel buffer's bitmap loader (the screen format 5-6-5,
// or 5-5-5 with --555), draws it into a buffer cleared to black (transparent
// pixels stay black), writes OUT and prints
//   bmp W H colours C transparent T
// (T is -1 when the palette has no magenta). A file it cannot load prints
// why and exits with 1.
#include "platform/PngFile.h"
#include "ui/graphics/cGZBuffer.h"
#include "ui/graphics/cGZBufferBMPProxy.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    int arg = 1;
    int32_t format = cGZBuffer::kFormat565;
    if (arg < argc && std::string(argv[arg]) == "--555") {
        format = cGZBuffer::kFormat555;
        ++arg;
    }
    if (argc - arg != 2) {
        std::fprintf(stderr, "usage: imgconv [--555] IN.bmp OUT.png\n");
        return 2;
    }
    const std::string in = argv[arg], out = argv[arg + 1];
    cGZBuffer::SetScreenFormat(format);

    cGZBuffer picture;
    if (!picture.LoadImageFile(in)) {
        cGZBufferBMPProxy probe(in);
        probe.Load();
        std::fprintf(stderr, "imgconv: %s\n", probe.Error().empty() ? ("cannot load " + in).c_str() : probe.Error().c_str());
        return 1;
    }
    cGZBuffer canvas;
    if (!canvas.Init(picture.Width(), picture.Height(), format, 16, nullptr, 0, cGZBuffer::kKindPlain) ||
        !canvas.Clear(0)) {
        std::fprintf(stderr, "imgconv: no buffer of %dx%d\n", picture.Width(), picture.Height());
        return 1;
    }
    if (!canvas.Blit(picture, picture.GetBounds(), picture.GetBounds())) {
        std::fprintf(stderr, "imgconv: %s\n", picture.GetProxy()->Error().c_str());
        return 1;
    }
    std::string error;
    if (!platform::WritePngFile(out, platform::ImageFromSurface(*canvas.GetSurface()->Surface()), &error)) {
        std::fprintf(stderr, "imgconv: %s\n", error.c_str());
        return 1;
    }
    const cGZBufferBMPProxy& proxy = *picture.GetProxy();
    std::printf("bmp %d %d colours %d transparent %d\n", picture.Width(), picture.Height(), proxy.ColorCount(),
                proxy.TransparentIndex());
    return 0;
}
