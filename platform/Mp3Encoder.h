// MP3 encoding of 16-bit PCM, for the content compiler and for tests that
// need compressed music. The stream starts with an information frame that
// carries the encoder's delay and padding, so a decoder gives back exactly
// as many frames as went in.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/WavFile.h"

namespace platform {

class Mp3Encoder {
public:
    // 16-bit PCM of 1 or 2 channels at an MP3 rate (8000..48000 Hz) at a
    // constant bit rate in kbit/s. False, with the reason, otherwise.
    static bool Encode(const PcmFormat& format, const uint8_t* samples, size_t bytes, int kbps,
                       std::vector<uint8_t>& out, std::string& error);
};

}  // namespace platform
