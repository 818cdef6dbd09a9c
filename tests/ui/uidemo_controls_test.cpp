#include <gtest/gtest.h>

#include <filesystem>

#include <cstdlib>
#include <fstream>
#include <optional>

#include "platform/PngFile.h"
#include "support/GoldenImage.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace {

using tova_test::ProgramRun;
using tova_test::RunProgram;
using tova_test::ScratchDir;

std::string DataRoot() { return std::string(TOVA_BIN_DIR) + "/../data"; }

// Runs the controls page with the script; the dump when asked for one.
ProgramRun RunControls(const ScratchDir& dir, const std::string& script, const std::string& png = "") {
    const std::string path = (dir / "script.txt").string();
    std::ofstream(path, std::ios::binary) << script;
    std::vector<std::string> args = {"--headless", "--page", "controls", "--data", DataRoot(), "--script", path};
    if (!png.empty()) {
        args.push_back("--dump");
        args.push_back(png);
    }
    return RunProgram("uidemo", args);
}

TEST(uidemoControls, ListsTheNamedControls) {
    const ProgramRun run = RunProgram("uidemo", {"--headless", "--page", "controls", "--data", DataRoot(), "--list"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out,
              "window button 40 40 112 64\n"
              "window check 40 90 99 106\n"
              "window disabled 220 40 292 64\n"
              "window hscroll 40 270 240 286\n"
              "window hslider 40 220 240 240\n"
              "window label 40 130 240 190\n"
              "window sysbutton 320 40 420 64\n"
              "window toggle 130 40 202 64\n"
              "window vscroll 330 130 346 290\n"
              "window vslider 280 130 300 290\n");
}

TEST(uidemoControls, ClicksReportCommandsAndPrintsShowStatesAndValues) {
    ScratchDir dir;
    const ProgramRun run = RunControls(dir,
                                       "print check\n"
                                       "click 48 98\n"
                                       "print check\n"
                                       "click 70 50\n"
                                       "print button\n"
                                       "down left 150 50\n"
                                       "print toggle\n"
                                       "up left 150 50\n"
                                       "click 256 50\n"   // disabled: nothing
                                       "drag 290 280 290 100\n"
                                       "print vslider\n"
                                       "down left 236 278\n"  // held on the second arrow
                                       "wait 450\n"
                                       "up left 236 278\n"
                                       "print hscroll\n");
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out,
              "state check 0\n"
              "command 28 check\n"
              "state check 1\n"
              "command 1 button\n"
              "state button 0\n"
              "state toggle 1\n"
              "command 1 toggle\n"
              "command 12 vslider\n"
              "command 12 vslider\n"
              "command 12 vslider\n"
              "command 12 vslider\n"
              "command 12 vslider\n"
              "command 12 vslider\n"
              "state vslider 10\n"
              "command 12 hscroll\n"
              "command 12 hscroll\n"
              "command 12 hscroll\n"
              "state hscroll 3\n");
}

TEST(uidemoControls, PagePicturesMatchTheGoldens) {
    struct Case {
        const char* script;
        const char* golden;
    } cases[] = {
        {"", "ui/golden/controls_idle.png"},
        {"down left 76 52\n", "ui/golden/controls_pressed.png"},
        {"move 76 52\n", "ui/golden/controls_hover.png"},
        {"click 48 98\nclick 150 50\n", "ui/golden/controls_checked.png"},
        // The disabled button neither changes nor reports.
        {"move 256 52\ndown left 256 52\n", "ui/golden/controls_idle.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        ScratchDir dir;
        const std::string png = (dir / "out.png").string();
        const ProgramRun run = RunControls(dir, c.script, png);
        ASSERT_EQ(run.code, 0) << run.err;
        auto image = platform::ReadPngFile(png);
        ASSERT_TRUE(image);
        EXPECT_TRUE(tova_test::MatchesGolden(*image, c.golden));
    }
}

TEST(uidemoControls, AMissingStripIsReported) {
    // A data root with the game's fonts and nothing else.
    ScratchDir dir;
    std::filesystem::create_directories(dir / "nothing" / "UIGraphics");
    std::filesystem::create_directory_symlink(std::string(TOVA_BIN_DIR) + "/../data/UIGraphics/Fonts",
                                              dir / "nothing" / "UIGraphics" / "Fonts");
    const ProgramRun run =
        RunProgram("uidemo", {"--headless", "--page", "controls", "--data", (dir / "nothing").string()});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("cannot read"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("UIGraphics/Controls/SystemButton.bmp"), std::string::npos) << run.err;
}

// The same pressed picture from a real SDL window under a virtual X server
// (leak checks off: the X11 libraries keep allocations to the end).
TEST(uidemoControls, RealWindowUnderXvfbDrawsTheSamePressedPicture) {
    if (std::system("command -v xvfb-run > /dev/null 2>&1") != 0) GTEST_SKIP() << "xvfb-run is not installed";
    ScratchDir dir;
    const std::string script = (dir / "s.txt").string();
    std::ofstream(script, std::ios::binary) << "move 76 52\ndown left 76 52\n";
    const std::string png = (dir / "x.png").string();
    const std::string command =
        "xvfb-run -a env SDL_VIDEODRIVER=x11 SDL_RENDER_DRIVER=software ASAN_OPTIONS=detect_leaks=0 " +
        tova_test::ShellQuote(std::string(TOVA_BIN_DIR) + "/uidemo") + " --page controls --data " +
        tova_test::ShellQuote(DataRoot()) + " --script " + tova_test::ShellQuote(script) + " --dump " +
        tova_test::ShellQuote(png) + " > " + tova_test::ShellQuote((dir / "out").string()) + " 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    auto image = platform::ReadPngFile(png);
    ASSERT_TRUE(image);
    EXPECT_TRUE(tova_test::MatchesGolden(*image, "ui/golden/controls_pressed.png"));
}

}  // namespace
