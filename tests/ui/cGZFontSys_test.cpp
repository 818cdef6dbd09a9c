// The font service: file names by language, size and boldness; sharing of
// the current language's fonts; the face table; releasing.
#include "ui/graphics/cGZFontSys.h"

#include <gtest/gtest.h>

#include <memory>

#include "FontFixtures.h"
#include "framework/cGZFrameWorkNeighbours.h"
#include "ui/graphics/cIGZFont.h"

namespace {

class FontSysTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string bytes = tova_test::FontBytes(tova_test::AsciiGlyphs());
        for (const char* name : {"VariableSans_12.ffn", "VariableSans_12_B.ffn", "Russian/VariableSans_09.ffn"})
            folder.Write(std::string("Fonts/") + name, bytes);
        fonts.Init();
        fonts.SetFontFolder((folder / "Fonts/").c_str());
    }
    static cIGZFontSys::FontRequest Request(int32_t size, uint32_t flags, int32_t language) {
        return {5, size, flags, language};
    }
    static std::string PathOf(const cIGZFont* font) {
        cRZString path;
        font->GetPath(path);
        return path;
    }

    tova_test::TempFolder folder;
    uint32_t language = 1;
    cGZFontSys fonts{[this] { return language; }};
};

TEST_F(FontSysTest, CurrentLanguageFontsAreSharedExplicitOnesAreNot) {
    cIGZFont* first = fonts.GetFont(Request(12, 0, 0));
    cIGZFont* second = fonts.GetFont(Request(12, 0, 0));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->GetColor(), 0xFFFFu);
    cIGZFont* bold = fonts.GetFont(Request(12, 1, 0));
    ASSERT_NE(bold, nullptr);
    EXPECT_NE(bold, first);
    EXPECT_EQ(PathOf(bold), folder / "Fonts/VariableSans_12_B.ffn");
    cIGZFont* own1 = fonts.GetFont(Request(12, 0, 3));
    cIGZFont* own2 = fonts.GetFont(Request(12, 0, 3));
    ASSERT_NE(own1, nullptr);
    EXPECT_NE(own1, own2);
    EXPECT_NE(own1, first);
    EXPECT_EQ(fonts.ListedFontCount(), 2u);
    // Explicit-language fonts are not listed: ReleaseFont leaves them alone
    // and their owner releases them.
    EXPECT_EQ(fonts.ReleaseFont(own1), 0);
    EXPECT_EQ(own1->Release(), 0u);
    EXPECT_EQ(own2->Release(), 0u);
    // A shared font leaves the list with its last caller's release.
    fonts.ReleaseFont(first);
    EXPECT_EQ(fonts.ListedFontCount(), 2u);
    fonts.ReleaseFont(second);
    EXPECT_EQ(fonts.ListedFontCount(), 1u);
    fonts.ReleaseFont(bold);
    EXPECT_EQ(fonts.ListedFontCount(), 0u);
}

TEST_F(FontSysTest, ShadowRequestSetsTheFlagAndMissingFilesGiveNothing) {
    cIGZFont* shadowed = fonts.GetFont(Request(12, 16, 0));
    ASSERT_NE(shadowed, nullptr);
    EXPECT_TRUE(shadowed->HasFlag(cIGZFont::kFlagShadow));
    EXPECT_EQ(fonts.GetFont(Request(12, 16, 0)), shadowed) << "shared by its flags";
    EXPECT_EQ(fonts.GetFont(Request(30, 0, 0)), nullptr);
    EXPECT_EQ(fonts.ListedFontCount(), 1u);
    language = 13;
    cIGZFont* russian = fonts.GetFont(Request(9, 0, 0));
    ASSERT_NE(russian, nullptr);
    EXPECT_EQ(PathOf(russian), folder / "Fonts/Russian/VariableSans_09.ffn");
    fonts.Shutdown();
    EXPECT_EQ(fonts.ListedFontCount(), 0u);
    // The callers' references outlive the list.
    EXPECT_TRUE(shadowed->HasFlag(cIGZFont::kFlagShadow));
    EXPECT_EQ(shadowed->Release(), 1u);
    EXPECT_EQ(shadowed->Release(), 0u);
    EXPECT_EQ(russian->Release(), 0u);
}

TEST_F(FontSysTest, FileNamesByLanguageAndSize) {
    fonts.SetFontFolder("F/");
    struct Case {
        int32_t size;
        uint32_t flags;
        uint32_t language;
        const char* name;
    };
    const Case cases[] = {
        {12, 0, 1, "F/VariableSans_12.ffn"},     {12, 1, 1, "F/VariableSans_12_B.ffn"},
        {9, 0, 13, "F/Russian/VariableSans_09.ffn"}, {16, 1, 16, "F/Polish/VariableSans_16_B.ffn"},
        {12, 0, 15, "F/FONT12J.FON"},            {16, 0, 15, "F/FONT16J.FON"},
        {12, 0, 17, "F/font16gb.fon"},           {12, 0, 18, "F/font16b5.fon"},
        {12, 0, 19, "F/font20th.fon"},           {16, 0, 20, "F/FONT16K.FON"},
        {15, 0, 20, "F/FONT12K.FON"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fonts.FontFileName(c.size, c.flags, c.language), c.name) << c.language << " " << c.size;
}

TEST_F(FontSysTest, FaceTable) {
    cRZString name;
    EXPECT_TRUE(fonts.GetFaceName(2, name));
    EXPECT_EQ(name, "Courier New");
    EXPECT_FALSE(fonts.GetFaceName(5, name));
    EXPECT_EQ(name, "arial");
    EXPECT_TRUE(fonts.SetFaceName(5, "Mine"));
    EXPECT_TRUE(fonts.GetFaceName(5, name));
    EXPECT_EQ(name, "Mine");
    EXPECT_FALSE(fonts.SetFaceName(6, "x"));
    EXPECT_FALSE(fonts.SetFaceName(-1, "x"));
    EXPECT_EQ(fonts.GetServiceID(), 1100000);
    EXPECT_FALSE(fonts.OnTick(0));
}

TEST(FontSysProvider, FrameworkBuildsTheServiceThroughTheProvider) {
    const cGZFrameWorkProviders saved = RZGetFrameWorkProviders();
    cGZFontSys::RegisterProvider();
    ASSERT_TRUE(RZGetFrameWorkProviders().createFontSystem);
    std::unique_ptr<cIGZSystemService> service(RZGetFrameWorkProviders().createFontSystem());
    RZSetFrameWorkProviders(saved);
    EXPECT_EQ(service->GetServiceID(), 1100000);
    auto* fonts = dynamic_cast<cIGZFontSys*>(service.get());
    ASSERT_NE(fonts, nullptr);
    EXPECT_TRUE(fonts->Init());
    cRZString name;
    EXPECT_TRUE(fonts->GetFaceName(0, name));
    EXPECT_EQ(name, "Times New Roman");
}

}  // namespace
