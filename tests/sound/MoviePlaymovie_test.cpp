// playmovie on the starter movie compiled from its description: the frames
// it writes are the writer's input pictures, the sound the sine's length;
// a movie of kinds without a decoder fails with the player's text.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/PngFile.h"
#include "platform/Surface.h"
#include "platform/WavFile.h"
#include "sound/movie/MovieWriter.h"
#include "support/CompileContent.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"
#include "tools/contentc/MovieSources.h"

namespace {

const std::string kTinyMovieSource = std::string(TOVA_SOURCE_DIR) + "/content/Movies/tiny.movie";

TEST(MoviePlaymovie, StarterMovieGivesTheEncodersFramesAndTheSinesLength) {
    tova_test::ScratchDir dir;
    const std::string root = (dir / "data").string();
    ASSERT_EQ(tova_test::CompileContent({"--out", root, kTinyMovieSource}).code, 0);
    const std::string frames = (dir / "f").string(), wav = (dir / "a.wav").string();
    const auto run = tova_test::RunProgram("playmovie", {root + "/Movies/tiny.mov", "--frames", frames, "--wav", wav});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "frames 24 skipped 0 tracks 1 audio 141120\n");

    std::ifstream in(kTinyMovieSource);
    std::stringstream text;
    text << in.rdbuf();
    MovieDescription description;
    std::string error;
    ASSERT_TRUE(ParseMovieSource("tiny.movie", text.str(), description, error)) << error;
    const MovieSource source = MakeMovieSource(description);
    ASSERT_EQ(source.frames.size(), 24u);
    for (size_t i = 0; i < source.frames.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "frame-%04zu.png", i);
        const auto image = platform::ReadPngFile((std::filesystem::path(frames) / name).string(), &error);
        ASSERT_TRUE(image) << name << ": " << error;
        ASSERT_EQ(image->width, 64);
        ASSERT_EQ(image->height, 48);
        size_t differing = 0;
        for (int32_t y = 0; y < 48; ++y)
            for (int32_t x = 0; x < 64; ++x) {
                const auto& c = source.palette[source.frames[i][size_t(y) * 64 + x]];
                uint8_t r, g, b;
                platform::UnpackRgb(platform::PixelLayout::Rgb565,
                                    platform::PackRgb(platform::PixelLayout::Rgb565, c[0], c[1], c[2]), r, g, b);
                const uint8_t* p = image->At(x, y);
                if (p[0] != r || p[1] != g || p[2] != b) ++differing;
            }
        EXPECT_EQ(differing, 0u) << name;
    }
    platform::WavData decoded;
    ASSERT_TRUE(platform::ReadWavFile(wav, decoded, error)) << error;
    EXPECT_EQ(decoded.format.samplesPerSec, 22050u);
    EXPECT_EQ(decoded.samples.size(), source.tracks[0].samples.size() * 4);
}

TEST(MoviePlaymovie, UnsupportedKindsAndMissingFilesExitWithTheErrorText) {
    tova_test::ScratchDir dir;
    std::vector<uint8_t> bytes;
    for (const char* tag : {"MADk", "MADm", "MADe"}) MovieWriter::AppendChunk(bytes, tag, std::vector<uint8_t>(64, 1));
    MovieWriter::AppendChunk(bytes, "SCEl", {});
    const std::string path = (dir / "kinds.mov").string();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    auto run = tova_test::RunProgram("playmovie", {path, "--frames", (dir / "f").string(), "--wav", (dir / "a.wav").string()});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "frames 0 skipped 3 tracks 0 audio 0\n");
    EXPECT_NE(run.err.find("unsupported video kind"), std::string::npos) << run.err;
    run = tova_test::RunProgram("playmovie", {(dir / "none.mov").string(), "--wav", (dir / "a.wav").string()});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("cannot be opened"), std::string::npos) << run.err;
}

}  // namespace
