// vekinfo run as a person would, on a settings store of the test's own.
#include <gtest/gtest.h>

#include "VekTestSupport.h"
#include "support/RunProgram.h"

using namespace vek_test;

namespace {

class VekInfoTool : public VekTest {};

}  // namespace

TEST_F(VekInfoTool, PrintsServerFoldersLanguageAndDigests) {
  const std::string install = Install();
  dir_.Write("install/vekp0409.txt", tova_test::ReadBytes(EnglishTexts()));
  dir_.Write("abc.bin", "abc");
  SetText(vek::kVekPatchKey, "PatchServer", "updates.example:7000");
  const tova_test::ProgramRun run = tova_test::RunProgram("vekinfo", {"--registry", registry_, dir_ / "abc.bin"});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, "server updates.example 7000\n"
                     "install " + install + "\n"
                     "download " + install + "PATCH/\n"
                     "language 0409 " + install + "vekp0409.txt\n"
                     "md5 900150983cd24fb0d6963f7d28e17f72 " + (dir_ / "abc.bin") + "\n");
}

TEST_F(VekInfoTool, NoServerAndUnusableValues) {
  const std::string install = Install();
  dir_.Write("install/vekp0409.txt", tova_test::ReadBytes(EnglishTexts()));
  tova_test::ProgramRun run = tova_test::RunProgram("vekinfo", {"--registry", registry_});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out.substr(0, 12), "server none\n");

  SetText(vek::kVekPatchKey, "PatchServer", "updates.example:99999");
  run = tova_test::RunProgram("vekinfo", {"--registry", registry_});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("0x1000000e"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("no valid port"), std::string::npos) << run.err;

  run = tova_test::RunProgram("vekinfo", {"--registry", dir_ / "empty-registry.txt"});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("InstallPath"), std::string::npos) << run.err;

  run = tova_test::RunProgram("vekinfo", {"--registry"});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("usage"), std::string::npos);
}
