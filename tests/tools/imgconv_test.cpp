#include <gtest/gtest.h>

#include "platform/PngFile.h"
#include "support/RunProgram.h"
#include "support/TempFolder.h"
#include "ui/graphics/Rle8Bitmap.h"

namespace {

using tova_test::RunProgram;

TEST(ImgconvTest, WritesThePictureAndDescribesIt) {
  tova_test::TempFolder t;
  Rle8Picture p;
  p.width = 3;
  p.height = 2;
  p.palette = {0xFF0000, 0xFF00FF, 0x00FF00};
  p.indices = {0, 1, 2, 2, 2, 0};
  t.Write("in.bmp", WriteRle8Bitmap(p));
  const auto run = RunProgram("imgconv", {t / "in.bmp", t / "out.png"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, "bmp 3 2 colours 3 transparent 1\n");
  auto image = platform::ReadPngFile(t / "out.png");
  ASSERT_TRUE(image);
  const uint8_t* magenta = image->At(1, 0);
  EXPECT_EQ(magenta[0] + magenta[1] + magenta[2], 0) << "transparent pixels stay black";
  EXPECT_EQ(image->At(0, 0)[0], 255);
  EXPECT_EQ(image->At(0, 1)[1], 255);
}

TEST(ImgconvTest, UnloadableFileSaysWhy) {
  tova_test::TempFolder t;
  t.Write("bad.bmp", "BMnot really");
  const auto run = RunProgram("imgconv", {t / "bad.bmp", t / "out.png"});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("cannot decode"), std::string::npos) << run.err;
  EXPECT_FALSE(t.Has("out.png"));
}

TEST(ImgconvTest, PngThroughBmpAndBackKeepsThePixels) {
  tova_test::TempFolder t;
  platform::Image a;
  a.width = 5;
  a.height = 3;
  a.channels = 3;
  for (int i = 0; i < 15; ++i)
    for (int c = 0; c < 3; ++c) a.pixels.push_back(static_cast<uint8_t>(i * 17 + c * 80));
  ASSERT_TRUE(platform::WritePngFile(t / "a.png", a));
  auto run = RunProgram("imgconv", {t / "a.png", t / "b.bmp"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, "image 5 3\n");
  run = RunProgram("imgconv", {t / "b.bmp", t / "c.png"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, "image 5 3\n");
  auto c = platform::ReadPngFile(t / "c.png");
  ASSERT_TRUE(c);
  ASSERT_EQ(c->channels, 3);
  EXPECT_EQ(c->pixels, a.pixels);
}

TEST(ImgconvTest, JpegWrittenAndReadBackKeepsItsSize) {
  tova_test::TempFolder t;
  platform::Image a;
  a.width = 40;
  a.height = 24;
  a.channels = 3;
  a.pixels.assign(40 * 24 * 3, 128);
  ASSERT_TRUE(platform::WritePngFile(t / "a.png", a));
  ASSERT_EQ(RunProgram("imgconv", {t / "a.png", t / "b.jpeg"}).code, 0);
  const auto run = RunProgram("imgconv", {t / "b.jpeg", t / "c.png"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, "image 40 24\n");
}

TEST(ImgconvTest, UnknownFormatsAreNamed) {
  tova_test::TempFolder t;
  t.Write("a.tga", "whatever");
  auto run = RunProgram("imgconv", {t / "a.tga", t / "b.png"});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("no codec for tga"), std::string::npos) << run.err;

  platform::Image a;
  a.width = a.height = 1;
  a.channels = 3;
  a.pixels = {1, 2, 3};
  ASSERT_TRUE(platform::WritePngFile(t / "a.png", a));
  run = RunProgram("imgconv", {t / "a.png", t / "b.gif"});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("no codec for gif"), std::string::npos) << run.err;
  run = RunProgram("imgconv", {t / "missing.png", t / "b.png"});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("cannot open"), std::string::npos) << run.err;
}

// The content compiler makes the starter pattern from its PNG source; imgconv
// shows it as the game draws it: each colour at 5-6-5 (widened again by bit
// replication), magenta left black.
TEST(ImgconvTest, ContentPatternShowsItsPicture) {
  tova_test::TempFolder t;
  const std::string content = std::string(TOVA_SOURCE_DIR) + "/content";
  auto run = RunProgram("contentc", {"--out", t.path(), "UIGraphics/Demo/pattern.png"}, content);
  ASSERT_EQ(run.code, 0) << run.err;
  run = RunProgram("imgconv", {t / "UIGraphics/Demo/pattern.bmp", t / "out.png"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, "bmp 64 48 colours 75 transparent 74\n");
  const auto source = platform::ReadPngFile(content + "/UIGraphics/Demo/pattern.png");
  const auto shown = platform::ReadPngFile(t / "out.png");
  ASSERT_TRUE(source && shown);
  ASSERT_EQ(shown->width, 64);
  ASSERT_EQ(shown->height, 48);
  int magenta = 0;
  for (int32_t y = 0; y < 48; ++y)
    for (int32_t x = 0; x < 64; ++x) {
      const uint8_t* s = source->At(x, y);
      const uint8_t* d = shown->At(x, y);
      if (s[0] == 255 && s[1] == 0 && s[2] == 255) {
        ++magenta;
        EXPECT_EQ(d[0] | d[1] | d[2], 0) << x << "," << y;
        continue;
      }
      const int r = s[0] >> 3, g = s[1] >> 2, b = s[2] >> 3;
      EXPECT_EQ(d[0], r << 3 | r >> 2) << x << "," << y;
      EXPECT_EQ(d[1], g << 2 | g >> 4) << x << "," << y;
      EXPECT_EQ(d[2], b << 3 | b >> 2) << x << "," << y;
    }
  EXPECT_EQ(magenta, 32 * 8);
}

TEST(ImgconvTest, ContentCompilerRefusesPicturesOfTooManyColours) {
  tova_test::TempFolder t;
  platform::Image a;
  a.width = 300;
  a.height = 1;
  a.channels = 3;
  for (int i = 0; i < 300; ++i) a.pixels.insert(a.pixels.end(), {static_cast<uint8_t>(i), static_cast<uint8_t>(i / 256), 0});
  const auto bytes = platform::WritePngMemory(a);
  ASSERT_TRUE(bytes);
  t.Write("src/many.png", *bytes);
  const auto run = RunProgram("contentc", {"--out", t / "out", "many.png"}, t / "src");
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("more than 256 colours"), std::string::npos) << run.err;
  EXPECT_FALSE(t.Has("out/many.bmp"));
}

}  // namespace
