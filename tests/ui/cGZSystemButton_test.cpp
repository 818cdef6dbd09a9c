#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "WinTestHarness.h"
#include "ui/controls/cGZSystemButton.h"
#include "ui/controls/cGZWinCtrlMgr.h"

namespace {

using namespace tova_test;

// A font whose letters are (size - 6) pixels wide, so each step down in
// size makes a caption narrower; it records the strings it draws.
class SizedFont : public FakeFont {
public:
    explicit SizedFont(int32_t size) : mnSize(size) {}
    int32_t GetSize() const override { return mnSize; }
    int32_t GetAdvance(uint8_t) const override { return mnSize - 6; }
    int32_t DrawText(cGZBuffer& buffer, int32_t x, int32_t y, const char* text, int32_t length, const cRZRect* clip,
                     int32_t from, int32_t to) override {
        drawn.push_back({std::string(text, static_cast<size_t>(length)), x});
        return FakeFont::DrawText(buffer, x, y, text, length, clip, from, to);
    }
    int32_t mnSize;
    std::vector<std::pair<std::string, int32_t>> drawn;
};

class SizedFontSys : public FakeFontSys {
public:
    cIGZFont* GetFont(const FontRequest& request) override {
        requested.push_back(request.size);
        auto& font = fonts[request.size];
        if (!font) font = std::make_unique<SizedFont>(request.size);
        font->AddRef();
        return font.get();
    }
    int32_t ReleaseFont(cIGZFont* font) override {
        ++released[font->GetSize()];
        font->Release();
        return 0;
    }
    std::map<int32_t, std::unique_ptr<SizedFont>> fonts;
    std::map<int32_t, int> released;
    std::vector<int32_t> requested;
};

// A 4-column strip of 31-pixel cells (caps of 15), each cell's left cap,
// middle pixel and right cap in their own colours.
cGZBuffer* MakeStrip() {
    cGZBuffer* strip = GZCreateScreenBuffer(4 * 31, 20);
    for (int32_t col = 0; col < 4; ++col) {
        const int32_t x = col * 31;
        strip->FillRect4(strip->MakeColor(255, 0, 0), x, 0, x + 15, 20);
        strip->FillRect4(strip->MakeColor(0, 255, 0), x + 15, 0, x + 16, 20);
        strip->FillRect4(strip->MakeColor(0, 0, 255), x + 16, 0, x + 31, 20);
    }
    return strip;
}

class SystemButton : public WinTest {
protected:
    void SetUp() override {
        WinTest::SetUp();
        GZSetFontSys(&sized);
        strip = MakeStrip();
    }
    void TearDown() override {
        WinTest::TearDown();
        if (strip) strip->Release();
    }
    SizedFontSys sized;
    cGZBuffer* strip = nullptr;
};

TEST_F(SystemButton, TheFactoryMakesAOneLetterCaptionAHundredWide) {
    cGZWinCtrlMgr mgr;
    mgr.Init();
    strip->AddRef();
    mgr.SetImage(cIGZWinCtrlMgr::kImageSystemButton, strip, false);
    cGZSystemButton* button = mgr.CreateSystemButton(7, cRZString("X"));
    EXPECT_EQ(button->Width(), 100);
    EXPECT_EQ(button->Height(), 20);
    EXPECT_EQ(button->GetCommandValue(), 7);
    EXPECT_EQ(button->mnNotifyMode, 0);
    EXPECT_TRUE(strip->HasColorKey());  // kind 0 is always colour-keyed
    EXPECT_EQ(button->GetFontSize(), 12);
    root->AddChild(button);
    mgr.Shutdown();
}

TEST_F(SystemButton, TheCaptionSizesTheButtonAroundItsCentre) {
    auto* button = Add<cGZSystemButton>(root, 100, 50, 200, 70);
    button->SetStrip(strip);
    EXPECT_EQ(button->CapWidth(), 15);
    button->SetText(cRZString("ABCDEFGHIJ"));  // 10 letters of 6 at size 12
    EXPECT_EQ(button->GetCaptionWidth(), 60);
    EXPECT_EQ(button->Width(), 60 + 2 * 15 - 20);
    EXPECT_EQ(button->GetArea().left, 150 - 35);
    EXPECT_EQ(button->mCaptionRect.left, 5);
    EXPECT_EQ(button->GetCaptionOffset(1), std::make_pair(2, 2));
}

TEST_F(SystemButton, ANarrowerButtonShrinksTheFontStepByStepThenCutsTheCaption) {
    auto* button = Add<cGZSystemButton>(root, 0, 0, 100, 20);
    button->SetStrip(strip);
    button->SetText(cRZString("ABCDEFGHIJ"));
    sized.requested.clear();
    struct Case {
        int32_t width, size, shown;
    };
    // Caption area = width - 30 + 20; letters are size - 6 wide.
    const Case cases[] = {{50, 10, 10}, {70, 12, 10}, {30, 8, 10}, {28, 8, 6}, {10, 8, 0}};
    for (const Case& c : cases) {
        button->SetArea(0, 0, c.width, 20);
        EXPECT_EQ(button->GetFontSize(), c.size) << c.width;
        EXPECT_EQ(button->VisibleCaptionLength(), c.shown) << c.width;
    }
    // From 12 down one size at a time, never below 8.
    EXPECT_EQ(sized.requested, (std::vector<int32_t>{11, 10, 12, 11, 10, 9, 8, 12, 11, 10, 9, 8, 12, 11, 10, 9, 8}));

    button->SetArea(0, 0, 28, 20);
    Frame();
    const auto& drawn = sized.fonts[8]->drawn;
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0], std::make_pair(std::string("ABCDEF"), 5));
    EXPECT_EQ(drawn[1], std::make_pair(std::string("..."), 5 + 12));
}

TEST_F(SystemButton, FontsGoBackToTheServiceAndTheStripStretches) {
    auto* button = Add<cGZSystemButton>(root, 100, 100, 200, 120);
    button->SetStrip(strip);
    button->SetText(cRZString("ABCDEFGHIJKLMNOPQRST"));  // 120 wide at size 12
    EXPECT_EQ(button->Width(), 130);
    Frame();
    const platform::Image image = Screen();
    const int32_t left = button->GetArea().left;
    EXPECT_EQ(image.At(left + 2, 101)[0], 255);      // left cap
    EXPECT_EQ(image.At(left + 60, 101)[1], 255);     // the middle, tiled
    EXPECT_EQ(image.At(left + 128, 101)[2], 255);    // right cap
    button->SetArea(100, 100, 130, 120);
    mgr->DestroyWin(button);
    int releases = 0;
    for (const auto& [size, count] : sized.released) releases += count;
    // Every font taken was given back.
    EXPECT_EQ(releases, static_cast<int>(sized.requested.size()));
}

}  // namespace
