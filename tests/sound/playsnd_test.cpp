#include <gtest/gtest.h>

#include "platform/WavFile.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace {

std::string Tones() { return std::string(TOVA_BIN_DIR) + "/../data/SoundData/Tones/"; }

}  // namespace

TEST(playsnd, OfflineBeepWritesAStereoMixHoldingTheInputOnBothChannels) {
    tova_test::ScratchDir dir;
    const std::string out = (dir / "out.wav").string();
    const tova_test::ProgramRun run = tova_test::RunProgram("playsnd", {Tones() + "beep22m.wav", "--offline", out});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "22050 Hz, 16-bit, mono\nstatic\n250 ms\n");

    platform::WavData input, mix;
    std::string error;
    ASSERT_TRUE(platform::ReadWavFile(Tones() + "beep22m.wav", input, error)) << error;
    ASSERT_TRUE(platform::ReadWavFile(out, mix, error)) << error;
    EXPECT_EQ(mix.format.channels, 2);
    EXPECT_EQ(mix.format.samplesPerSec, 22050u);
    const size_t frames = input.samples.size() / 2;
    ASSERT_GE(mix.samples.size() / 4, frames);
    for (size_t i = 0; i < frames; ++i) {
        const uint8_t* in = &input.samples[2 * i];
        const uint8_t* lr = &mix.samples[4 * i];
        ASSERT_TRUE(lr[0] == in[0] && lr[1] == in[1] && lr[2] == in[0] && lr[3] == in[1]) << i;
    }
}

TEST(playsnd, StreamsTheLongToneAndDecodesXa) {
    tova_test::ScratchDir dir;
    const std::string out = (dir / "out.wav").string();
    tova_test::ProgramRun run = tova_test::RunProgram("playsnd", {Tones() + "tone22s.wav", "--offline", out});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "22050 Hz, 16-bit, stereo\nstreamed\n5000 ms\n");
    run = tova_test::RunProgram("playsnd", {Tones() + "noises.xa", "--offline", out});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "22050 Hz, 16-bit, stereo\nstatic\n2000 ms\n");
    run = tova_test::RunProgram("playsnd", {Tones() + "click8.wav", "--offline", out});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "11025 Hz, 8-bit, mono\nstatic\n49 ms\n");
}

TEST(playsnd, ReaderErrorPrintsItsCodeAndExitsOne) {
    tova_test::ScratchDir dir;
    std::ofstream(dir / "bad.wav") << "RIFF....WAVEjunk";
    tova_test::ProgramRun run = tova_test::RunProgram("playsnd", {(dir / "bad.wav").string(), "--offline", "x.wav"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "reader error 4\n");
    run = tova_test::RunProgram("playsnd", {(dir / "none.wav").string()});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "reader error 1\n");
}
