#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace {

using tova_test::ProgramRun;
using tova_test::RunProgram;
using tova_test::ScratchDir;

ProgramRun RunDialogs(const std::string& script) {
    ScratchDir dir;
    const std::string path = (dir / "script.txt").string();
    std::ofstream(path, std::ios::binary) << script;
    return RunProgram("uidemo", {"--headless", "--page", "dialogs", "--data", std::string(TOVA_BIN_DIR) + "/../data",
                                 "--script", path});
}

// The lines of the output that start with one of the prefixes.
std::string Lines(const std::string& out, std::initializer_list<const char*> prefixes) {
    std::string kept, line;
    for (size_t at = 0, end; at < out.size(); at = end + 1) {
        end = out.find('\n', at);
        if (end == std::string::npos) end = out.size();
        line = out.substr(at, end - at);
        for (const char* p : prefixes)
            if (line.rfind(p, 0) == 0) kept += line + "\n";
    }
    return kept;
}

TEST(uidemoDialogs, TypedTextAndTheListSelectionArePrinted) {
    const ProgramRun run = RunDialogs(
        "click 100 50\nchar hello\nprint edit\n"
        "click 100 105\nchar a:b/c.txt\nprint line\n"
        "click 400 50\nkey down\nkey end\nprint list\n");
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Lines(run.out, {"state"}), "state edit hello\nstate line abc.txt\nstate list 11\n");
}

TEST(uidemoDialogs, MessageBoxAnsweredByEnterOrByItsTimeOut) {
    ProgramRun run = RunDialogs("click 80 170\nwait 300\nkey enter\nwait 300\n");
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Lines(run.out, {"dialog"}), "dialog msgbox 4\n");
    run = RunDialogs("click 80 170\nkey esc\nwait 300\nclick 80 170\nwait 10400\n");
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Lines(run.out, {"dialog"}), "dialog msgbox 1\ndialog msgbox 4\n");
}

TEST(uidemoDialogs, APieMenuChoiceAndTheConsolesHelpWindow) {
    const ProgramRun run = RunDialogs(
        "down right 420 230\nmove 470 230\nup right 470 230\n"
        "hold shift\nhold ctrl\nkey c\nrelease ctrl\nrelease shift\nchar help\nkey enter\nwait 100\nkey enter\n");
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Lines(run.out, {"dialog"}), "dialog pie 2\ndialog help 3\n");
}

}  // namespace
