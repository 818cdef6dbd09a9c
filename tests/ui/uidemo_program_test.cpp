#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/PngFile.h"
#include "support/GoldenImage.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace {

using tova_test::ProgramRun;
using tova_test::RunProgram;
using tova_test::ScratchDir;

constexpr const char* kDragScript =
    "# the panel is dragged down and right\n"
    "print panel\n"
    "drag 100 100 200 250\n"
    "print panel\n";
constexpr const char* kTipScript =
    "move 100 280\n"
    "wait 1500\n";

std::string Write(const ScratchDir& dir, const std::string& name, const std::string& text) {
    const std::string path = (dir / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::optional<platform::Image> Dump(const ScratchDir& dir, const std::string& script, ProgramRun& run) {
    const std::string png = (dir / "dump.png").string();
    run = RunProgram("uidemo", {"--headless", "--script", Write(dir, "script.txt", script), "--dump", png});
    if (run.code != 0) return std::nullopt;
    return platform::ReadPngFile(png);
}

// A script's headless dump, made once per test program: the golden tests and
// the real-window test compare with the same picture.
struct HeadlessDump {
    ScratchDir dir;
    ProgramRun run;
    std::optional<platform::Image> image;
};

const HeadlessDump& SharedHeadlessDump(const std::string& script) {
    static std::map<std::string, std::unique_ptr<HeadlessDump>> dumps;
    std::unique_ptr<HeadlessDump>& made = dumps[script];
    if (!made) {
        made = std::make_unique<HeadlessDump>();
        made->image = Dump(made->dir, script, made->run);
    }
    return *made;
}

TEST(uidemoProgram, ListsTheNamedWindows) {
    const ProgramRun run = RunProgram("uidemo", {"--headless", "--list"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out,
              "window edit-area 440 240 620 440\n"
              "window fader 240 240 400 320\n"
              "window glass 280 40 460 180\n"
              "window panel 40 40 240 180\n"
              "window tip 40 240 200 320\n"
              "window top 500 40 620 180\n");
}

TEST(uidemoProgram, DragMovesThePanelAndMatchesTheGolden) {
    const HeadlessDump& dump = SharedHeadlessDump(kDragScript);
    const auto& image = dump.image;
    ASSERT_TRUE(image) << dump.run.err;
    EXPECT_EQ(dump.run.out, "state panel 40 40 240 180\ncommand 1 panel\nstate panel 140 190 340 330\n");
    EXPECT_TRUE(tova_test::MatchesGolden(*image, "ui/golden/uidemo_drag.png"));
}

TEST(uidemoProgram, TooltipAfterRestingMatchesTheGolden) {
    const HeadlessDump& dump = SharedHeadlessDump(kTipScript);
    const auto& image = dump.image;
    ASSERT_TRUE(image) << dump.run.err;
    EXPECT_TRUE(tova_test::MatchesGolden(*image, "ui/golden/uidemo_tooltip.png"));
}

TEST(uidemoProgram, ClicksSendCommandsAndTheFaderFades) {
    ScratchDir dir;
    const std::string script = Write(dir, "s.txt",
                                     "click 300 100\nclick 300 280\nwait 400\nprint fader\n"
                                     "key a\nchar hé\nhold shift\nrelease shift\nrclick 5 5\ndblclick 550 100\n"
                                     "wheel 10 10\nactivate off\nactivate on\n");
    const ProgramRun run = RunProgram("uidemo", {"--headless", "--script", script});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("command 2 glass\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("command 5 fader\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("command 3 top\n"), std::string::npos) << run.out;
}

TEST(uidemoProgram, BadScriptLinesAreReportedWithExitTwo) {
    struct Case {
        const char* script;
        const char* message;
    } cases[] = {
        {"move 1\n", "script:1: expected X Y"},
        {"# fine\nfly 1 2\n", "script:2: unknown command 'fly'"},
        {"key nosuchkey\n", "script:1: unknown key 'nosuchkey'"},
        {"down middle 1 2\n", "script:1: expected left|right X Y"},
        {"activate maybe\n", "script:1: expected on or off"},
        {"wait -3\n", "script:1: expected MS"},
    };
    ScratchDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        const ProgramRun run = RunProgram("uidemo", {"--headless", "--script", Write(dir, "bad.txt", c.script)});
        EXPECT_EQ(run.code, 2);
        EXPECT_EQ(run.err, std::string(c.message) + "\n");
    }
    EXPECT_EQ(RunProgram("uidemo", {"--headless", "--page", "nothing"}).code, 2);
    EXPECT_EQ(RunProgram("uidemo", {"--bogus"}).code, 2);
}

// The window library is loaded only when a window is asked for: with a
// broken copy first on the loader's path, the windowed run names the failure
// and the headless run does not notice.
TEST(uidemoProgram, AnUnloadableWindowLibraryIsReportedOnlyWhereAWindowIsAsked) {
    ScratchDir dir;
    Write(dir, "libSDL2-2.0.so.0", "");  // an empty file: the loader refuses it
    const char* previous = std::getenv("LD_LIBRARY_PATH");
    const std::optional<std::string> saved = previous ? std::optional<std::string>(previous) : std::nullopt;
    ::setenv("LD_LIBRARY_PATH", dir.Path().c_str(), 1);
    const std::string script = Write(dir, "s.txt", "print panel\n");
    const ProgramRun windowed = RunProgram("uidemo", {"--script", script});
    const ProgramRun headless = RunProgram("uidemo", {"--headless", "--script", script});
    if (saved) {
        ::setenv("LD_LIBRARY_PATH", saved->c_str(), 1);
    } else {
        ::unsetenv("LD_LIBRARY_PATH");
    }
    EXPECT_EQ(windowed.code, 1);
    EXPECT_NE(windowed.err.find("uidemo: no window: cannot load SDL2: "), std::string::npos) << windowed.err;
    EXPECT_EQ(headless.code, 0) << headless.err;
}

// The real SDL window under a virtual X server with the software renderer:
// scripted input crosses SDL's event path and the dump equals the headless one.
// The X11 and D-Bus libraries keep allocations to the end, so leak checks are
// off for this run only.
TEST(uidemoProgram, RealWindowUnderXvfbDumpsTheSamePictures) {
    if (std::system("command -v xvfb-run > /dev/null 2>&1") != 0) GTEST_SKIP() << "xvfb-run is not installed";
    struct Case {
        const char* script;
        const char* golden;
    } cases[] = {{kDragScript, "ui/golden/uidemo_drag.png"}, {kTipScript, "ui/golden/uidemo_tooltip.png"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.golden);
        ScratchDir dir;
        const std::string script = Write(dir, "s.txt", c.script);
        const std::string png = (dir / "x.png").string();
        const std::string command =
            "xvfb-run -a env SDL_VIDEODRIVER=x11 SDL_RENDER_DRIVER=software ASAN_OPTIONS=detect_leaks=0 " +
            tova_test::ShellQuote(std::string(TOVA_BIN_DIR) + "/uidemo") + " --script " + tova_test::ShellQuote(script) +
            " --dump " + tova_test::ShellQuote(png) + " > " + tova_test::ShellQuote((dir / "out").string()) + " 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0);
        auto image = platform::ReadPngFile(png);
        ASSERT_TRUE(image);
        EXPECT_TRUE(tova_test::MatchesGolden(*image, c.golden));
        const HeadlessDump& dump = SharedHeadlessDump(c.script);
        const auto& headless = dump.image;
        ASSERT_TRUE(headless) << dump.run.err;
        EXPECT_EQ(headless->width, image->width);
        EXPECT_TRUE(headless->pixels == image->pixels);
    }
}

}  // namespace
