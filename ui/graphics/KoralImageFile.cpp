#include "ui/graphics/KoralImageFile.h"

#include <memory>

#include "ui/graphics/GuardedAlloc.h"
#include "ui/graphics/KoralBinding.h"
#include "ui/graphics/KoralStreams.h"

namespace {

constexpr size_t kMaxExtension = 32;

bool Fail(std::string* error, std::string why) {
    if (error) *error = std::move(why);
    return false;
}

struct StreamCloser {
    void operator()(void* stream) const { KoralStreamClose(stream); }
};
using StreamHandle = std::unique_ptr<void, StreamCloser>;

// The format for a name's extension, or 0 with the error set.
int32_t FindFormat(const std::string& name, std::string* error) {
    if (!EnsureImageCodecBound()) {
        Fail(error, "cannot bind the image codec");
        return 0;
    }
    const std::string extension = ImageFileExtension(name);
    const int32_t format = KoralFind(extension.c_str(), 0);
    if (!format) Fail(error, "no codec for " + extension);
    return format;
}

}  // namespace

std::string ImageFileExtension(const std::string& name) {
    const size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || name.find_first_of("/\\", dot) != std::string::npos) return {};
    return name.substr(dot + 1, kMaxExtension);
}

bool ReadCodecImage(const std::string& name, KoralImage& image, std::string* error) {
    if (!FindFormat(name, error)) return false;
    StreamHandle stream(KoralStreamOpen(name.c_str()));
    if (!stream) return Fail(error, "cannot open " + name);
    void* context = nullptr;
    if (!KoralOpen(&context, stream.get(), name.c_str(), kKoralModeDefault) || !context)
        return Fail(error, "cannot decode " + name);
    KoralFrame* frame = KoralInfo(context, 0);
    if (!frame) {
        KoralClose(context);
        return Fail(error, "no picture in " + name);
    }
    const int32_t width = frame->width, height = frame->height, bits = frame->bits;
    // Sizes from a file are checked before they size anything.
    if (!KoralSizeAcceptable(width, height)) {
        gfree(frame);
        KoralClose(context);
        return Fail(error, name + ": picture too large");
    }
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    const int32_t read = KoralRead(context, frame, pixels.data(), width * 4);
    gfree(frame);
    KoralClose(context);
    if (!read) return Fail(error, "cannot read the pixels of " + name);
    image.width = width;
    image.height = height;
    image.bits = bits;
    image.pixels = std::move(pixels);
    return true;
}

bool WriteCodecImage(const std::string& name, int32_t width, int32_t height, const uint32_t* pixels,
                     std::string* error, int32_t passThrough0, int32_t passThrough1) {
    if (!pixels || !KoralSizeAcceptable(width, height)) return Fail(error, name + ": no picture to write");
    const int32_t format = FindFormat(name, error);
    if (!format) return false;
    StreamHandle stream(KoralStreamCreate(name.c_str()));
    if (!stream) return Fail(error, "cannot create " + name);
    void* context = nullptr;
    if (!KoralWOpen(format, &context, stream.get(), name.c_str(), kKoralModeDefault) || !context)
        return Fail(error, "cannot start writing " + name);
    auto description = std::make_unique<KoralImageDescription>();
    *description = KoralImageDescription{};
    description->size = static_cast<int32_t>(sizeof(KoralImageDescription));
    description->version = kKoralDescriptionVersion;
    description->width = width;
    description->height = height;
    description->bitsPerPixel = 32;
    description->layoutBits = 32;
    description->passThrough[0] = passThrough0;
    description->passThrough[1] = passThrough1;
    const int32_t written = KoralWrite(kKoralPixels32, context, description.get(), pixels, width * 4);
    KoralWClose(context);
    if (!written) return Fail(error, "cannot write " + name);
    return true;
}
