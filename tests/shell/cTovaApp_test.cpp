#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/cGZFrameWork.h"
#include "shell/cTovaApp.h"

namespace {

TEST(cTovaApp, TheLoadingMusicVolumeTableIsNeverReadPastItsEnd) {
    const struct {
        int32_t step, volume;
    } cases[] = {{-3, 0}, {0, 0}, {1, 300}, {5, 690}, {10, 1024}, {11, 1024}, {255, 1024}};
    for (const auto& c : cases) EXPECT_EQ(cTovaApp::LoadingMusicVolume(c.step), c.volume) << c.step;
}

TEST(cTovaApp, TheMissingAssetsReportCollectsItsSentencesOnlyWhenAskedFor) {
    cTovaApp app("Tova");
    app.ReportUnreadCmx("a.cmx");
    EXPECT_EQ(app.MissingAssetsReport(), "");
    app.SetReportAssets(true);
    app.ReportUnreadCmx("a.cmx");
    app.ReportBlankAnimation("Pat", 8, "misc", 4);
    app.ReportBlankAnimation("Pat", 30, "glob", 5);
    app.ReportBlankPairAnimation("Sofa", "Pat", 3, 2);
    app.ReportMissingCfp("", "x");
    app.ReportMissingCfp("walk", "walk-cfp");
    EXPECT_EQ(app.MissingAssetsReport(),
              "CMX file \"a.cmx\" could not be read. "
              "Person \"Pat\" is attempting to run the animation with index 4 from the global miscellaneous child "
              "table, and the entry is blank.\n"
              "Person \"Pat\" is attempting to run the animation with index 5 from the legacy global table, and the "
              "entry is blank.\n"
              "Person \"Pat\" is attempting to run the animation with index 2 from the animations of Sofa. The entry "
              "for adult to child is blank.\n"
              "The skill \"walk\" could not be loaded because the CFP file \"walk-cfp.cfp\" is not present.");
}

TEST(cTovaApp, ACrashedCallbackIsShownOnceAndAnsweredBoxesTakeTheScriptsAnswer) {
    std::vector<std::string> boxes;
    cTovaApp::SetDisplay({.box = [&boxes](const std::string& text, const std::string& caption, int kind) {
        boxes.push_back(caption + ": " + text);
        return kind < 0 ? -1 - kind : 3;
    }});
    cTovaApp app("Tova");
    ClearCallbackCrash();
    app.ReportCrashedCallback();
    ReportCallbackCrash("fader");
    app.ReportCrashedCallback();
    app.ReportCrashedCallback();
    ClearCallbackCrash();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "Sound System Error: Crash in fader");
    EXPECT_EQ(app.ShowMessageBox("Save?", "Quit", 3, 0), 3);
    app.SetNextAnswer(2);
    EXPECT_EQ(app.ShowMessageBox("Save?", "Quit", 3, 0), 2);
    EXPECT_EQ(app.ShowMessageBox("Save?", "Quit", 3, 0), 3);
    cTovaApp::SetDisplay({});
}

}  // namespace
