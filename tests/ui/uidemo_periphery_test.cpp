#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "support/GoldenImage.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace {

using tova_test::ProgramRun;
using tova_test::RunProgram;
using tova_test::ScratchDir;

ProgramRun RunUidemo(const std::string& script, std::vector<std::string> arguments) {
    ScratchDir dir;
    const std::string path = (dir / "script.txt").string();
    std::ofstream(path, std::ios::binary) << script;
    arguments.insert(arguments.end(),
                     {"--headless", "--data", std::string(TOVA_BIN_DIR) + "/../data", "--script", path});
    return RunProgram("uidemo", arguments);
}

bool Has(const std::string& out, const std::string& line) { return out.find(line + "\n") != std::string::npos; }

TEST(uidemoPeriphery, TheGenericDialogsControlsReachItsCallback) {
    const ProgramRun run = RunUidemo("click 80 220\nwait 50\nclick 64 148\nwait 50\nclick 200 110\nwait 50\n",
                                     {"--page", "periphery"});
    ASSERT_EQ(run.code, 0) << run.err;
    // A click, the check box's toggle, the slider's change.
    EXPECT_EQ(run.out, "callback 1 gen-ok\ncallback 28 gen-check\ncallback 12 gen-slider\n");
    EXPECT_EQ(run.out.find("command "), std::string::npos) << "a command passed the dialog: " << run.out;
}

TEST(uidemoPeriphery, AComposedWordIsShownAndItsCommittedResultReachesTheEdit) {
    const ProgramRun run = RunUidemo(
        "click 400 48\ncompose にほん 1\nwait 20\nprint composition\ncommit 日本\nprint edit\nprint composition\n",
        {"--page", "periphery", "--language", "15"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(Has(run.out, "state composition にほん")) << run.out;
    EXPECT_TRUE(Has(run.out, "state edit 日本")) << run.out;
    EXPECT_TRUE(Has(run.out, "state composition hidden")) << run.out;
    // Two double-byte characters: one change of the edit each.
    size_t changes = 0;
    for (size_t at = run.out.find("command 22 edit"); at != std::string::npos; at = run.out.find("command 22 edit", at + 1))
        ++changes;
    EXPECT_EQ(changes, 2u) << run.out;
}

// After a composition the edit still draws its text in its own colour on
// its dark fill.
TEST(uidemoPeriphery, TheEditKeepsItsTextColourAfterAComposition) {
    ScratchDir dir;
    const std::string png = (dir / "after.png").string();
    const ProgramRun run = RunUidemo("click 400 48\ncompose にほん\ncommit 日本\nchar abc\nwait 20\n",
                                     {"--page", "periphery", "--language", "15", "--dump", png});
    ASSERT_EQ(run.code, 0) << run.err;
    std::optional<platform::Image> image = platform::ReadPngFile(png);
    ASSERT_TRUE(image);
    EXPECT_TRUE(tova_test::MatchesGolden(*image, "ui/golden/uidemo_periphery_after_ime.png"));
}

TEST(uidemoPeriphery, BadComposeAndCommitLinesAreRefused) {
    for (const char* script : {"compose\n", "compose abc x\n", "commit a b\n", "compose a 1 2\n"}) {
        const ProgramRun run = RunUidemo(script, {"--page", "periphery"});
        EXPECT_EQ(run.code, 2) << script;
        EXPECT_NE(run.err.find("script:1:"), std::string::npos) << run.err;
    }
}

TEST(uidemoSplash, TheFirstPictureEndsAfterTwoSeconds) {
    ProgramRun run = RunUidemo("wait 1900\n", {"--splash"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_FALSE(Has(run.out, "splash ended 0")) << run.out;
    run = RunUidemo("wait 5000\n", {"--splash"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(Has(run.out, "splash ended 0")) << run.out;
}

}  // namespace
