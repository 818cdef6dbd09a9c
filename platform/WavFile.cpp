#include "platform/WavFile.h"
#include "platform/File.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/AtomicFile.h"

namespace platform {

namespace {

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Get32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}
void Put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutTag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

PcmFormat PcmFormat::Make(uint16_t channels, uint32_t rate, uint16_t bits) {
    PcmFormat f;
    f.channels = channels;
    f.samplesPerSec = rate;
    f.bitsPerSample = bits;
    f.blockAlign = static_cast<uint16_t>(channels * bits / 8);
    f.avgBytesPerSec = rate * f.blockAlign;
    return f;
}

bool ParseWav(const uint8_t* bytes, size_t size, WavData& out, std::string& error) {
    if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) {
        error = "not a RIFF WAVE file";
        return false;
    }
    bool haveFormat = false;
    size_t pos = 12;
    while (size - pos >= 8) {
        const uint8_t* head = bytes + pos;
        const uint32_t length = Get32(head + 4);
        pos += 8;
        if (length > size - pos) {
            error = "chunk '" + std::string(reinterpret_cast<const char*>(head), 4) + "' runs past the end of the file";
            return false;
        }
        const uint8_t* body = bytes + pos;
        if (std::memcmp(head, "fmt ", 4) == 0) {
            if (length < 16) {
                error = "format chunk shorter than 16 bytes";
                return false;
            }
            PcmFormat& f = out.format;
            f.formatTag = Get16(body);
            f.channels = Get16(body + 2);
            f.samplesPerSec = Get32(body + 4);
            f.avgBytesPerSec = Get32(body + 8);
            f.blockAlign = Get16(body + 12);
            f.bitsPerSample = Get16(body + 14);
            if (f.formatTag != 1) {
                error = "not PCM (format tag " + std::to_string(f.formatTag) + ")";
                return false;
            }
            if ((f.channels != 1 && f.channels != 2) || (f.bitsPerSample != 8 && f.bitsPerSample != 16) ||
                f.samplesPerSec == 0 || f.blockAlign != f.channels * f.bitsPerSample / 8) {
                error = "unsupported PCM layout";
                return false;
            }
            haveFormat = true;
        } else if (std::memcmp(head, "data", 4) == 0) {
            if (!haveFormat) {
                error = "data chunk before the format chunk";
                return false;
            }
            // A partial last frame is dropped.
            const uint32_t whole = length - length % out.format.blockAlign;
            out.samples.assign(body, body + whole);
            return true;
        }
        pos += length + (length & 1);  // chunks are padded to even sizes
        if (pos > size) break;
    }
    error = haveFormat ? "no data chunk" : "no format chunk";
    return false;
}

bool ReadWavFile(const std::filesystem::path& path, WavData& out, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open " + path.string();
        return false;
    }
    const std::string bytes = platform::ReadRest(in);
    return ParseWav(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), out, error);
}

std::vector<uint8_t> EncodeWav(const PcmFormat& format, const uint8_t* samples, size_t bytes) {
    std::vector<uint8_t> out;
    out.reserve(44 + bytes + 1);
    const uint32_t dataSize = static_cast<uint32_t>(bytes);
    PutTag(out, "RIFF");
    Put32(out, 36 + dataSize + (dataSize & 1));
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, format.formatTag);
    Put16(out, format.channels);
    Put32(out, format.samplesPerSec);
    Put32(out, format.avgBytesPerSec);
    Put16(out, format.blockAlign);
    Put16(out, format.bitsPerSample);
    PutTag(out, "data");
    Put32(out, dataSize);
    const size_t at = out.size();
    out.resize(at + bytes + (dataSize & 1), 0);
    if (bytes > 0) std::memcpy(out.data() + at, samples, bytes);
    return out;
}

bool WriteWavFile(const std::filesystem::path& path, const PcmFormat& format, const uint8_t* samples, size_t bytes,
                  std::string& error) {
    const std::vector<uint8_t> image = EncodeWav(format, samples, bytes);
    AtomicFile file(path);
    if (!file.Begin() || !file.Write(image.data(), image.size()) || !file.Commit()) {
        error = file.Error();
        return false;
    }
    return true;
}

}  // namespace platform
