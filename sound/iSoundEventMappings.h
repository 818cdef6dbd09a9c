// Where the event mappings of a bank's definitions go: the sound event
// layer keeps them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

class iSoundEventMappings {
public:
    virtual ~iSoundEventMappings() = default;
    // Values missing from the entry are 0.
    virtual void AddMapping(const std::string& name, const std::array<int32_t, 6>& values) = 0;
};
