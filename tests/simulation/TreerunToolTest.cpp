// The tree runner on the starter content, compiled afresh into a scratch
// data root.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "StarterContent.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace {

using tova_test::ProgramRun;
using tova_test::RunProgram;
using tova_test::ScratchDir;

class TreerunTool : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(tova_test::CompileStarterContent(root()));
  }
  std::string root() const { return (dir / "data").string(); }
  ScratchDir dir;
};

TEST_F(TreerunTool, TicksTheTicker) {
  const ProgramRun run = RunProgram("treerun", {"--data", root(), "--object", "0x4C3A1010", "--ticks", "5"});
  ASSERT_EQ(run.code, 0) << run.err;
  std::string expected;
  for (int n = 1; n <= 5; ++n) expected += "tick " + std::to_string(n) + " yield tree 4096 node 4 frames 1\n";
  EXPECT_EQ(run.out.substr(0, expected.size()), expected);
  EXPECT_NE(run.out.find("\nattributes 5 "), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\nerror 0 \"No Error\"\n"), std::string::npos) << run.out;
}

TEST_F(TreerunTool, AnotherTreeAndItsError) {
  // The global "Add temp 1 to attribute 1" returns at once: a main tree may
  // not return.
  const ProgramRun run = RunProgram("treerun", {"--data", root(), "--object", "0x4C3A1010", "--tree", "258"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "tick 1 error tree 258 node 254 frames 1");
  EXPECT_NE(run.out.find("error 1001 \"Stack underflow.\"\n"), std::string::npos) << run.out;
}

TEST_F(TreerunTool, RefusesBadArguments) {
  EXPECT_EQ(RunProgram("treerun", {"--data", root()}).code, 2);
  EXPECT_EQ(RunProgram("treerun", {"--data", root(), "--object", "0x4C3A1010", "--ticks", "x"}).code, 2);
  const ProgramRun missing = RunProgram("treerun", {"--data", root(), "--object", "0x12345678"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err.find("no definition with GUID 0x12345678"), std::string::npos) << missing.err;
}

}  // namespace
