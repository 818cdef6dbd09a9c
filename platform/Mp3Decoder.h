// MP3 decoding to 16-bit PCM. The compressed bytes are held in memory (a
// music file is a few megabytes) and decoded in chunks on demand; the format
// is that of the first frame, and a stream that changes it later ends there.
// Every read of the compressed bytes is bounded by what exists, so damaged
// or foreign data ends in a clear error, never a read past the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/WavFile.h"

namespace platform {

class Mp3Decoder {
public:
    Mp3Decoder();
    ~Mp3Decoder();
    Mp3Decoder(const Mp3Decoder&) = delete;
    Mp3Decoder& operator=(const Mp3Decoder&) = delete;

    // False, with the reason in error, when the file cannot be read or holds
    // no decodable MP3 frame.
    bool Open(const std::filesystem::path& path, std::string& error);
    bool OpenMemory(std::vector<uint8_t> bytes, std::string& error);
    void Close();
    bool IsOpen() const { return mState != nullptr; }

    // 16-bit PCM, 1 or 2 channels, the stream's rate.
    const PcmFormat& Format() const { return mFormat; }
    // Frames the stream decodes to, or -1 when the decoder cannot tell.
    int64_t LengthFrames();

    // Decodes up to `bytes` (whole frames) into out; 0 at the end of the
    // stream or after an error (Failed tells which).
    size_t Read(uint8_t* out, size_t bytes);
    bool Failed() const { return !mError.empty(); }
    const std::string& Error() const { return mError; }
    // Back to the first sample.
    bool Rewind();

private:
    struct State;
    std::unique_ptr<State> mState;
    PcmFormat mFormat;
    std::string mError;
};

}  // namespace platform
