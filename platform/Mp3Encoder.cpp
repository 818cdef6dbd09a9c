#include "platform/Mp3Encoder.h"

#include <lame/lame.h>

#include <cstring>
#include <memory>

namespace platform {

namespace {

struct Mp3EncoderLameDeleter {
    void operator()(lame_global_flags* flags) const { lame_close(flags); }
};

}  // namespace

bool Mp3Encoder::Encode(const PcmFormat& format, const uint8_t* samples, size_t bytes, int kbps,
                        std::vector<uint8_t>& out, std::string& error) {
    out.clear();
    if (format.formatTag != 1 || format.bitsPerSample != 16 || (format.channels != 1 && format.channels != 2) ||
        format.samplesPerSec < 8000 || format.samplesPerSec > 48000) {
        error = "mp3: only 16-bit mono or stereo PCM at 8000..48000 Hz can be encoded";
        return false;
    }
    std::unique_ptr<lame_global_flags, Mp3EncoderLameDeleter> lame(lame_init());
    if (!lame) {
        error = "mp3: no encoder";
        return false;
    }
    lame_set_num_channels(lame.get(), format.channels);
    lame_set_in_samplerate(lame.get(), static_cast<int>(format.samplesPerSec));
    lame_set_out_samplerate(lame.get(), static_cast<int>(format.samplesPerSec));
    lame_set_mode(lame.get(), format.channels == 1 ? MONO : JOINT_STEREO);
    lame_set_brate(lame.get(), kbps);
    lame_set_quality(lame.get(), 5);
    lame_set_bWriteVbrTag(lame.get(), 1);
    if (lame_init_params(lame.get()) < 0) {
        error = "mp3: the encoder refuses these settings";
        return false;
    }
    const size_t frames = bytes / format.blockAlign;
    // Whole frames, copied: the input need not be aligned for 16-bit reads.
    std::vector<short> pcm(frames * format.channels);
    std::memcpy(pcm.data(), samples, pcm.size() * sizeof(short));
    constexpr size_t kChunkFrames = 8192;
    std::vector<unsigned char> chunk(kChunkFrames * 5 / 4 + 7200);
    for (size_t start = 0; start < frames; start += kChunkFrames) {
        const int count = static_cast<int>(std::min(kChunkFrames, frames - start));
        const short* at = pcm.data() + start * format.channels;
        const int made = format.channels == 2
                             ? lame_encode_buffer_interleaved(lame.get(), const_cast<short*>(at), count, chunk.data(),
                                                              static_cast<int>(chunk.size()))
                             : lame_encode_buffer(lame.get(), at, nullptr, count, chunk.data(),
                                                  static_cast<int>(chunk.size()));
        if (made < 0) {
            error = "mp3: encoding failed";
            return false;
        }
        out.insert(out.end(), chunk.begin(), chunk.begin() + made);
    }
    const int tail = lame_encode_flush(lame.get(), chunk.data(), static_cast<int>(chunk.size()));
    if (tail < 0) {
        error = "mp3: encoding failed";
        return false;
    }
    out.insert(out.end(), chunk.begin(), chunk.begin() + tail);
    // The information frame was written blank at the start; fill it in now
    // that delay and padding are known.
    unsigned char tag[2880];
    const size_t tagBytes = lame_get_lametag_frame(lame.get(), tag, sizeof tag);
    if (tagBytes > 0 && tagBytes <= out.size()) std::memcpy(out.data(), tag, tagBytes);
    return true;
}

}  // namespace platform
