#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

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

TEST(playsnd, AWaveOfAnOddChannelCountIsNamedByItsCountBeforeItIsRefused) {
    tova_test::ScratchDir dir;
    for (uint16_t channels : {uint16_t{0}, uint16_t{7}}) {
        const std::vector<uint8_t> samples(1400, 0);
        platform::PcmFormat format = platform::PcmFormat::Make(channels, 22050, 16);
        const std::string file = (dir / ("odd" + std::to_string(channels) + ".wav")).string();
        std::string error;
        ASSERT_TRUE(platform::WriteWavFile(file, format, samples.data(), samples.size(), error)) << error;
        const tova_test::ProgramRun run =
            tova_test::RunProgram("playsnd", {file, "--offline", (dir / "out.wav").string()});
        EXPECT_EQ(run.code, 1);
        EXPECT_EQ(run.out.rfind("22050 Hz, 16-bit, " + std::to_string(channels) + " channels\n", 0), 0u) << run.out;
        EXPECT_EQ(run.out.find("stereo"), std::string::npos);
    }
}

TEST(playsnd, MediaPlaysTheTuneToItsEndAndWritesThreeSecondsOfStereo) {
    tova_test::ScratchDir dir;
    const std::string out = (dir / "out.wav").string();
    tova_test::ProgramRun run = tova_test::RunProgram("playsnd", {"--media", Tones() + "tune.mp3", "--offline", out});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "media 22050 2 3000\ncomplete\n");
    platform::WavData mix;
    std::string error;
    ASSERT_TRUE(platform::ReadWavFile(out, mix, error)) << error;
    EXPECT_EQ(mix.format.channels, 2);
    const size_t frames = mix.samples.size() / 4;
    EXPECT_GE(frames, 22050u * 3);
    EXPECT_LT(frames, 22050u * 3 + 22050 / 5);
    // Sound all through the three seconds.
    const auto* s = reinterpret_cast<const int16_t*>(mix.samples.data());
    for (size_t second = 0; second < 3; ++second) {
        int peak = 0;
        for (size_t i = second * 22050 * 2; i < (second + 1) * 22050 * 2; ++i) peak = std::max(peak, std::abs(int(s[i])));
        EXPECT_GT(peak, 5000) << second;
    }

    // The wave path and failures.
    run = tova_test::RunProgram("playsnd", {"--media", Tones() + "beep22m.wav", "--offline", out});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "media 22050 1 250\ncomplete\n");
    std::ofstream(dir / "junk.mp3") << std::string(3000, 'z');
    run = tova_test::RunProgram("playsnd", {"--media", (dir / "junk.mp3").string(), "--offline", out});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "cannot open " + (dir / "junk.mp3").string() + " as media\n");
}

TEST(playsnd, BankTrackPrintsItsNotesAtTheTimesItsWaitsGive) {
    tova_test::ScratchDir dir;
    const std::string out = (dir / "bank.wav").string();
    const std::string bank = std::string(TOVA_BIN_DIR) + "/../data/SoundData";
    const std::vector<std::string> arguments = {"--bank", bank, "--track", "101", "--seconds", "3", "--seed", "1",
                                                "--offline", out};
    const tova_test::ProgramRun run = tova_test::RunProgram("playsnd", arguments);
    ASSERT_EQ(run.code, 0) << run.err;
    // Track 101 plays patch 2 every ten ticks, a whole tone up every other note.
    std::string expected;
    for (int i = 0; i < 15; ++i)
        expected += "note " + std::to_string(20 + 200 * i) + " patch 2 pitch " + (i % 2 ? "3800" : "3600") +
                    " volume 1024\n";
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(tova_test::RunProgram("playsnd", arguments).out, run.out);

    platform::WavData mix;
    std::string error;
    ASSERT_TRUE(platform::ReadWavFile(out, mix, error)) << error;
    size_t loud = 0;
    for (size_t i = 0; i + 1 < mix.samples.size(); i += 2)
        if (std::abs(int16_t(mix.samples[i] | mix.samples[i + 1] << 8)) > 1000) ++loud;
    EXPECT_GT(loud, 22050u / 2);
}

TEST(playsnd, BankErrorsArePrinted) {
    tova_test::ScratchDir dir;
    std::filesystem::create_directories(dir / "SoundData");
    std::ofstream(dir / "SoundData/b.hit", std::ios::binary) << std::string("\x0a", 1);
    std::ofstream(dir / "SoundData/b.hot") << "[Track]\n7=1,T,1024,0,0,0,0,0,0\n[TrackData]\n0=0\n";
    const tova_test::ProgramRun run = tova_test::RunProgram(
        "playsnd", {"--bank", (dir / "SoundData").string(), "--track", "7", "--seconds", "0.1", "--offline",
                    (dir / "o.wav").string()});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "error Illegal Instruction\n");
}

TEST(playsnd, ScoreRunsAreFixedByTheirSeedOffline) {
    tova_test::ScratchDir dir;
    const std::string score = std::string(TOVA_BIN_DIR) + "/../data/SoundData/Outdoors/vux_amb.fsc";
    std::string logs[2];
    for (int i = 0; i < 2; ++i) {
        const std::string log = (dir / ("a" + std::to_string(i) + ".txt")).string();
        const tova_test::ProgramRun run =
            tova_test::RunProgram("playsnd", {"--score", score, "--seconds", "60", "--seed", "1", "--log", log,
                                              "--offline", (dir / "a.wav").string()});
        ASSERT_EQ(run.code, 0) << run.err << run.out;
        std::ifstream in(log);
        logs[i].assign(std::istreambuf_iterator<char>(in), {});
    }
    EXPECT_EQ(logs[0], logs[1]);
    EXPECT_NE(logs[0].find(" start "), std::string::npos);
    // Every line a change, then the counts.
    std::istringstream lines(logs[0]);
    std::string line, last;
    while (std::getline(lines, line)) {
        if (!last.empty()) EXPECT_TRUE(last.find(" start ") != std::string::npos || last.find(" stop ") != std::string::npos ||
                                       last.find(" finish ") != std::string::npos) << last;
        last = line;
    }
    EXPECT_TRUE(last.starts_with("cells ")) << last;
    const tova_test::ProgramRun missing = tova_test::RunProgram(
        "playsnd", {"--score", (dir / "none.fsc").string(), "--seconds", "1", "--seed", "1", "--log",
                    (dir / "b.txt").string(), "--offline", (dir / "b.wav").string()});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(tova_test::RunProgram("playsnd", {"--score", score, "--seconds", "1"}).code, 2);
}
