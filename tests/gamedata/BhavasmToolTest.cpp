#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace {

namespace fs = std::filesystem;

class BhavasmTool : public ::testing::Test {
 protected:
  // Runs bhavasm; its output and errors are kept in `last`.
  int Run(const std::vector<std::string>& args) {
    last = tova_test::RunProgram("bhavasm", args);
    return last.code;
  }
  std::string Read(const std::string& name) { return tova_test::ReadBytes(dir / name); }
  void Write(const std::string& name, const std::string& text) { tova_test::WriteBytes(dir / name, text); }
  std::string Path(const std::string& name) { return (dir / name).string(); }
  tova_test::ScratchDir folder;
  const fs::path& dir = folder.Path();
  tova_test::ProgramRun last;
};

TEST_F(BhavasmTool, AssemblesAndPrintsBack) {
  const std::string text =
      "tree 4096 \"Greet\"\n  format 0x8009\n  type 0\n  params 4\n  locals 1\n  version 2\n"
      "n0:  Expression 1 2 3 4 -> n1 false\n"
      "n1:  4097 -1 -1 -1 -1 -> true n0\n"
      "end\n";
  Write("greet.txt", text);
  ASSERT_EQ(Run({"check", Path("greet.txt")}), 0);
  EXPECT_EQ(last.out, "1 tree\n");
  ASSERT_EQ(Run({"asm", Path("greet.txt"), Path("greet.bhav")}), 0);
  EXPECT_EQ(fs::file_size(dir / "greet.bhav"), 12u + 2 * 12);
  ASSERT_EQ(Run({"dis", Path("greet.bhav"), "4096", "Greet"}), 0);
  EXPECT_EQ(last.out, text);
}

TEST_F(BhavasmTool, ReportsFaultsWithTheirLine) {
  Write("bad.txt", "tree 4096\n Sleep -> nowhere false\nend\n");
  Write("old.bhav", std::string("\x01\x00", 2) + std::string(12, '\0'));
  Write("keep.bhav", "old");
  EXPECT_EQ(Run({"check", Path("bad.txt")}), 1);
  EXPECT_NE(last.err.find("line 2: unknown label 'nowhere'"), std::string::npos);
  EXPECT_EQ(Run({"asm", Path("bad.txt"), Path("keep.bhav")}), 1);
  EXPECT_EQ(Read("keep.bhav"), "old");
  EXPECT_EQ(Run({"dis", Path("old.bhav")}), 1);
  EXPECT_EQ(Run({"dis", Path("missing.bhav")}), 1);
  EXPECT_EQ(Run({"frobnicate", Path("bad.txt")}), 2);
}

TEST_F(BhavasmTool, ResourceFiles) {
  const std::string a =
      "tree 4096 \"A\"\n  format 0x8009\n  type 0\n  params 4\n  locals 0\n  version 1\n"
      "n0:  Sleep 0 0 0 0 -> true n0\nend\n";
  const std::string b =
      "tree 4097 \"B\"\n  format 0x8009\n  type 0\n  params 4\n  locals 0\n  version 2\n"
      "     4096 -1 -1 -1 -1 -> true false\nend\n";
  std::string b2 = b;
  b2.replace(b2.find("version 2"), 9, "version 3");
  Write("ab.txt", a + b);
  Write("b2.txt", b2);
  ASSERT_EQ(Run({"asm", Path("ab.txt"), Path("trees.iff")}), 0) << last.err;
  ASSERT_EQ(Run({"asm", Path("b2.txt"), Path("trees.iff")}), 0) << last.err;  // replaces 4097
  ASSERT_EQ(Run({"dis", Path("trees.iff")}), 0) << last.err;
  EXPECT_EQ(last.out, a + b2);
  ASSERT_EQ(Run({"dis", Path("trees.iff"), "4097"}), 0);
  EXPECT_EQ(last.out, b2);
  EXPECT_EQ(Run({"dis", Path("trees.iff"), "4098"}), 1);
  EXPECT_FALSE(fs::exists(dir / "trees.iff.tmp"));
}

}  // namespace
