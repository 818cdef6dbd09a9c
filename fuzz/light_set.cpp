// Arbitrary bytes as a light-set file.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "character/LightSet.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<LightRecord> records;
    ReadLightSet(std::string_view(reinterpret_cast<const char*>(data), size), records);
    return 0;
}
