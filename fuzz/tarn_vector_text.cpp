// The text vector read on arbitrary text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "tarn/Transform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Vector3 v;
    ReadVector(std::string_view(reinterpret_cast<const char*>(data), size), v);
    return 0;
}
