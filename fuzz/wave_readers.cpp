// Arbitrary bytes read as a sound file: by cGZWave, by cWaveXA and by the
// platform's WAV reader. The readers are driven the way a stream drives them:
// odd-sized reads, a rewind part way, and a final ReadAll.
//
// The first byte picks the reader, the second seeds the read sizes; the rest
// is the file. Built with -DWAVE_SEED_MAIN this file writes the seed corpus.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "FuzzScratch.h"
#include "platform/WavFile.h"
#include "sound/XAEncoder.h"
#include "sound/cGZWave.h"
#include "sound/cWaveXA.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const uint8_t selector = data[0] % 3;
    uint32_t sizes = data[1] | 1u;
    data += 2;
    size -= 2;
    if (selector == 2) {
        platform::WavData wav;
        std::string error;
        if (platform::ParseWav(data, size, wav, error) && wav.samples.size() % wav.format.blockAlign != 0) std::abort();
        return 0;
    }
    const std::string path = fuzz::WriteInput(selector == 0 ? "input.wav" : "input.xa", data, size);
    std::unique_ptr<cIGZSndReader> reader(selector == 0 ? static_cast<cIGZSndReader*>(new cGZWave)
                                                        : new cWaveXA);
    if (!reader->Open(path.c_str())) return 0;
    const uint32_t total = reader->GetDataSize();
    std::vector<uint8_t> buffer(64);
    for (int i = 0; i < 12 && reader->GetDataSize() > 0; ++i) {
        sizes = sizes * 1103515245u + 12345u;
        const uint32_t want = (sizes >> 16) % 63 + 1;
        const uint32_t before = reader->GetDataSize();
        const uint32_t got = reader->Read(buffer.data(), want);
        if (got > want || reader->GetDataSize() != before - got) std::abort();
        if (i == 5 && reader->Rewind() && reader->GetDataSize() != total) std::abort();
    }
    // Large claimed sizes are not allocated: XA claims are not backed by bytes.
    if (reader->GetDataSize() <= (1u << 22)) {
        uint8_t* all = nullptr;
        uint32_t got = 0;
        if (reader->ReadAll(all, got)) delete[] all;
    }
    return 0;
}

#ifdef WAVE_SEED_MAIN
#include <fstream>

namespace {

void Seed(const std::string& dir, const std::string& name, uint8_t selector, const std::vector<uint8_t>& file) {
    std::ofstream out(dir + "/" + name, std::ios::binary);
    out.put(static_cast<char>(selector));
    out.put(static_cast<char>(0x35));
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
}

}  // namespace

int main(int argc, char** argv) {
    const std::string dir = argc > 1 ? argv[1] : ".";
    std::vector<int16_t> samples(96);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>((i * 977) % 20000 - 10000);
    const auto* bytes = reinterpret_cast<const uint8_t*>(samples.data());
    Seed(dir, "wav-mono16", 0, platform::EncodeWav(platform::PcmFormat::Make(1, 22050, 16), bytes, 192));
    Seed(dir, "wav-stereo8", 0, platform::EncodeWav(platform::PcmFormat::Make(2, 11025, 8), bytes, 50));
    Seed(dir, "xa-mono", 1, EncodeXA(samples.data(), 96, 1, 22050));
    Seed(dir, "xa-stereo", 1, EncodeXA(samples.data(), 48, 2, 22050));
    Seed(dir, "platform-wav", 2, platform::EncodeWav(platform::PcmFormat::Make(2, 22050, 16), bytes, 64));
    return 0;
}
#endif
