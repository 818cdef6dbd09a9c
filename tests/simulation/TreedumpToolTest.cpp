// The tree dump on the starter content, copied into a scratch data root.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "StarterContent.h"
#include "resfile/IFFResFile2.h"
#include "simulation/TreeTable.h"
#include "simulation/cTreeConstants.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace {

using tova_test::ProgramRun;
using tova_test::RunProgram;
using tova_test::ScratchDir;

class TreedumpTool : public ::testing::Test {
 protected:
  void SetUp() override {
    tova_test::CompileStarterContent(root());
  }
  std::string root() const { return (dir / "data").string(); }
  ScratchDir dir;
};

}  // namespace

TEST_F(TreedumpTool, PrintsTheChairsTreesOneLineANode) {
  const ProgramRun run = RunProgram("treedump", {"--data", root(), "GameData/Objects/Chair.iff"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out,
            "tree 4096 \"Chair: init\"\n"
            "  0: my data allowed height := 1 -> 1\n"
            "  1: my data 42 := 259 -> 2\n"
            "  2: my data 43 := 10 -> true\n"
            "tree 4097 \"Chair: main\"\n"
            "  0: param param 0 := 30 -> 1\n"
            "  1: Sleep (for ticks in param param 0) -> 0\n"
            "tree 4098 \"Chair: sit\"\n"
            "  0: semi-global Furniture: settle (with param 0=0, param 1=0, param 2=0, param 3=0) -> 1 false\n"
            "  1: global Stand up (with param 0=0, param 1=0, param 2=0, param 3=0) -> true false\n");
}

TEST_F(TreedumpTool, OneTreeAndTheFailures) {
  ProgramRun run = RunProgram("treedump", {"--data", root(), "gamedata\\objects\\CHAIR.IFF", "4097"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out,
            "tree 4097 \"Chair: main\"\n  0: param param 0 := 30 -> 1\n  1: Sleep (for ticks in param param 0) -> 0\n");
  run = RunProgram("treedump", {"--data", root(), "GameData/Objects/Chair.iff", "4200"});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("no tree 4200"), std::string::npos) << run.err;
  run = RunProgram("treedump", {"--data", root(), "GameData/Objects/Wardrobe.iff"});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("not an object file"), std::string::npos) << run.err;
  EXPECT_EQ(RunProgram("treedump", {"GameData/Objects/Chair.iff"}).code, 2);
  EXPECT_EQ(RunProgram("treedump", {"--data", root(), "GameData/Objects/Chair.iff", "12"}).code, 2);
}

TEST_F(TreedumpTool, TheStarterChairHasItsTablesAndNames) {
  IFFResFile2 file;
  ASSERT_EQ(file.Open(root() + "/GameData/Objects/Chair.iff"), 0);
  tova::TreeTable table(16);
  ASSERT_EQ(table.Load(&file, 300), 0);
  EXPECT_EQ(table.LoadedVersion(), 9);
  ASSERT_EQ(table.GetEntryCount(), 2);
  EXPECT_EQ(table.Data().entries[0].name, "Sit");
  EXPECT_EQ(table.Data().entries[0].actionTree, 4098);
  EXPECT_EQ(table.Data().entries[0].motives[1].base, 30);
  EXPECT_EQ(table.Data().entries[0].motives[1].range, 10);
  EXPECT_EQ(table.Data().entries[1].name, "!Straighten");
  EXPECT_EQ(table.Data().entries[1].checkTree, 4097);
  tova::cTreeConstants constants;
  ASSERT_EQ(constants.Load(&file, 4096), 0);
  ASSERT_EQ(constants.Entries().size(), 3u);
  EXPECT_EQ(constants.Entries()[0].label, "Comfort");
  EXPECT_EQ(constants.Entries()[0].maximum, 100);
  EXPECT_EQ(constants.Entries()[1].value, 10);
  file.Close();
}
