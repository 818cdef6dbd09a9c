#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/PngFile.h"
#include "support/CompileContent.h"
#include "support/RunProgram.h"

namespace {

using tova_test::ProgramRun;
using tova_test::RunProgram;

TEST(Spriteview, SheetListsTheStarterSpritesAndShadowsDrawTheZoom) {
  tova_test::ScratchDir dir;
  const std::string root = (dir / "data").string();
  const std::string sources = std::string(TOVA_SOURCE_DIR) + "/content/Sprites/";
  ASSERT_EQ(tova_test::CompileContent({"--out", root, sources + "sprites.sprite", sources + "floors.sprite"}).code, 0);

  const std::string sheet = (dir / "sheet.png").string();
  const ProgramRun listed = RunProgram("spriteview", {"sheet", "--file", root + "/GameData/sprites.iff",
                                                      "--default-palette", root + "/GameData/GlobalCLUT.pal",
                                                      "--out", sheet});
  ASSERT_EQ(listed.code, 0) << listed.err;
  EXPECT_EQ(listed.out,
            "SPR# 10 v500 frames 2 palette -1\n"
            "SPR# 11 v503 frames 2 palette 1\n"
            "SPR# 12 v506 frames 1 palette 2\n"
            "SPR2 20 v1000 frames 2 palette 2\n"
            "SPR2 21 v1000 frames 1 palette -1\n"
            "sprites 5 frames 8\n");
  EXPECT_TRUE(platform::ReadPngFile(sheet).has_value());

  const std::string shadows = (dir / "shadows.png").string();
  const ProgramRun drawn = RunProgram("spriteview", {"shadows", "--data", root, "--zoom", "3", "--out", shadows});
  ASSERT_EQ(drawn.code, 0) << drawn.err;
  EXPECT_EQ(drawn.out, "shadows zoom 3: 48 masks\n");
  const auto image = platform::ReadPngFile(shadows);
  ASSERT_TRUE(image.has_value());
  EXPECT_GT(image->width, 16 * 128);

  EXPECT_EQ(RunProgram("spriteview", {"shadows", "--data", root, "--zoom", "4", "--out", shadows}).code, 2);
  EXPECT_EQ(RunProgram("spriteview", {"sheet", "--file", (dir / "none.iff").string(), "--out", sheet}).code, 1);
}

TEST(Spriteview, SheetReportsDroppedFrames) {
  tova_test::ScratchDir dir;
  // A sprite whose second frame offset points past the end, written as raw bytes.
  std::string hex;
  const uint8_t sprite[] = {0xF4, 0x01, 0, 0, 2, 0, 0, 0, 16, 0, 0, 0, 0xFF, 0xFF, 0, 0,
                            0,    0,    0, 0, 1, 0, 1, 0, 0,  0, 4, 6, 3, 1, 7, 0, 5, 0};
  char two[4];
  for (uint8_t b : sprite) {
    std::snprintf(two, sizeof two, "%02X ", b);
    hex += two;
  }
  std::ofstream((dir / "bad.res").string()) << "file bad.iff\nraw PALT 1\n 00 00 00 00 01 00 00 00 00 00 00 00 00 00 00 00 FF 00 00\nend\nraw SPR# 7\n"
                                            << hex << "\nend\n";
  const std::string root = (dir / "data").string();
  const auto built = tova_test::CompileContent({"--out", root, (dir / "bad.res").string()});
  ASSERT_EQ(built.code, 0) << built.err;
  const ProgramRun run =
      RunProgram("spriteview", {"sheet", "--file", root + "/bad.iff", "--out", (dir / "s.png").string()});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out,
            "SPR# 7 v500 frames 2 palette -1\n"
            "dropped 7 frame 1: offset 65535 lies past the end (34 bytes)\n"
            "sprites 1 frames 2\n");
}

}  // namespace

namespace {

TEST(Spriteview, ComposeDrawsAStarterSceneAndPrintsItsRectangles) {
  tova_test::ScratchDir dir;
  const std::string root = (dir / "data").string();
  const std::string sources = std::string(TOVA_SOURCE_DIR) + "/content/Sprites/";
  ASSERT_EQ(tova_test::CompileContent({"--out", root, sources + "sprites.sprite"}).code, 0);
  std::ofstream((dir / "scene.txt").string()) << "# a crate in front of a lamp\n"
                                                 "sprite 20 0 120 110 200\n"
                                                 "sprite 11 0 100 100 300 noaa\n"
                                                 "sprite 21 0 -10 470 400 mirror shade 0.6\n"
                                                 "sprite 99 0 5 5 5\n";
  const std::string picture = (dir / "compose.png").string();
  const ProgramRun run = RunProgram("spriteview", {"compose", "--file", root + "/GameData/sprites.iff", "--scene",
                                                   (dir / "scene.txt").string(), "--default-palette",
                                                   root + "/GameData/GlobalCLUT.pal", "--out", picture});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out,
            "rect 110 120 142 136\n"
            "rect 81 90 101 110\n"
            "rect 470 -10 498 10\n"
            "rect 2147483647 2147483647 -2147483648 -2147483648\n");
  const auto image = platform::ReadPngFile(picture);
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->width, 640);
  EXPECT_EQ(image->height, 480);
  size_t lit = 0;
  for (uint8_t v : image->pixels) lit += v != 0;
  EXPECT_GT(lit, 100u);
  std::ofstream((dir / "bad.txt").string()) << "sprite 1 2\n";
  EXPECT_EQ(RunProgram("spriteview", {"compose", "--file", root + "/GameData/sprites.iff", "--scene",
                                      (dir / "bad.txt").string(), "--out", picture})
                .code,
            1);
}

}  // namespace
