#include "tools/contentc/ToneSources.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/AtomicFile.h"
#include "tools/contentc/KeywordLines.h"
#include "platform/WavFile.h"
#include "platform/Mp3Encoder.h"
#include "sound/XAEncoder.h"

namespace {

bool EndsWithNoCase(const std::string& text, const std::string& tail) {
    if (text.size() < tail.size()) return false;
    for (size_t i = 0; i < tail.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[text.size() - tail.size() + i])) != tail[i]) return false;
    return true;
}

}  // namespace

bool ParseTone(const std::string& name, const std::string& text, ToneDescription& out, std::string& error) {
    int number = 0;
    auto fail = [&](const std::string& why) {
        error = name + ":" + std::to_string(number) + ": " + why;
        return false;
    };
    const bool read = ForEachKeywordLine(name, text, number, error, [&](const std::string& key, std::istringstream& words) {
        bool ok = true;
        if (key == "file") {
            ok = static_cast<bool>(words >> out.file) && out.file.find('/') == std::string::npos &&
                 (EndsWithNoCase(out.file, ".wav") || EndsWithNoCase(out.file, ".xa") ||
                  EndsWithNoCase(out.file, ".mp3"));
        } else if (key == "rate") {
            ok = static_cast<bool>(words >> out.rate) && out.rate >= 100 && out.rate <= 100000;
        } else if (key == "bits") {
            ok = static_cast<bool>(words >> out.bits) && (out.bits == 8 || out.bits == 16);
        } else if (key == "channels") {
            ok = static_cast<bool>(words >> out.channels) && (out.channels == 1 || out.channels == 2);
        } else if (key == "seconds") {
            ok = static_cast<bool>(words >> out.seconds) && out.seconds > 0 && out.seconds <= 600;
        } else if (key == "tone") {
            ToneDescription::Sine sine{};
            ok = static_cast<bool>(words >> sine.hz >> sine.amplitude) && sine.hz > 0 && sine.amplitude >= 0 &&
                 sine.amplitude <= 1;
            if (!(words >> sine.rightHz)) sine.rightHz = sine.hz;
            out.sines.push_back(sine);
        } else if (key == "noise") {
            ok = static_cast<bool>(words >> out.noise >> out.seed) && out.noise >= 0 && out.noise <= 1;
        } else if (key == "folder") {
            ok = static_cast<bool>(words >> out.folder) && out.folder.find("..") == std::string::npos &&
                 out.folder[0] != '/';
        } else if (key == "fade") {
            ok = static_cast<bool>(words >> out.fadeMs) && out.fadeMs >= 0;
        } else {
            return KeywordResult::kUnknown;
        }
        return ok ? KeywordResult::kTaken : KeywordResult::kBadValue;
    });
    if (!read) return false;
    if (out.file.empty()) return fail("no 'file' line");
    return true;
}

std::vector<int16_t> SynthesizeTone(const ToneDescription& tone) {
    const uint32_t frames = static_cast<uint32_t>(std::lround(tone.seconds * tone.rate));
    std::vector<int16_t> samples(size_t(frames) * tone.channels);
    uint32_t state = tone.seed ? tone.seed : 1;
    const double fadeFrames = tone.fadeMs * tone.rate / 1000.0;
    for (uint32_t i = 0; i < frames; ++i) {
        double envelope = 1.0;
        if (fadeFrames > 0) envelope = std::min({1.0, i / fadeFrames, (frames - 1 - i) / fadeFrames});
        for (uint16_t c = 0; c < tone.channels; ++c) {
            double value = 0.0;
            for (const auto& sine : tone.sines)
                value += sine.amplitude * std::sin(2 * M_PI * (c == 1 ? sine.rightHz : sine.hz) * i / tone.rate);
            if (tone.noise > 0) {
                state = state * 1103515245u + 12345u;
                value += tone.noise * ((state >> 16 & 0x7FFF) / 16383.5 - 1.0);
            }
            value = std::clamp(value * envelope, -1.0, 1.0);
            samples[size_t(i) * tone.channels + c] = static_cast<int16_t>(std::lround(value * 32767.0));
        }
    }
    return samples;
}

bool WriteTone(const ToneDescription& tone, const std::string& root, std::string& error) {
    const std::filesystem::path folder = std::filesystem::path(root) / tone.folder;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::vector<int16_t> samples = SynthesizeTone(tone);
    const uint32_t frames = static_cast<uint32_t>(samples.size() / tone.channels);
    std::vector<uint8_t> image;
    if (EndsWithNoCase(tone.file, ".xa")) {
        image = EncodeXA(samples.data(), frames, tone.channels, tone.rate);
    } else if (EndsWithNoCase(tone.file, ".mp3")) {
        if (!platform::Mp3Encoder::Encode(platform::PcmFormat::Make(tone.channels, tone.rate, 16),
                                          reinterpret_cast<const uint8_t*>(samples.data()), samples.size() * 2, 64,
                                          image, error))
            return false;
    } else {
        std::vector<uint8_t> bytes;
        for (int16_t s : samples) {
            if (tone.bits == 8) {
                bytes.push_back(static_cast<uint8_t>((s >> 8) + 128));
            } else {
                bytes.push_back(static_cast<uint8_t>(s));
                bytes.push_back(static_cast<uint8_t>(static_cast<uint16_t>(s) >> 8));
            }
        }
        image = platform::EncodeWav(platform::PcmFormat::Make(tone.channels, tone.rate, tone.bits), bytes.data(),
                                    bytes.size());
    }
    platform::AtomicFile file(folder / tone.file);
    if (!file.Begin() || !file.Write(image.data(), image.size()) || !file.Commit()) {
        error = file.Error();
        return false;
    }
    return true;
}
