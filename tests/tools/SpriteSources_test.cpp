#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/PngFile.h"
#include "resfile/MemResFile.h"
#include "resfile/SeqResFile.h"
#include "resfile/TypeCode.h"
#include "support/CompileContent.h"

namespace {

void SpriteSourcePng(const std::filesystem::path& path, int w, int h, std::vector<uint8_t> rgba) {
  platform::Image image;
  image.width = w;
  image.height = h;
  image.channels = 4;
  image.pixels = std::move(rgba);
  ASSERT_TRUE(platform::WritePngFile(path.string(), image));
}

class SpriteSourcesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A two-colour swatch (red, blue) and a 2x2 sprite: red, clear, blue, red.
    SpriteSourcePng(dir_ / "swatch.png", 2, 1, {255, 0, 0, 255, 0, 0, 255, 255});
    SpriteSourcePng(dir_ / "pic.png", 2, 2, {255, 0, 0, 255, 0, 0, 0, 0, 0, 0, 255, 255, 255, 0, 0, 255});
    SpriteSourcePng(dir_ / "green.png", 1, 1, {0, 255, 0, 255});
  }
  tova_test::ProgramRun Compile(const std::string& text) {
    std::ofstream((dir_ / "s.sprite").string()) << text;
    return tova_test::CompileContent({"--out", (dir_ / "data").string(), (dir_ / "s.sprite").string()});
  }
  tova_test::ScratchDir dir_;
};

TEST_F(SpriteSourcesTest, WritesPalettesSpritesAndThePaletteFile) {
  const auto run = Compile(
      "palettefile GameData/Test.pal swatch.png\n"
      "file GameData/test.iff\n"
      "palette 3 swatch.png\n"
      "sprite 5 502 palette=3 \"five\"\n  frame pic.png x=1 y=2\nend\n"
      "sprite2 6 1000 palette=-1\n  frame pic.png\nend\n");
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(std::filesystem::file_size(dir_ / "data/GameData/Test.pal"), 768u);
  StdResFile file;
  ASSERT_EQ(file.Open((dir_ / "data/GameData/test").string()), 0);
  for (const ResType type : {TypeCode("PALT"), TypeCode("SPR#"), TypeCode("SPR2")})
    EXPECT_EQ(file.CountResources(type), 1) << type;
}

TEST_F(SpriteSourcesTest, ReportsBadDescriptions) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"file a.iff\npalette 1 swatch.png\nsprite 1 502 palette=1\n frame green.png\nend\n", "is not in the palette"},
      {"file a.iff\npalette 1 swatch.png\nsprite 1 504 palette=1\n frame pic.png\nend\n", "500, 502, 503 or 506"},
      {"file a.iff\npalette 1 swatch.png\nsprite 1 502 palette=2\n frame pic.png\nend\n", "not declared"},
      {"file a.iff\npalette 1 swatch.png\nsprite 1 502 palette=1\n frame pic.png\n", "no 'end'"},
      {"file a.iff\nsprite 1 502\n frame missing.png\nend\n", "s.sprite:3"},
      {"palette 1 swatch.png\n", "bad value for 'palette'"},
  };
  for (const auto& c : cases) {
    const auto run = Compile(c.text);
    EXPECT_EQ(run.code, 1) << c.text;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
}

}  // namespace
