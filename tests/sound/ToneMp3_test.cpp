#include <gtest/gtest.h>

#include <fstream>

#include "platform/Mp3Decoder.h"
#include "support/CompileContent.h"
#include "support/ScratchDir.h"

TEST(ToneMp3, TheToneWriterEncodesMp3AndWarnsOfSamplesNotAt22050Hz) {
    tova_test::ScratchDir dir;
    std::ofstream(dir / "m.tone") << "file m.mp3\nrate 22050\nchannels 2\nseconds 0.5\ntone 440 0.4 550\n";
    std::ofstream(dir / "slow.tone") << "file slow.wav\nrate 11025\nchannels 1\nseconds 0.1\ntone 440 0.4\n";
    std::ofstream(dir / "fast.tone") << "file fast.mp3\nrate 44100\nchannels 1\nseconds 0.1\ntone 440 0.4\n";
    const std::string root = (dir / "root").string();
    const tova_test::ProgramRun run = tova_test::CompileContent(
        {"--out", root, (dir / "m.tone").string(), (dir / "slow.tone").string(), (dir / "fast.tone").string()});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.err,
              "contentc: warning: slow.wav: 11025 Hz; the sound engine plays samples as 22050 Hz\n"
              "contentc: warning: fast.mp3: 44100 Hz; the sound engine plays samples as 22050 Hz\n");

    platform::Mp3Decoder decoder;
    std::string error;
    ASSERT_TRUE(decoder.Open(dir / "root" / "SoundData" / "Tones" / "m.mp3", error)) << error;
    EXPECT_EQ(decoder.Format().channels, 2);
    EXPECT_EQ(decoder.Format().samplesPerSec, 22050u);
    EXPECT_EQ(decoder.LengthFrames(), 11025);
}
