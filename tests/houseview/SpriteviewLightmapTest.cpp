// spriteview lightmap on a fresh data root, then again over its cache.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/PngFile.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace {

TEST(SpriteviewLightmap, BuildsThenReadsAndWritesItsPictures) {
  tova_test::ScratchDir dir;
  const std::string root = (dir / "root").string();
  const std::string out = (dir / "out").string();
  const tova_test::ProgramRun first = tova_test::RunProgram("spriteview", {"lightmap", "--data", root, "--out", out});
  ASSERT_EQ(first.code, 0) << first.err;
  EXPECT_EQ(first.out, "lightmap R 12 N 3.2 F 12 D 4 bytes 2271104 built\n");
  EXPECT_EQ(std::filesystem::file_size(dir / "root" / "GameData" / "lightmap.dat"), 2271104u);

  const tova_test::ProgramRun second = tova_test::RunProgram("spriteview", {"lightmap", "--data", root, "--out", out});
  ASSERT_EQ(second.code, 0) << second.err;
  EXPECT_EQ(second.out, "lightmap R 12 N 3.2 F 12 D 4 bytes 2271104 read\n");

  struct Picture {
    const char* name;
    int32_t width, height;
  };
  for (const Picture& p : {Picture{"floor_z1.png", 224, 112}, Picture{"floor_z2.png", 448, 224},
                           Picture{"floor_z3.png", 896, 448}, Picture{"strips_z3_d0.png", 9 * 64, 296}}) {
    const auto image = platform::ReadPngFile((dir / "out" / p.name).string());
    ASSERT_TRUE(image.has_value()) << p.name;
    EXPECT_EQ(image->width, p.width) << p.name;
    EXPECT_EQ(image->height, p.height) << p.name;
  }
}

TEST(SpriteviewLightmap, RefusesAMissingArgument) {
  const tova_test::ProgramRun run = tova_test::RunProgram("spriteview", {"lightmap", "--data", "x"});
  EXPECT_EQ(run.code, 2);
  EXPECT_NE(run.err.find("usage"), std::string::npos);
}

}  // namespace
