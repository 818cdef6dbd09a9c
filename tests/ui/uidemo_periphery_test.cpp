#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

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

TEST(uidemoSplash, TheFirstPictureEndsAfterTwoSeconds) {
    ProgramRun run = RunUidemo("wait 1900\n", {"--splash"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_FALSE(Has(run.out, "splash ended 0")) << run.out;
    run = RunUidemo("wait 5000\n", {"--splash"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_TRUE(Has(run.out, "splash ended 0")) << run.out;
}

}  // namespace
