#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "gamedata/UIStrings.h"
#include "resfile/StringSet.h"
#include "support/CompileContent.h"
#include "support/ScratchDir.h"
#include "windows/UIPoint.h"

namespace {

// A tiny interface text file: set 900 with a point and a tooltip.
class WindowTexts : public ::testing::Test {
protected:
    tova_test::ScratchDir dir;
    std::string previous;
    void SetUp() override {
        const std::string source = (dir / "ui.res").string();
        std::ofstream(source) << "file GameData/UIText.iff\n"
                                 "strings 900 \"fixture\"\n"
                                 "language 1\n"
                                 "\"(10;20)\"\n"
                                 "\"A tooltip\"\n"
                                 "end\n";
        const auto built = tova_test::CompileContent({"--out", dir.Path().string(), source});
        ASSERT_EQ(built.code, 0) << built.err;
        previous = tova::GetUIDirectory();
        tova::SetUIDirectory((dir / "GameData").string());
    }
    void TearDown() override { tova::SetUIDirectory(previous); }
};

TEST_F(WindowTexts, ASetReadsByEntryAndBothSpellingsNameTheSameFile) {
    for (const char* name : {"UIText", "uitext"}) {
        StringSet set;
        ASSERT_TRUE(tova::LoadUIStringSet(900, name, set, false)) << name;
        ASSERT_NE(set.GetString(1), nullptr);
        EXPECT_EQ(windows::ParseUIPoint(set.GetString(1)), (windows::UIPoint{10, 20}));
        EXPECT_STREQ(set.GetString(2), "A tooltip");
    }
}

TEST_F(WindowTexts, AMissingSetFailsAndLeavesTheSetEmptyEveryTimeItIsAsked) {
    for (int round = 0; round < 2; ++round) {
        StringSet set;
        EXPECT_FALSE(tova::LoadUIStringSet(901, "UIText", set, false));
        EXPECT_EQ(set.GetString(1), nullptr);
    }
    StringSet none;
    EXPECT_FALSE(tova::LoadUIStringSet(900, "live", none, false)) << "no live file in this folder";
}

}  // namespace

namespace {

TEST(LiveTexts, ThePeoplePanelsSetsComeFromTheLiveFile) {
    tova_test::ScratchDir dir;
    const auto built = tova_test::CompileContent(
        {"--out", dir.Path().string(), std::string(TOVA_SOURCE_DIR) + "/content/GameData/live.res"});
    ASSERT_EQ(built.code, 0) << built.err;
    const std::string previous = tova::GetUIDirectory();
    tova::SetUIDirectory((dir / "GameData").string());
    StringSet set;
    const bool loaded = tova::LoadUIStringSet(134, "live", set, false);
    tova::SetUIDirectory(previous);
    ASSERT_TRUE(loaded);
    ASSERT_NE(set.GetString(5), nullptr) << "five tab tooltips";
    EXPECT_STREQ(set.GetString(1), "Mood");
}

}  // namespace
