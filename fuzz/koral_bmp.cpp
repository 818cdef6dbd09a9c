// The image codec plug-in's BMP decoder on arbitrary bytes, through its
// entries over an in-memory stream: it must refuse or decode, never crash or
// read outside (AddressSanitizer watches).
#include <cstdlib>

#include "KoralMemoryStream.h"

namespace {

// Pixels a bitmap header claims (0 when too short to say). `at` is where the
// file's first byte would be in `data` ("BM" is put in front when missing).
uint64_t ClaimedPixels(const uint8_t* data, size_t size, ptrdiff_t at) {
    auto byte = [&](ptrdiff_t i) -> uint32_t {
        const ptrdiff_t j = i - at;
        return j >= 0 && static_cast<size_t>(j) < size ? data[j] : 0;
    };
    auto u16 = [&](ptrdiff_t i) { return byte(i) | byte(i + 1) << 8; };
    auto u32 = [&](ptrdiff_t i) { return u16(i) | static_cast<uint32_t>(u16(i + 2)) << 16; };
    const uint32_t info = u32(14);
    if (info == 12) return static_cast<uint64_t>(u16(18)) * u16(20);
    const int64_t width = static_cast<int32_t>(u32(18)), height = static_cast<int32_t>(u32(22));
    return static_cast<uint64_t>(std::llabs(width)) * static_cast<uint64_t>(std::llabs(height));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A run-length bitmap of a hundred bytes may claim an image of hundreds
    // of megabytes, which the decoder makes (pixels the data never reaches
    // stay transparent): each such run costs the best part of a second in
    // page faults and reaches no code a smaller image does not. Claims past
    // 4 million pixels are left out here; the decoder's size limits have
    // tests of their own.
    const bool hasSignature = size >= 2 && data[0] == 'B' && data[1] == 'M';
    if (ClaimedPixels(data, size, hasSignature ? 0 : 2) > (uint64_t{1} << 22)) return 0;
    fuzz_koral::DecodeThroughEntries(data, size, std::string("BM", 2));
    return 0;
}
