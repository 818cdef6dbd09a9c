#include "character/TextureImage.h"
#include "platform/PngFile.h"
#include "support/GoldenImage.h"
#include "support/RunProgram.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

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
    EXPECT_EQ(run.out, "screen rect 38 46 223 236\n");
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
    t.Write("bad.msh", "p 0 0 0\nt 0 0\nf 0 0 0 0 0 1\n");
    const auto bad = RunProgram("view3d", {"--mesh", t / "bad.msh", "--out", t / "x.png"});
    EXPECT_EQ(bad.code, 1);
    EXPECT_EQ(bad.out, "Something died while reading a mesh file (line 3)\n");
    const auto absent = RunProgram("view3d", {"--mesh", t / "absent.msh", "--out", t / "x.png"});
    EXPECT_EQ(absent.code, 1);
    EXPECT_EQ(absent.out, "DDD_ERR_FILE_OPEN_ERROR\n");
    EXPECT_FALSE(t.Has("x.png"));
    EXPECT_EQ(RunProgram("view3d", {"--mesh", "cube", "--lights", "17", "--out", t / "x.png"}).code, 2);
    EXPECT_EQ(RunProgram("view3d", {"--mesh", "cube"}).code, 2);
}

TEST(View3d, StarterCubeFileDrawsLikeTheCodeBuiltCube) {
    TempFolder t;
    const std::string content = std::string(TOVA_SOURCE_DIR) + "/content/";
    const auto made = RunProgram("texmake", {"--out", t / "data/Textures", content + "Textures/checker24.tex"});
    ASSERT_EQ(made.code, 0) << made.err;
    std::filesystem::create_directories(t / "data/Meshes");
    std::filesystem::copy_file(content + "Meshes/cube.msh", t / "data/Meshes/cube.msh");
    const auto file = RunProgram("view3d", {"--mesh", t / "data/Meshes/cube.msh", "--texture",
                                            t / "data/Textures/checker24.bmp", "--lights", "3", "--out", t / "a.png"});
    ASSERT_EQ(file.code, 0) << file.out << file.err;
    const auto code = RunProgram("view3d", {"--mesh", "cube", "--texture", t / "data/Textures/checker24.bmp",
                                            "--lights", "3", "--out", t / "b.png"});
    ASSERT_EQ(code.code, 0) << code.out << code.err;
    EXPECT_EQ(file.out, code.out);
    std::string error;
    const auto a = platform::ReadPngFile(t / "a.png", &error);
    const auto b = platform::ReadPngFile(t / "b.png", &error);
    ASSERT_TRUE(a && b) << error;
    EXPECT_EQ(a->pixels, b->pixels);
}

TEST(View3d, DrawsATextMeshWithItsNamedMaterials) {
    TempFolder t;
    // A square of two triangles facing the camera's side, in two colours.
    t.Write("square.msh",
            "p 0 0 0\np 1 0 0\np 1 1 0\np 0 1 0\nt 0 0\n"
            "m red\nf 0 0 2 0 1 0\nm blue\nf 0 0 3 0 2 0\n");
    const auto run = RunProgram("view3d", {"--mesh", t / "square.msh", "--lights", "0", "--out", t / "sq.png"});
    ASSERT_EQ(run.code, 0) << run.out << run.err;
    EXPECT_EQ(run.out.rfind("screen rect ", 0), 0u) << run.out;
    std::string error;
    const auto image = platform::ReadPngFile(t / "sq.png", &error);
    ASSERT_TRUE(image) << error;
    EXPECT_TRUE(tova_test::MatchesGolden(*image, "character/golden/view3d_square.png"));
}

}  // namespace
