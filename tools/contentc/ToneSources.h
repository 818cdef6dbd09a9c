// Tone descriptions: small text files that make the starter sounds. Each
// line is a keyword and its values; '#' starts a comment.
//
//   file beep22m.wav        output name (".wav" writes PCM, ".xa" the XA form,
//                           ".mp3" MP3 at 64 kbit/s; both always 16-bit)
//   rate 22050              samples per second
//   bits 16                 8 or 16 (XA files are always 16)
//   channels 1              1 or 2
//   seconds 0.25            length
//   tone 880 0.5            a sine: frequency in Hz, amplitude 0..1; a third
//                           value gives the right channel its own frequency
//   noise 0.2 7             white noise: amplitude, seed
//   fade 10                 milliseconds of fade in and out
//   folder Music/Modes/Buy  where under the data root the file goes
//                           (SoundData/Tones when not given)
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ToneDescription {
    std::string file;
    uint32_t rate = 22050;
    uint16_t bits = 16;
    uint16_t channels = 1;
    double seconds = 1.0;
    struct Sine {
        double hz;
        double amplitude;
        double rightHz;
    };
    std::vector<Sine> sines;
    double noise = 0.0;
    uint32_t seed = 1;
    double fadeMs = 0.0;
    std::string folder = "SoundData/Tones";
};

// False, with "name:line: reason" in error, for a bad description.
bool ParseTone(const std::string& name, const std::string& text, ToneDescription& out, std::string& error);
// Interleaved 16-bit samples of the description.
std::vector<int16_t> SynthesizeTone(const ToneDescription& tone);
// Writes the file under root/SoundData/Tones/.
bool WriteTone(const ToneDescription& tone, const std::string& root, std::string& error);
