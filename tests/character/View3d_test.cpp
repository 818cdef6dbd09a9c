#include "character/TextureImage.h"
#include "platform/PngFile.h"
#include "support/GoldenImage.h"
#include "support/RunProgram.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

using tova_test::RunProgram;
using tova_test::TempFolder;

// The content's checker8.bmp: 4 x 4 cells of two colours.
std::string Checker8() {
    const TexturePalette palette{{236, 228, 208}, {178, 58, 48}};
    std::vector<uint8_t> indices(64);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) indices[y * 8 + x] = static_cast<uint8_t>((x / 4 + y / 4) % 2);
    return WriteBmp8(8, 8, indices.data(), palette);
}

TEST(View3d, WritesTheLitTexturedCube) {
    TempFolder t;
    t.Write("tex/checker8.bmp", Checker8());
    const auto run = RunProgram("view3d", {"--mesh", "cube", "--texture", t / "tex/checker8.bmp", "--out", t / "cube.png"});
    ASSERT_EQ(run.code, 0) << run.out << run.err;
    EXPECT_EQ(run.out, "extents 32 45 216 235\n");
    std::string error;
    const auto image = platform::ReadPngFile(t / "cube.png", &error);
    ASSERT_TRUE(image) << error;
    EXPECT_EQ(image->width, 256);
    EXPECT_EQ(image->height, 256);
    EXPECT_TRUE(tova_test::MatchesGolden(*image, "character/golden/view3d_cube.png"));
}

TEST(View3d, FailuresPrintTheLayersTextAndExitOne) {
    TempFolder t;
    t.Write("tex/notbmp.bmp", "P6\n1 1\n255\n" + std::string(64, 'x'));
    t.Write("tex/bad.ppm", "P6\n1 1\n65535\n" + std::string(64, 'x'));
    const struct {
        std::string texture;
        std::string text;
    } cases[] = {
        {t / "tex/notbmp.bmp", "DDD_UNKNOWN_FILE_VERSION_ERROR\n"},
        {t / "tex/bad.ppm", "Bad header in PPM file\n"},
        {t / "tex/missing.bmp", "DDD_BITMAP_NOT_FOUND\n"},
    };
    for (const auto& c : cases) {
        const auto run = RunProgram("view3d", {"--mesh", "cube", "--texture", c.texture, "--out", t / "x.png"});
        EXPECT_EQ(run.code, 1) << c.texture;
        EXPECT_EQ(run.out, c.text) << c.texture;
        EXPECT_FALSE(t.Has("x.png"));
    }
    const auto tooMany = RunProgram("view3d", {"--mesh", "cube", "--lights", "17", "--out", t / "x.png"});
    EXPECT_EQ(tooMany.code, 1);
    EXPECT_EQ(tooMany.out, "DDD_ERR_BAD_PARAMETER\n");
    EXPECT_EQ(RunProgram("view3d", {"--mesh", "sphere", "--out", t / "x.png"}).code, 2);
    EXPECT_EQ(RunProgram("view3d", {"--mesh", "cube"}).code, 2);
}

}  // namespace
