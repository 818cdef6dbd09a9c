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
  EXPECT_NE(run.err.find("not a bitmap"), std::string::npos) << run.err;
}

}  // namespace
