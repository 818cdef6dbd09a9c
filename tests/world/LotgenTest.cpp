#include <gtest/gtest.h>

#include "support/RunProgram.h"
#include "support/TempFolder.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct ToolRun {
    int status;
    std::string output;
};

// One fresh folder for this test program: test programs of several builds may
// run at the same time, so nothing goes under a fixed name in /tmp.
const std::string& Scratch() {
    static const tova_test::TempFolder folder;
    return folder.path();
}

ToolRun Lotgen(const std::vector<std::string>& arguments) {
    const tova_test::ProgramRun run = tova_test::RunProgram("lotgen", arguments);
    return ToolRun{run.code, run.out + run.err};
}

std::string LotFile(const char* name) { return Scratch() + "/" + name; }

}  // namespace

TEST(Lotgen, EveryLayerComesBackUnchanged) {
    const std::string lot = LotFile("lotgen_every_layer.iff");
    const ToolRun run = Lotgen({"40", "7", lot});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("all layers match"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("target grass"), std::string::npos);
    EXPECT_NE(run.output.find("Water"), std::string::npos);
    EXPECT_EQ(run.output.find("DIFFERENT"), std::string::npos);
    std::ifstream file(lot, std::ios::binary);
    EXPECT_TRUE(file.good()) << "the lot file stays behind";
    file.close();
    std::remove(lot.c_str());
}

TEST(Lotgen, OlderVersionsPrintTheirLayersOnly) {
    const std::string lot = LotFile("lotgen_version22.iff");
    const ToolRun run = Lotgen({"64", "3", lot, "22"});
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.find("floors2"), std::string::npos);
    EXPECT_EQ(run.output.find("Pool"), std::string::npos);
    EXPECT_NE(run.output.find("grass"), std::string::npos);
    std::remove(lot.c_str());
}

TEST(Lotgen, BadArgumentsAreRefused) {
    const std::vector<std::vector<std::string>> refused = {
        {}, {"20", "1"}, {"3", "1", "lot.iff"}, {"65", "1", "lot.iff"}, {"20", "x", "lot.iff"},
        {"20", "1", "lot.iff", "53", "extra"}};
    for (const auto& arguments : refused) {
        const ToolRun run = Lotgen(arguments);
        EXPECT_EQ(run.status, 2) << arguments.size();
        EXPECT_NE(run.output.find("usage"), std::string::npos) << run.output;
    }
    const ToolRun unwritable = Lotgen({"20", "1", "/nonexistent-folder/lot.iff"});
    EXPECT_EQ(unwritable.status, 2);
    EXPECT_NE(unwritable.output.find("saving the layers"), std::string::npos) << unwritable.output;
}
