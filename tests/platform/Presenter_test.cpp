#include "platform/HostWindow.h"
#include "platform/Presenter.h"

#include "support/GoldenImage.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

std::unique_ptr<Surface> Frame(uint16_t colour) {
    auto frame = Surface::Create(64, 48, PixelLayout::Rgb565);
    frame->Fill(nullptr, colour);
    return frame;
}

TEST(HeadlessPresenter, ShowsOnlyPresentedRectangles) {
    auto presenter = HeadlessPresenter::Create(64, 48, PixelLayout::Rgb565);
    ASSERT_TRUE(presenter);
    auto red = Frame(0xF800);
    ASSERT_TRUE(presenter->Present(*red, {{0, 0, 64, 48}}));
    auto blue = Frame(0x001F);
    // The second rectangle reaches past the frame and is clipped; the third
    // lies wholly outside and is dropped.
    ASSERT_TRUE(presenter->Present(*blue, {{0, 0, 10, 10}, {60, 40, 70, 50}, {100, 100, 110, 110}}));
    EXPECT_EQ(presenter->Shown().Pixel16(5, 5), 0x001F);
    EXPECT_EQ(presenter->Shown().Pixel16(63, 47), 0x001F);
    EXPECT_EQ(presenter->Shown().Pixel16(20, 20), 0xF800) << "a region not presented keeps its stale picture";
    ASSERT_EQ(presenter->Log().size(), 2u);
    EXPECT_EQ(presenter->Log()[1], (std::vector<Rect>{{0, 0, 10, 10}, {60, 40, 64, 48}}));
    auto grabbed = presenter->Grab();
    EXPECT_EQ(grabbed->Pixel16(20, 20), 0xF800);
}

TEST(HeadlessPresenter, RefusesFramesOfAnotherShape) {
    auto presenter = HeadlessPresenter::Create(64, 48, PixelLayout::Rgb565);
    auto small = Surface::Create(32, 48, PixelLayout::Rgb565);
    auto other = Surface::Create(64, 48, PixelLayout::Rgb555);
    EXPECT_FALSE(presenter->Present(*small, {{0, 0, 1, 1}}));
    EXPECT_FALSE(presenter->Present(*other, {{0, 0, 1, 1}}));
    EXPECT_FALSE(HeadlessPresenter::Create(64, 48, PixelLayout::Depth16));
}

TEST(HeadlessPresenter, WritesThePictureAsPng) {
    tova_test::TempFolder dir;
    auto presenter = HeadlessPresenter::Create(64, 48, PixelLayout::Rgb555);
    auto frame = Surface::Create(64, 48, PixelLayout::Rgb555);
    for (int32_t x = 0; x < 64; ++x) {
        Rect column{x, 0, x + 1, 48};
        frame->Fill(&column, PackRgb(PixelLayout::Rgb555, static_cast<uint8_t>(x * 4), 128, static_cast<uint8_t>(255 - x * 4)));
    }
    ASSERT_TRUE(presenter->Present(*frame, {frame->Bounds()}));
    ASSERT_TRUE(presenter->WritePng(dir / "shown.png"));
    auto image = ReadPngFile(dir / "shown.png");
    ASSERT_TRUE(image);
    EXPECT_TRUE(tova_test::MatchesGolden(*image, "platform/golden/presenter_gradient.png"));
}

// Under SDL's dummy video driver the real presenter runs its software
// renderer; what it grabs must be what it was given.
TEST(SdlPresenter, GrabsWhatItPresented) {
    std::string error;
    auto window = HostWindow::CreateSdl({"test", 64, 48, WindowFrame::Caption}, &error);
    if (!window) GTEST_SKIP() << "no SDL video: " << error;
    for (PixelLayout layout : {PixelLayout::Rgb565, PixelLayout::Rgb555}) {
        auto presenter = window->CreatePresenter(64, 48, layout, &error);
        ASSERT_TRUE(presenter) << error;
        auto frame = Surface::Create(64, 48, layout);
        for (int32_t y = 0; y < 48; ++y)
            for (int32_t x = 0; x < 64; ++x)
                frame->SetPixel(x, y, PackRgb(layout, static_cast<uint8_t>(x * 4), static_cast<uint8_t>(y * 5), 77));
        ASSERT_TRUE(presenter->Present(*frame, {frame->Bounds()}));
        auto stale = Surface::Create(64, 48, layout);
        ASSERT_TRUE(presenter->Present(*stale, {{0, 0, 8, 8}}));
        auto grabbed = presenter->Grab();
        ASSERT_TRUE(grabbed);
        for (int32_t y = 0; y < 48; ++y)
            for (int32_t x = 0; x < 64; ++x) {
                const uint16_t want = (x < 8 && y < 8) ? 0 : frame->Pixel16(x, y);
                ASSERT_EQ(grabbed->Pixel16(x, y), want) << x << "," << y;
            }
    }
}

}  // namespace
}  // namespace platform
