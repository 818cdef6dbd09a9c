#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "support/FakeFont.h"
#include "ui/controls/cGZWinCtrlMgr.h"
#include "ui/controls/cGZWinText.h"
#include "ui/graphics/cGZBuffer.h"

namespace {

using tova_test::FakeFont;

// A font service that counts what is given back to it, per font.
class CountingFontSys : public cIGZFontSys {
public:
    uint32_t AddRef() override { return 1; }
    uint32_t Release() override { return 1; }
    bool Init() override { return true; }
    bool Shutdown() override { return true; }
    cIGZFont* GetFont(const FontRequest&) override { return nullptr; }
    int32_t ReleaseFont(cIGZFont* font) override {
        ++released[font];
        return 0;
    }
    bool SetFaceName(int32_t, const cRZString&) override { return true; }
    bool GetFaceName(int32_t, cRZString&) const override { return false; }
    void SetFontFolder(const cRZString&) override {}

    std::map<cIGZFont*, int> released;
};

class RecordingHandles : public cIGZCtrlSoundHandles {
public:
    void ReleaseHandle(intptr_t handle, int32_t argument) override { given.push_back({handle, argument}); }
    std::vector<std::pair<intptr_t, int32_t>> given;
};

class ControlManager : public ::testing::Test {
protected:
    void SetUp() override {
        GZSetFontSys(&fonts);
        mgr.Init(&handles);
    }
    void TearDown() override {
        mgr.Shutdown();
        GZSetFontSys(nullptr);
    }
    CountingFontSys fonts;
    RecordingHandles handles;
    cGZWinCtrlMgr mgr;
};

TEST_F(ControlManager, ReplacingAFontReleasesTheOldOneExactlyOnce) {
    FakeFont first, second;
    mgr.SetFont(0, &first);
    mgr.SetFont(0, &second);
    EXPECT_EQ(fonts.released[&first], 1);
    EXPECT_EQ(fonts.released[&second], 0);
    EXPECT_EQ(mgr.GetFont(0), &second);

    mgr.SetFont(0, nullptr);  // an entry that answers null
    EXPECT_EQ(fonts.released[&second], 1);
    EXPECT_EQ(mgr.GetFont(0), nullptr);
    EXPECT_EQ(mgr.GetFont(7), nullptr);

    mgr.SetFont(1, &first);
    mgr.Shutdown();
    EXPECT_EQ(fonts.released[&first], 2);
    EXPECT_EQ(fonts.released.count(nullptr), 0u);
    EXPECT_EQ(mgr.GetFont(1), nullptr);
}

TEST_F(ControlManager, TablesAnswerZeroForMissingKeysAndShutdownGivesEverythingBack) {
    EXPECT_EQ(mgr.GetColour(3), 0u);
    EXPECT_EQ(mgr.GetHandle(3), 0);
    EXPECT_EQ(mgr.GetImage(1), nullptr);
    EXPECT_FALSE(mgr.IsImageColourKeyed(1));

    mgr.SetColour(3, 0x1234);
    mgr.SetHandle(5, 77);
    mgr.SetHandle(6, 78);
    auto* strip = new cGZBuffer;
    mgr.SetImage(1, strip, true);
    mgr.SetImage(2, new cGZBuffer, false);
    mgr.SetImage(2, new cGZBuffer, false);  // the first kind-2 buffer goes (ASan would see a leak)
    EXPECT_EQ(mgr.GetColour(3), 0x1234u);
    EXPECT_EQ(mgr.GetHandle(5), 77);
    EXPECT_EQ(mgr.GetImage(1), strip);
    EXPECT_TRUE(mgr.IsImageColourKeyed(1));
    EXPECT_FALSE(mgr.IsImageColourKeyed(2));

    EXPECT_TRUE(mgr.Shutdown());
    EXPECT_EQ((std::vector<std::pair<intptr_t, int32_t>>{{77, 1}, {78, 1}}), handles.given);
    EXPECT_EQ(mgr.GetColour(3), 0u);
    EXPECT_EQ(mgr.GetImage(1), nullptr);
    EXPECT_FALSE(mgr.IsInitialised());
    EXPECT_FALSE(mgr.Shutdown());  // nothing when not initialised
    EXPECT_EQ(handles.given.size(), 2u);
}

TEST_F(ControlManager, DefaultCaptionColoursForFourAndSixColumns) {
    const cIGZWinCtrlMgr::CaptionColours four{1, 2, 3, 4}, six{5, 6, 7, 8};
    mgr.SetDefaultCaptionColours(4, four);
    mgr.SetDefaultCaptionColours(6, six);
    mgr.SetDefaultCaptionColours(5, {9, 9, 9, 9});  // ignored
    EXPECT_EQ(mgr.GetDefaultCaptionColours(4), four);
    EXPECT_EQ(mgr.GetDefaultCaptionColours(6), six);
    EXPECT_EQ(mgr.GetDefaultCaptionColours(5), six);
    EXPECT_EQ(mgr.GetDefaultCaptionColours(0), six);
}

TEST_F(ControlManager, CreateTextMakesAClearSingleLineLabelSizedToItsText) {
    FakeFont font;
    mgr.SetFont(cIGZWinCtrlMgr::kFontLabel, &font);
    cGZWinText* label = mgr.CreateText(42, cRZString("Hello"));
    EXPECT_EQ(label->GetCommandValue(), 42);
    EXPECT_EQ(label->GetFont(), &font);
    EXPECT_EQ(label->GetAlignment(), 1);
    EXPECT_FALSE(label->TestTextFlag(cGZWinText::kFlagOpaque));
    EXPECT_FALSE(label->TestTextFlag(cGZWinText::kFlagWrap));
    EXPECT_TRUE(label->TestTextFlag(cGZWinText::kFlagPassThrough));
    EXPECT_EQ(label->Width(), 5 * FakeFont::kAdvance + 4);
    EXPECT_EQ(label->Height(), FakeFont::kLineHeight + 4);
    delete label;
}

TEST(ControlManagerGlobal, IsOneObjectForTheProcess) {
    ASSERT_NE(GetWinCtrlMgr(), nullptr);
    EXPECT_EQ(GetWinCtrlMgr(), GetWinCtrlMgr());
}

}  // namespace
