// The image codec plug-in's PNG decoder on arbitrary bytes, through its
// entries over an in-memory stream: it must refuse or decode, never crash or
// read outside (AddressSanitizer watches).
#include "KoralMemoryStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_koral::DecodeThroughEntries(data, size, std::string("\x89PNG\r\n\x1a\n", 8));
    return 0;
}
