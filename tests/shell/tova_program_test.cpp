#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/PngFile.h"
#include "platform/Registry.h"
#include "support/GoldenImage.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace {

using tova_test::ProgramRun;
using tova_test::RunProgram;
using tova_test::ScratchDir;

const char* const kTovaSteps =
    "step stap Starting App init\n"
    "step regr Registering resources\n"
    "step ctrl Setting up controls\n"
    "step grph Initializing graphics\n"
    "step main Adding main window\n"
    "step lobj Loading Objects\n"
    "step ocns Importing Tuning.txt\n"
    "step hous Initializing House\n"
    "step snds Initializing Sounds\n"
    "step hvwr Initializing House viewer\n"
    "step flrs Loading Floors And Walls\n"
    "step qurl Initializing quorrel\n"
    "step fglb Finished globs init\n"
    "step cpnl Adding control panel\n"
    "step prfn Setting up personfinder\n"
    "step fapp Finished app init\n";

std::string DataRoot() { return std::string(TOVA_BIN_DIR) + "/../data"; }

// Each run gets a settings store of its own through XDG_CONFIG_HOME.
class TovaProgram : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) mOldXdg = old;
        if (const char* old = std::getenv("TOVA_REGISTRY")) mOldRegistry = old;
        ::setenv("XDG_CONFIG_HOME", mConfig.Path().c_str(), 1);
        ::unsetenv("TOVA_REGISTRY");
    }
    void TearDown() override {
        if (mOldXdg) ::setenv("XDG_CONFIG_HOME", mOldXdg->c_str(), 1);
        else ::unsetenv("XDG_CONFIG_HOME");
        if (mOldRegistry) ::setenv("TOVA_REGISTRY", mOldRegistry->c_str(), 1);
    }
    void SetLanguage(const std::string& name) {
        platform::Registry store(mConfig / "tova" / "registry.txt");
        platform::RegKey key;
        ASSERT_EQ(store.CreateKey(platform::RegRoot::kLocalMachine, "Software\\Orvel\\Ziv Tova", key), platform::kRegSuccess);
        ASSERT_EQ(key.SetString("TOVA_LANGUAGE", name), platform::kRegSuccess);
    }
    ProgramRun Run(const std::string& script, std::vector<std::string> arguments, const std::string& folder = DataRoot()) {
        const std::string path = (mScratch / "script.txt").string();
        std::ofstream(path, std::ios::binary) << script;
        arguments.insert(arguments.begin(), {"--headless", "--script", path});
        return RunProgram("tova", arguments, folder);
    }

    ScratchDir mConfig;
    ScratchDir mScratch;
    std::optional<std::string> mOldXdg, mOldRegistry;
};

TEST_F(TovaProgram, StartsOnTheStarterDataAndDumpsTheFirstScreen) {
    const std::string png = (mScratch / "out.png").string();
    const ProgramRun run = Run("print screen\nprint fullscreen\nticks 3\n", {"--dump", png});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, std::string(kTovaSteps) + "state screen 800 600\nstate fullscreen 1\n");
    std::optional<platform::Image> image = platform::ReadPngFile(png);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 800);
    EXPECT_EQ(image->height, 600);
    EXPECT_TRUE(tova_test::MatchesGolden(*image, "shell/golden/tova_first_screen.png"));
}

// The same script in a real window under a virtual X server gives the same
// first screen (leak checks off: the X11 libraries keep allocations).
TEST_F(TovaProgram, ARealWindowUnderXvfbDumpsTheSameFirstScreen) {
    if (std::system("command -v xvfb-run > /dev/null 2>&1") != 0) GTEST_SKIP() << "xvfb-run is not installed";
    const std::string script = (mScratch / "window.txt").string();
    std::ofstream(script, std::ios::binary) << "print screen\nprint fullscreen\nticks 3\n";
    const std::string png = (mScratch / "window.png").string();
    const std::string command = "cd " + tova_test::ShellQuote(DataRoot()) +
                                " && ASAN_OPTIONS=detect_leaks=0 xvfb-run -a " +
                                tova_test::ShellQuote(std::string(TOVA_BIN_DIR) + "/tova") + " -w --script " +
                                tova_test::ShellQuote(script) + " --dump " + tova_test::ShellQuote(png) +
                                " > /dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::optional<platform::Image> image = platform::ReadPngFile(png);
    ASSERT_TRUE(image);
    EXPECT_TRUE(tova_test::MatchesGolden(*image, "shell/golden/tova_first_screen.png"));
}

TEST_F(TovaProgram, TheLargeScreenSwitchGivesALargerPicture) {
    const std::string png = (mScratch / "large.png").string();
    const ProgramRun run = Run("print screen\n", {"-r1024x768", "-w", "--dump", png});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("state screen 1024 768\n"), std::string::npos) << run.out;
    std::optional<platform::Image> image = platform::ReadPngFile(png);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 1024);
    EXPECT_EQ(image->height, 768);
}

TEST_F(TovaProgram, LoadingWithoutTheThreadReportsTheSameSteps) {
    const ProgramRun run = Run("print screen\n", {"-no_thread_init"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, std::string(kTovaSteps) + "state screen 800 600\n");
}

TEST_F(TovaProgram, TheLanguageComesFromTheStoreUnlessASwitchNamesOne) {
    SetLanguage("French");
    EXPECT_NE(Run("print language\n", {}).out.find("state language 3\n"), std::string::npos);
    EXPECT_NE(Run("print language\n", {"-lGerman"}).out.find("state language 4\n"), std::string::npos);
    SetLanguage("Danish");
    EXPECT_NE(Run("print language\n", {}).out.find("state language 1\n"), std::string::npos);
}

// The Asian languages get the input-method windows in the game's own font.
TEST_F(TovaProgram, AJapaneseStartShowsTheComposedWordInItsWindow) {
    const std::string png = (mScratch / "ime.png").string();
    const ProgramRun run = Run("compose にほん\nticks 3\nprint language\n", {"-lJapanese", "--dump", png});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("state language 15\n"), std::string::npos) << run.out;
    std::optional<platform::Image> image = platform::ReadPngFile(png);
    ASSERT_TRUE(image);
    EXPECT_TRUE(tova_test::MatchesGolden(*image, "shell/golden/tova_japanese_composition.png"));
}

TEST_F(TovaProgram, WithoutTheScenarioFileTheFatalBoxEndsTheProgram) {
    const ProgramRun run = Run("print screen\n", {}, mScratch.Path().string());
    EXPECT_EQ(run.code, 255);  // -1
    EXPECT_EQ(run.out, "box \"Could not find Ziv Tova data directory.\" \"Fatal Error\"\n");
}

TEST_F(TovaProgram, PressClicksANamedWindowAndListShowsIt) {
    const ProgramRun run = Run("press mainview\nanswer 4\nticks 2\n", {"--list"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("window mainview 0 0 800 600\n"), std::string::npos) << run.out;
}

TEST_F(TovaProgram, BadScriptLinesAreReportedWithExitTwo) {
    const struct {
        const char* script;
        const char* message;
    } cases[] = {
        {"ticks 3\nticks many\n", "script:2: expected N"},
        {"answer\n", "script:1: expected ID"},
        {"press a b\n", "script:1: expected a window name"},
        {"fly 1 2\n", "script:1: unknown command 'fly'"},
    };
    for (const auto& c : cases) {
        const ProgramRun run = Run(c.script, {});
        EXPECT_EQ(run.code, 2) << c.script;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "") << "nothing starts on a bad script";
    }
    EXPECT_EQ(RunProgram("tova", {"--bogus"}, DataRoot()).code, 2);
}

}  // namespace
