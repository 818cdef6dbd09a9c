// The plug-in's exported entries. A read context decodes the whole file when
// it is opened (the stream is read through the installed callbacks) and hands
// rows out on read; a write context keeps its stream until the pixels come.
#include "platform/koral/KoralAbi.h"
#include "platform/koral/KoralCodecs.h"
#include "platform/FontImageFile.h"

#include <cctype>
#include <cstring>
#include <new>
#include <string>

namespace {

KoralCallbacks gCallbacks{};
bool gInstalled = false;
int32_t gQuality = 90;

// The most a stream may hold for a decoder to take it in.
constexpr int32_t kMaxStreamBytes = 0x7FFFFFFF;

struct ReadContext {
    void* stream = nullptr;
    bool ownsStream = false;
    int32_t format = kKoralFormatNone;
    koral::Pixels pixels;
    platform::FfnFile ffn;  // a font image file: many 8-bit frames
};

struct WriteContext {
    int32_t format = kKoralFormatNone;
    void* stream = nullptr;
};

bool Ready() { return gInstalled && gCallbacks.streamRead && gCallbacks.streamSize && gCallbacks.galloc; }

int32_t FormatOfExtension(const char* extension) {
    if (!extension) return kKoralFormatNone;
    if (*extension == '.') ++extension;
    std::string lower;
    for (size_t i = 0; extension[i] && i < 8; ++i) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(extension[i])));
    if (std::strlen(extension) >= 8) return kKoralFormatNone;
    if (lower == "png") return kKoralFormatPng;
    if (lower == "jpg" || lower == "jpeg" || lower == "jpe" || lower == "jfif") return kKoralFormatJpeg;
    if (lower == "bmp" || lower == "dib") return kKoralFormatBmp;
    if (lower == "ffn") return kKoralFormatFfn;
    return kKoralFormatNone;
}

int32_t FormatOfBytes(const uint8_t* data, size_t size) {
    if (size >= 8 && std::memcmp(data, "\x89PNG\r\n\x1a\n", 8) == 0) return kKoralFormatPng;
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return kKoralFormatJpeg;
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') return kKoralFormatBmp;
    if (platform::IsFfn(data, size)) return kKoralFormatFfn;
    return kKoralFormatNone;
}

// The whole stream from its start, or false.
bool ReadWholeStream(void* stream, std::string& bytes) {
    const int32_t size = gCallbacks.streamSize(stream);
    if (size <= 0 || size > kMaxStreamBytes) return false;
    if (gCallbacks.streamSeek && !gCallbacks.streamSeek(stream, 0)) {
        if (gCallbacks.streamTell && gCallbacks.streamTell(stream) != 0) return false;
    }
    bytes.resize(static_cast<size_t>(size));
    int32_t got = 0;
    while (got < size) {
        const int32_t n = gCallbacks.streamRead(stream, bytes.data() + got, size - got);
        if (n <= 0) break;
        got += n;
    }
    bytes.resize(static_cast<size_t>(got));
    return got > 0;
}

// Nothing may unwind out of the plug-in: an allocation failure is a failed
// decode.
bool Decode(const std::string& bytes, ReadContext& reader) try {
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    reader.format = FormatOfBytes(data, bytes.size());
    switch (reader.format) {
        case kKoralFormatPng: return koral::DecodePng(data, bytes.size(), reader.pixels);
        case kKoralFormatJpeg: return koral::DecodeJpeg(data, bytes.size(), reader.pixels);
        case kKoralFormatBmp: return koral::DecodeBmp(data, bytes.size(), reader.pixels);
        case kKoralFormatFfn: return platform::DecodeFfn(data, bytes.size(), reader.ffn);
        default: return false;
    }
} catch (...) {
    return false;
}

int32_t OpenStream(void** context, void* stream, bool ownsStream) {
    if (!context) return 0;
    *context = nullptr;
    if (!stream || !Ready()) return 0;
    auto* reader = new (std::nothrow) ReadContext;
    if (!reader) return 0;
    bool ok = false;
    try {
        std::string bytes;
        ok = ReadWholeStream(stream, bytes) && Decode(bytes, *reader);
    } catch (...) {
        ok = false;
    }
    if (!ok) {
        delete reader;
        return 0;
    }
    reader->stream = stream;
    reader->ownsStream = ownsStream;
    *context = reader;
    return 1;
}

int32_t WritePixels(const WriteContext& writer, const KoralImageDescription& description, const void* pixels,
                    int32_t pitch) {
    koral::Pixels image;
    if (!koral::AllocatePixels(image, description.width, description.height)) return 0;
    const size_t rowBytes = static_cast<size_t>(image.width) * 4;
    if (pitch < 0 || static_cast<size_t>(pitch) < rowBytes) return 0;
    for (int32_t y = 0; y < image.height; ++y)
        std::memcpy(image.bgra.data() + static_cast<size_t>(y) * static_cast<size_t>(image.width),
                    static_cast<const uint8_t*>(pixels) + static_cast<size_t>(y) * static_cast<size_t>(pitch), rowBytes);
    std::vector<uint8_t> file;
    bool encoded = false;
    switch (writer.format) {
        case kKoralFormatPng: encoded = koral::EncodePng(image, file); break;
        case kKoralFormatBmp: encoded = koral::EncodeBmp(image, file); break;
        case kKoralFormatJpeg: {
            const int32_t asked = description.passThrough[0];
            encoded = koral::EncodeJpeg(image, asked >= 1 && asked <= 100 ? asked : gQuality, file);
            break;
        }
        default: break;
    }
    if (!encoded || file.size() > static_cast<size_t>(kMaxStreamBytes)) return 0;
    size_t done = 0;
    while (done < file.size()) {
        const int32_t n = gCallbacks.streamWrite(writer.stream, file.data() + done, static_cast<int32_t>(file.size() - done));
        if (n <= 0) return 0;
        done += static_cast<size_t>(n);
    }
    return 1;
}

}  // namespace

extern "C" {

// A data export of its own (const would otherwise keep it inside this file).
extern const char KORALabout[];
const char KORALabout[] =
    "Koral image codec: PNG, JPEG and BMP, read as 32-bit pixels; font image files";

int32_t KORAL_installcallbacks_4(const KoralCallbacks* callbacks) {
    gInstalled = callbacks != nullptr;
    gCallbacks = callbacks ? *callbacks : KoralCallbacks{};
    return 1;
}

int32_t KORAL_init_0() { return Ready() ? 1 : 0; }

int32_t KORAL_restore_0() {
    gInstalled = false;
    gCallbacks = KoralCallbacks{};
    gQuality = 90;
    return 1;
}

const char* KORAL_about_0() { return KORALabout; }

// The format a stream's first bytes show; the stream is left at its start.
int32_t KORAL_is_4(void* stream) {
    if (!stream || !Ready()) return 0;
    uint8_t head[8] = {};
    if (gCallbacks.streamSeek) gCallbacks.streamSeek(stream, 0);
    const int32_t n = gCallbacks.streamRead(stream, head, sizeof head);
    if (gCallbacks.streamSeek) gCallbacks.streamSeek(stream, 0);
    return n > 0 ? FormatOfBytes(head, static_cast<size_t>(n)) : 0;
}

int32_t KORAL_find_8(const char* extension, int32_t) {
    return FormatOfExtension(extension);
}

int32_t KORAL_open_16(void** context, void* stream, const char*, int32_t mode) {
    if (mode != kKoralModeDefault) {
        if (context) *context = nullptr;
        return 0;
    }
    return OpenStream(context, stream, false);
}

int32_t KORAL_open_12(void** context, void* stream, const char* name) {
    return KORAL_open_16(context, stream, name, kKoralModeDefault);
}

int32_t KORAL_gopenstream_8(void** context, void* stream) {
    return OpenStream(context, stream, false);
}

// Opens the named file itself; close closes it.
int32_t KORAL_gopen_8(void** context, const char* name) {
    if (context) *context = nullptr;
    if (!context || !name || !Ready() || !gCallbacks.streamOpen) return 0;
    void* stream = gCallbacks.streamOpen(name);
    if (!stream) return 0;
    if (!OpenStream(context, stream, true)) {
        if (gCallbacks.streamClose) gCallbacks.streamClose(stream);
        return 0;
    }
    return 1;
}

int32_t KORAL_count_0() { return 1; }

int32_t KORAL_loadframe_8(void* context, intptr_t frame) {
    return context && frame == 0 ? 1 : 0;
}

// The description of a frame, galloc'd; null past the file's frames.
KoralFrame* KORAL_info_8(void* context, intptr_t frame) {
    if (!context || !Ready()) return nullptr;
    const auto* reader = static_cast<const ReadContext*>(context);
    const bool multi = reader->format == kKoralFormatFfn;
    const intptr_t frames = multi ? static_cast<intptr_t>(reader->ffn.images.size()) : 1;
    if (frame < 0 || frame >= frames) return nullptr;
    auto* info = static_cast<KoralFrame*>(gCallbacks.galloc(static_cast<int32_t>(sizeof(KoralFrame))));
    if (!info) return nullptr;
    std::memset(info, 0, sizeof(KoralFrame));
    info->size = static_cast<int32_t>(sizeof(KoralFrame));
    info->index = static_cast<int32_t>(frame);
    info->format = reader->format;
    if (multi) {
        const platform::FfnImage& image = reader->ffn.images[static_cast<size_t>(frame)];
        info->width = image.width;
        info->height = image.height;
        info->bits = 8;
        info->originX = image.originX;
        info->originY = image.originY;
        std::memcpy(info->name, image.name.data(), image.name.size());
        info->paletteCount = static_cast<int32_t>(reader->ffn.palette.size());
        std::memcpy(info->palette, reader->ffn.palette.data(), reader->ffn.palette.size() * sizeof(uint32_t));
        return info;
    }
    info->width = reader->pixels.width;
    info->height = reader->pixels.height;
    info->bits = reader->pixels.bits;
    return info;
}

int32_t KORAL_freebitmap_4(void* block) {
    return block && gCallbacks.gfree ? gCallbacks.gfree(block) : 0;
}

// Copies the pixels into rows of the caller's pitch: at least width x 4
// bytes of 32-bit pixels, or width bytes of indices for a multi-image file.
int32_t KORAL_read_16(void* context, const KoralFrame* frame, void* pixels, int32_t pitch) {
    if (!context || !pixels || pitch < 0) return 0;
    const auto* reader = static_cast<const ReadContext*>(context);
    if (reader->format == kKoralFormatFfn) {
        const intptr_t index = frame ? frame->index : 0;
        if (index < 0 || static_cast<size_t>(index) >= reader->ffn.images.size()) return 0;
        const platform::FfnImage& image = reader->ffn.images[static_cast<size_t>(index)];
        if (static_cast<size_t>(pitch) < static_cast<size_t>(image.width)) return 0;
        for (int32_t y = 0; y < image.height; ++y)
            std::memcpy(static_cast<uint8_t*>(pixels) + static_cast<size_t>(y) * static_cast<size_t>(pitch),
                        image.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(image.width),
                        static_cast<size_t>(image.width));
        return 1;
    }
    if (frame && frame->index != 0) return 0;
    const koral::Pixels& image = reader->pixels;
    const size_t rowBytes = static_cast<size_t>(image.width) * 4;
    if (static_cast<size_t>(pitch) < rowBytes) return 0;
    for (int32_t y = 0; y < image.height; ++y)
        std::memcpy(static_cast<uint8_t*>(pixels) + static_cast<size_t>(y) * static_cast<size_t>(pitch),
                    image.bgra.data() + static_cast<size_t>(y) * static_cast<size_t>(image.width), rowBytes);
    return 1;
}

int32_t KORAL_close_4(void* context) {
    if (!context) return 0;
    auto* reader = static_cast<ReadContext*>(context);
    if (reader->ownsStream && gCallbacks.streamClose) gCallbacks.streamClose(reader->stream);
    delete reader;
    return 1;
}

int32_t KORAL_wopen_16(int32_t format, void** context, void* stream,
                                                              const char*, int32_t mode) {
    if (!context) return 0;
    *context = nullptr;
    if (!stream || !Ready() || !gCallbacks.streamWrite || mode != kKoralModeDefault) return 0;
    if (format != kKoralFormatPng && format != kKoralFormatJpeg && format != kKoralFormatBmp) return 0;
    auto* writer = new (std::nothrow) WriteContext{format, stream};
    *context = writer;
    return writer ? 1 : 0;
}

// Encodes the 32-bit pixels (rows of `pitch` bytes) as the context's format
// and writes the file through the stream.
int32_t KORAL_write_16(int32_t kind, void* context,
                                                              const KoralImageDescription* description,
                                                              const void* pixels, int32_t pitch) {
    if (kind != kKoralPixels32 || !context || !description || !pixels) return 0;
    if (description->size != static_cast<int32_t>(sizeof(KoralImageDescription)) || description->bitsPerPixel != 32)
        return 0;
    try {
        return WritePixels(*static_cast<const WriteContext*>(context), *description, pixels, pitch);
    } catch (...) {
        return 0;
    }
}

int32_t KORAL_wclose_4(void* context) {
    if (!context) return 0;
    delete static_cast<WriteContext*>(context);
    return 1;
}
// The quality a JPEG is written at when the caller's description gives none;
// answers the previous one (values outside 1..100 only ask).
int32_t KORAL_set_4(int32_t quality) {
    const int32_t previous = gQuality;
    if (quality >= 1 && quality <= 100) gQuality = quality;
    return previous;
}

int32_t KORAL_get_0() { return gQuality; }

}  // extern "C"
