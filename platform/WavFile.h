// A small reader and writer of PCM ".wav" files: the offline audio sink saves
// what it mixed through it, and tests and tools read such files back. It
// accepts the plain RIFF layout (a "fmt " chunk and a "data" chunk among any
// others) and checks every chunk length against the bytes that exist.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace platform {

// A PCM format in the order of the file's format chunk.
struct PcmFormat {
    uint16_t formatTag = 1;
    uint16_t channels = 2;
    uint32_t samplesPerSec = 22050;
    uint32_t avgBytesPerSec = 88200;
    uint16_t blockAlign = 4;
    uint16_t bitsPerSample = 16;

    // A consistent format: alignment and rate follow from the other fields.
    static PcmFormat Make(uint16_t channels, uint32_t rate, uint16_t bits);
};

struct WavData {
    PcmFormat format;
    std::vector<uint8_t> samples;
};

// False, with the reason in error, when the bytes are not a PCM wave file of
// 8 or 16 bits and 1 or 2 channels.
bool ParseWav(const uint8_t* bytes, size_t size, WavData& out, std::string& error);
bool ReadWavFile(const std::filesystem::path& path, WavData& out, std::string& error);
// The whole file image: RIFF head, a 16-byte format chunk, the data chunk.
std::vector<uint8_t> EncodeWav(const PcmFormat& format, const uint8_t* samples, size_t bytes);
// Written to a temporary file and renamed over the target.
bool WriteWavFile(const std::filesystem::path& path, const PcmFormat& format, const uint8_t* samples, size_t bytes,
                  std::string& error);

}  // namespace platform
