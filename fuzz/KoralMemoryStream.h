// The image codec plug-in's entries over bytes in memory, for its fuzz
// targets: read-only streams and a plain allocator stand in for the host's.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/koral/KoralAbi.h"

extern "C" {
int32_t KORAL_installcallbacks_4(const KoralCallbacks* callbacks);
int32_t KORAL_open_16(void** context, void* stream, const char* name, int32_t mode);
KoralFrame* KORAL_info_8(void* context, intptr_t frame);
int32_t KORAL_read_16(void* context, const KoralFrame* frame, void* pixels, int32_t pitch);
int32_t KORAL_close_4(void* context);
}

namespace fuzz_koral {

struct MemoryStream {
    std::string bytes;
    int32_t position = 0;
};

inline int32_t Read(void* s, void* out, int32_t count) {
    auto* m = static_cast<MemoryStream*>(s);
    const int32_t n = std::min<int32_t>(count, static_cast<int32_t>(m->bytes.size()) - m->position);
    if (n <= 0) return 0;
    std::memcpy(out, m->bytes.data() + m->position, static_cast<size_t>(n));
    m->position += n;
    return n;
}
inline int32_t Seek(void* s, int32_t to) {
    auto* m = static_cast<MemoryStream*>(s);
    if (to < 0 || to > static_cast<int32_t>(m->bytes.size())) return 0;
    m->position = to;
    return 1;
}
inline int32_t Size(void* s) { return static_cast<int32_t>(static_cast<MemoryStream*>(s)->bytes.size()); }
inline int32_t Tell(void* s) { return static_cast<MemoryStream*>(s)->position; }
inline void* Alloc(int32_t size) { return size > 0 ? std::malloc(static_cast<size_t>(size)) : nullptr; }
inline int32_t Free(void* p) {
    std::free(p);
    return 1;
}

// Decodes `bytes` (given `signature` in front when they lack it, so each
// target stays on its own decoder) and reads the pixels into a buffer of the
// size the plug-in reports.
inline void DecodeThroughEntries(const uint8_t* data, size_t size, const std::string& signature) {
    static const KoralCallbacks callbacks = {nullptr, nullptr, nullptr, Read, nullptr, Seek, Size, Tell, Alloc, Free};
    KORAL_installcallbacks_4(&callbacks);
    MemoryStream stream;
    stream.bytes.assign(reinterpret_cast<const char*>(data), size);
    if (stream.bytes.compare(0, signature.size(), signature) != 0) stream.bytes.insert(0, signature);
    void* context = nullptr;
    if (!KORAL_open_16(&context, &stream, "fuzz", kKoralModeDefault)) return;
    if (KoralFrame* frame = KORAL_info_8(context, 0)) {
        if (KoralSizeAcceptable(frame->width, frame->height)) {
            std::vector<uint32_t> pixels(static_cast<size_t>(frame->width) * static_cast<size_t>(frame->height));
            KORAL_read_16(context, frame, pixels.data(), frame->width * 4);
        }
        Free(frame);
    }
    KORAL_close_4(context);
}

}  // namespace fuzz_koral
