#include "platform/Display.h"
#include "platform/MessageQueue.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(Display, ModesAreSixteenBitWithTheRequestedSizeAdded) {
    HeadlessDisplay display;
    display.SetModes({{800, 600, 16}, {1280, 1024, 32}, {640, 480, 16}, {800, 600, 16}});
    EXPECT_EQ(display.Modes(1024, 768),
              (std::vector<DisplayMode>{{1024, 768, 16}, {800, 600, 16}, {640, 480, 16}}));
    EXPECT_EQ(display.Modes(640, 480), (std::vector<DisplayMode>{{800, 600, 16}, {640, 480, 16}}));
}

TEST(Display, DesktopFollowsTheRequestedDepthUntilItChanges) {
    HeadlessDisplay display;
    EXPECT_EQ(display.Desktop(16), (DisplayMode{1024, 768, 16}));
    MessageQueue queue;
    display.ChangeDepth(32, queue);
    EXPECT_EQ(display.Desktop(16).bitsPerPixel, 32);
    auto m = queue.Peek(true);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->message, kMsgDisplayChange);
    EXPECT_EQ(m->wParam, 32);
    EXPECT_EQ(m->lParam, (768 << 16) | 1024);
}

TEST(Display, HeadlessControls) {
    HeadlessDisplay display;
    ASSERT_EQ(display.Drivers().size(), 1u);
    EXPECT_EQ(display.Drivers()[0].guid, (std::array<uint8_t, 16>{}));
    display.SetVideoMemoryFree(1234);
    EXPECT_EQ(display.VideoMemoryFree(), 1234u);
    display.SetDesktop(1920, 1080, 24);
    EXPECT_EQ(display.Desktop(16), (DisplayMode{1920, 1080, 24}));
}

TEST(Display, SdlDisplayOffersOneDriverAndTheRequestedDepth) {
    std::string error;
    auto display = Display::CreateSdl(&error);
    if (!display) GTEST_SKIP() << "no SDL video: " << error;
    auto drivers = display->Drivers();
    ASSERT_EQ(drivers.size(), 1u);
    EXPECT_FALSE(drivers[0].description.empty());
    EXPECT_EQ(display->Desktop(16).bitsPerPixel, 16);
    auto modes = display->Modes(640, 480);
    EXPECT_NE(std::find(modes.begin(), modes.end(), DisplayMode{640, 480, 16}), modes.end());
    for (const DisplayMode& m : modes) EXPECT_EQ(m.bitsPerPixel, 16);
}

}  // namespace
}  // namespace platform
