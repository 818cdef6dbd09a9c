#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "platform/Registry.h"
#include "platform/SingleInstance.h"
#include "support/GoldenImage.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace {

// Runs the launcher with a registry of its own (an empty one unless written).
tova_test::ProgramRun RunLauncher(const tova_test::ScratchDir& config, const std::vector<std::string>& args) {
    setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    setenv("XDG_RUNTIME_DIR", config.Path().c_str(), 1);
    tova_test::ProgramRun run = tova_test::RunProgram("launcher", args);
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_RUNTIME_DIR");
    return run;
}

std::string Disc() { return std::string(TOVA_BIN_DIR) + "/../disc"; }

}  // namespace

TEST(launcherProgram, EmptyRegistryShowsEditionTwosLanguagePage) {
    tova_test::ScratchDir config;
    const tova_test::ProgramRun run = RunLauncher(config, {"--disc", Disc(), "--list"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out,
              "edition 2, language 0, not installed\n"
              "button 500 kind 19 at 84,151 212x50 \"English\"\n"
              "button 501 kind 20 at 170,202 212x50 \"Français\"\n"
              "button 502 kind 21 at 239,254 212x50 \"Deutsch\"\n"
              "button 512 kind 22 at 277,305 212x50 \"Italiano\"\n"
              "button 503 kind 23 at 310,356 212x50 \"Svenska\"\n"
              "button 504 kind 24 at 328,407 212x50 \"Nederlands\"\n"
              "button 1000 kind 12 at 9,346 162x117 \"\"\n");
}

TEST(launcherProgram, GermanRegistryShowsTheMainPage) {
    tova_test::ScratchDir config;
    std::filesystem::create_directories(config / "tova");
    {
        platform::Registry registry(config / "tova" / "registry.txt");
        platform::RegKey key;
        ASSERT_EQ(registry.CreateKey(platform::RegRoot::kLocalMachine, "Software\\Orvel\\Ziv Tova", key), 0);
        key.SetString("TOVA_LANGUAGE", "German");
    }
    const tova_test::ProgramRun run = RunLauncher(config, {"--disc", Disc(), "--list"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("edition 2, language 3000, not installed\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("button 101 kind 0 at 186,162 85x96 \"Installieren\"\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("caption \"Installieren\" right 187 bottom 237\n"), std::string::npos) << run.out;
}

TEST(launcherProgram, NoIniExitsQuietly) {
    tova_test::ScratchDir config;
    tova_test::ScratchDir emptyDisc;
    const tova_test::ProgramRun run = RunLauncher(config, {"--disc", emptyDisc.Path().string(), "--list"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "");
}

TEST(launcherProgram, SecondCopyAndRunningGameExitWithoutAPage) {
    tova_test::ScratchDir config;
    for (const char* name : {"Autoplay", "tova"}) {
        platform::SingleInstance holder(name, config.Path());
        ASSERT_TRUE(holder.Acquire());
        const tova_test::ProgramRun run = RunLauncher(config, {"--disc", Disc(), "--list"});
        EXPECT_EQ(run.code, 0) << name;
        EXPECT_EQ(run.out, "") << name;
        if (std::string(name) == "Autoplay") {
            EXPECT_TRUE(holder.PollRaiseRequest());
        }
    }
}

TEST(launcherProgram, HeadlessDumpWritesTheLanguagePage) {
    tova_test::ScratchDir config;
    const std::string png = (config / "page.png").string();
    const tova_test::ProgramRun run = RunLauncher(config, {"--disc", Disc(), "--headless", "--dump", png});
    ASSERT_EQ(run.code, 0) << run.err;
    std::string error;
    auto image = platform::ReadPngFile(png, &error);
    ASSERT_TRUE(image) << error;
    EXPECT_TRUE(tova_test::MatchesGolden(*image, "launcher/golden/language_page.png"));
}

TEST(launcherProgram, DumpWithoutHeadlessIsRefused) {
    tova_test::ScratchDir config;
    const tova_test::ProgramRun run = RunLauncher(config, {"--disc", Disc(), "--dump", "x.png"});
    EXPECT_EQ(run.code, 2);
}
