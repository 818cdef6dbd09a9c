// The settings store's file parser on arbitrary bytes: it must refuse or
// accept, never crash, and what it accepts must format back to text that
// parses to the same tree.
#include "platform/Registry.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    platform::RegistryData parsed;
    std::string error;
    if (!platform::RegistryData::Parse(text, parsed, error)) return 0;
    platform::RegistryData again;
    if (!platform::RegistryData::Parse(parsed.Format(), again, error) || !(again == parsed)) std::abort();
    return 0;
}
