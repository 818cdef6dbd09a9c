#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "../framework/FarBuilder.h"
#include "platform/Path.h"
#include "support/RunProgram.h"
#include "support/TempFolder.h"

namespace {

using tova_test::ProgramRun;
using tova_test::RunProgram;
using tova_test::TempFolder;

TEST(DfmLsTest, ListsLooseFilesMembersAndFolders) {
  TempFolder t;
  tova_test::FarBuilder far;
  far.Add("sub/a.bmp", "12345");
  far.Add("b.txt", "xy");
  t.Write("Root/Pack.FAR", far.Build());
  t.Write("Root/b.txt", "loose file");
  t.Write("Root/Sub/c.txt", "c");
  const ProgramRun run = RunProgram("dfm_ls", {t.path() + "/Root"});
  EXPECT_EQ(run.code, 0) << run.err;
  const std::string& out = run.out;
  // Names are listed lower-cased with '\' separators.
  std::string root = platform::ToLowerAscii(t.path() + "/root");
  std::replace(root.begin(), root.end(), '/', '\\');
  EXPECT_NE(out.find("file    10        " + root + "\\b.txt\n"), std::string::npos) << out;
  EXPECT_NE(out.find("dir     -         " + root + "\\sub\\\n"), std::string::npos) << out;
  EXPECT_NE(out.find("member  5         " + root + "\\sub\\a.bmp   in " + root + "\\pack.far at 16\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("file    1         " + root + "\\sub\\c.txt\n"), std::string::npos) << out;
  EXPECT_EQ(out.find("pack.far\n"), std::string::npos) << out;

  const ProgramRun flat = RunProgram("dfm_ls", {"--flat", "--no-archives", t.path() + "/Root"});
  EXPECT_EQ(flat.code, 0) << flat.err;
  EXPECT_EQ(flat.out.find("member"), std::string::npos) << flat.out;
  EXPECT_EQ(flat.out.find("c.txt"), std::string::npos) << flat.out;

  EXPECT_EQ(RunProgram("dfm_ls", {t.path() + "/Nowhere"}).code, 1);
  EXPECT_EQ(RunProgram("dfm_ls", {"--bad"}).code, 2);
}

TEST(DfmLsTest, ReportsEveryDamagedArchiveAndFails) {
  TempFolder t;
  tova_test::FarBuilder good;
  good.Add("ok.txt", "ok");
  tova_test::FarBuilder escaping;
  escaping.Add("../outside.txt", "x");
  t.Write("Root/a.far", "FAR!by");
  t.Write("Root/b.far", good.Build());
  t.Write("Root/Sub/c.far", escaping.Build());
  const ProgramRun run = RunProgram("dfm_ls", {t.path() + "/Root"});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("a.far': shorter than its header"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("c.far': entry 0 name leaves the archive's folder"), std::string::npos) << run.err;
  EXPECT_NE(run.out.find("ok.txt"), std::string::npos) << run.out;  // the rest is still listed
  EXPECT_EQ(run.out.find("outside.txt"), std::string::npos) << run.out;

  const ProgramRun clean = RunProgram("dfm_ls", {"--no-archives", t.path() + "/Root"});
  EXPECT_EQ(clean.code, 0) << clean.err;
}

}  // namespace
