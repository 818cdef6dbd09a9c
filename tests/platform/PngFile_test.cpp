#include "platform/PngFile.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(PngFile, SurfaceRoundTripsThroughAFile) {
    tova_test::TempFolder dir;
    for (PixelLayout layout : {PixelLayout::Rgb565, PixelLayout::Rgb555}) {
        auto s = Surface::Create(19, 7, layout);
        for (int32_t y = 0; y < 7; ++y)
            for (int32_t x = 0; x < 19; ++x)
                s->SetPixel(x, y, (static_cast<uint32_t>(x) * 3449u + static_cast<uint32_t>(y) * 7919u) &
                                      (layout == PixelLayout::Rgb555 ? 0x7FFF : 0xFFFF));
        const std::string path = dir / "frame.png";
        std::string error;
        ASSERT_TRUE(WritePngFile(path, ImageFromSurface(*s), &error)) << error;
        auto image = ReadPngFile(path, &error);
        ASSERT_TRUE(image) << error;
        EXPECT_EQ(image->channels, 3);
        auto back = SurfaceFromImage(*image, layout);
        ASSERT_TRUE(back);
        for (int32_t y = 0; y < 7; ++y)
            for (int32_t x = 0; x < 19; ++x) ASSERT_EQ(back->Pixel16(x, y), s->Pixel16(x, y));
    }
}

TEST(PngFile, RgbaKeepsAlpha) {
    Image image;
    image.width = 2;
    image.height = 1;
    image.channels = 4;
    image.pixels = {1, 2, 3, 0, 250, 251, 252, 128};
    auto bytes = WritePngMemory(image);
    ASSERT_TRUE(bytes);
    auto back = ReadPngMemory(*bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->channels, 4);
    EXPECT_EQ(back->pixels, image.pixels);
}

TEST(PngFile, DamagedFilesAreRefusedWithAReason) {
    Image image;
    image.width = 8;
    image.height = 8;
    image.channels = 3;
    image.pixels.assign(8 * 8 * 3, 77);
    auto bytes = WritePngMemory(image);
    ASSERT_TRUE(bytes);
    std::string error;
    EXPECT_FALSE(ReadPngMemory(bytes->substr(0, bytes->size() / 2), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(ReadPngMemory("not a picture", &error));
    EXPECT_FALSE(ReadPngFile("/nonexistent/x.png", &error));
    EXPECT_NE(error.find("/nonexistent/x.png"), std::string::npos);
    Image empty;
    EXPECT_FALSE(WritePngMemory(empty, &error));
}

}  // namespace
}  // namespace platform
