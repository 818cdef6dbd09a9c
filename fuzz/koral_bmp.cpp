// The image codec plug-in's BMP decoder on arbitrary bytes, through its
// entries over an in-memory stream: it must refuse or decode, never crash or
// read outside (AddressSanitizer watches).
#include "KoralMemoryStream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_koral::DecodeThroughEntries(data, size, std::string("BM", 2));
    return 0;
}
