// The image codec plug-in's binary interface, shared by the plug-in
// (libkoral.so) and the program that loads it. Plain C layouts only: the two
// sides are built separately and meet through dlopen.
//
// Export names: each entry is "KORAL_<name>_<n>"; <n> is only part of the
// name (there is one calling convention on this platform).
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" {

// What the host hands the plug-in: file streams and the guarded allocator.
// The plug-in reads and writes only through these and allocates everything it
// hands back with galloc.
struct KoralCallbacks {
    void* (*streamOpen)(const char* name);
    void* (*streamCreate)(const char* name);
    int32_t (*streamClose)(void* stream);
    int32_t (*streamRead)(void* stream, void* destination, int32_t count);
    int32_t (*streamWrite)(void* stream, const void* source, int32_t count);
    int32_t (*streamSeek)(void* stream, int32_t position);
    int32_t (*streamSize)(void* stream);
    int32_t (*streamTell)(void* stream);
    void* (*galloc)(int32_t size);
    int32_t (*gfree)(void* block);
};

// Formats answered by find (0 is "none").
enum : int32_t { kKoralFormatNone = 0, kKoralFormatPng = 1, kKoralFormatJpeg = 2, kKoralFormatBmp = 3, kKoralFormatFfn = 4 };

// The pixel kind of a write: 32-bit pixels, bytes blue, green, red, alpha.
constexpr int32_t kKoralPixels32 = 8;
// The open and wopen mode the callers use.
constexpr int32_t kKoralModeDefault = 1;

// A frame description from info (galloc'd; the caller releases it with gfree).
struct KoralFrame {
    int32_t size;    // sizeof(KoralFrame)
    int32_t width;
    int32_t height;
    int32_t bits;    // bits per pixel of the file's own pixels
    int32_t index;   // the frame's number (0 unless the file holds several)
    int32_t format;  // one of the formats above
    // Multi-image files (".ffn") also give each frame's name, origin and
    // palette; read then gives 8-bit palette indices. Others: all zero.
    int32_t originX;
    int32_t originY;
    int32_t paletteCount;
    char name[64];
    uint32_t palette[256];
};

// What a writer is given beside the pixels: zeroed, 10384 bytes.
struct KoralImageDescription {
    int32_t size;        // 10384
    int32_t version;     // 200
    int32_t width;
    int32_t height;
    int32_t bitsPerPixel;  // 32
    int32_t layoutBits;    // 32
    int32_t passThrough[2];  // the caller's two values; [0] in 1..100 is a JPEG quality
    uint8_t reserved[10384 - 32];
};
static_assert(sizeof(KoralImageDescription) == 10384);
constexpr int32_t kKoralDescriptionVersion = 200;

// Largest image either side accepts: each side at most 16384 pixels and at
// most 256 MB of 32-bit pixels.
constexpr int32_t kKoralMaxSide = 16384;
constexpr int64_t kKoralMaxPixelBytes = int64_t{256} << 20;

inline bool KoralSizeAcceptable(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kKoralMaxSide && height <= kKoralMaxSide &&
           width * height * 4 <= kKoralMaxPixelBytes;
}

}  // extern "C"
