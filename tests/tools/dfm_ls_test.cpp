#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "../framework/FarBuilder.h"
#include "support/TempFolder.h"

namespace {

using tova_test::TempFolder;

// Runs dfm_ls; gives its standard output and sets the exit status.
std::string RunDfmLs(const std::string& args, int* status) {
  const std::string command = std::string(TOVA_BIN_DIR) + "/dfm_ls " + args + " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  std::string out;
  if (pipe == nullptr) return out;
  char buffer[512];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  const int rc = pclose(pipe);
  *status = (rc >> 8) & 0xFF;
  return out;
}

TEST(DfmLsTest, ListsLooseFilesMembersAndFolders) {
  TempFolder t;
  tova_test::FarBuilder far;
  far.Add("sub/a.bmp", "12345");
  far.Add("b.txt", "xy");
  t.Write("Root/Pack.FAR", far.Build());
  t.Write("Root/b.txt", "loose file");
  t.Write("Root/Sub/c.txt", "c");
  int status = -1;
  const std::string out = RunDfmLs("'" + t.path() + "/Root'", &status);
  EXPECT_EQ(status, 0);
  const std::string root = [&] {
    std::string r = t.path() + "/root";
    for (char& c : r) {
      if (c == '/') c = '\\';
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return r;
  }();
  EXPECT_NE(out.find("file    10        " + root + "\\b.txt\n"), std::string::npos) << out;
  EXPECT_NE(out.find("dir     -         " + root + "\\sub\\\n"), std::string::npos) << out;
  EXPECT_NE(out.find("member  5         " + root + "\\sub\\a.bmp   in " + root + "\\pack.far at 16\n"),
            std::string::npos)
      << out;
  EXPECT_NE(out.find("file    1         " + root + "\\sub\\c.txt\n"), std::string::npos) << out;
  EXPECT_EQ(out.find("pack.far\n"), std::string::npos) << out;

  const std::string flat = RunDfmLs("--flat --no-archives '" + t.path() + "/Root'", &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(flat.find("member"), std::string::npos) << flat;
  EXPECT_EQ(flat.find("c.txt"), std::string::npos) << flat;

  RunDfmLs("'" + t.path() + "/Nowhere'", &status);
  EXPECT_EQ(status, 1);
  RunDfmLs("--bad", &status);
  EXPECT_EQ(status, 2);
}

}  // namespace
