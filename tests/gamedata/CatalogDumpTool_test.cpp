// The catalogue dump tool run on the starter content, compiled afresh by the
// content compiler into a scratch data root.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/ScratchDir.h"

namespace {

using tova_test::ReadBytes;
using tova_test::ScratchDir;

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

int RunCommand(const ScratchDir& dir, const std::string& command, std::string& out) {
  std::string full = command + " > " + Quote((dir / "stdout").string()) + " 2>&1; echo $? > " +
                     Quote((dir / "code").string());
  EXPECT_EQ(std::system(full.c_str()), 0);
  out = ReadBytes(dir / "stdout");
  return std::atoi(ReadBytes(dir / "code").c_str());
}

TEST(CatalogDumpTool, ListsTheStarterContent) {
  ScratchDir dir;
  const std::filesystem::path content = std::filesystem::path(TOVA_SOURCE_DIR) / "content";
  std::string compile = Quote(std::string(TOVA_BIN_DIR) + "/contentc") + " --out " + Quote((dir / "data").string());
  for (const auto& e : std::filesystem::recursive_directory_iterator(content)) {
    if (e.path().extension() == ".res") compile += " " + Quote(e.path().string());
  }
  std::string out;
  ASSERT_EQ(RunCommand(dir, compile, out), 0) << out;
  std::filesystem::copy_file(content / "GameData/Tuning.txt", dir / "data/GameData/Tuning.txt");

  ASSERT_EQ(RunCommand(dir, Quote(std::string(TOVA_BIN_DIR) + "/catalog_dump") + " --data " + Quote((dir / "data").string()), out),
            0)
      << out;
  const std::vector<std::string> expected = {
      "0x7FD96B54\tTemplate Person\tobjects\t2\t4096 4097 0",
      "0x3C08965F\tUnknown Object\tobjects\t4\t4096 4097 0",
      "0x3EEC206C\tLot Controller\tobjects\t7\t4096 4098 0",
      "0x4C3A1001\tDining Chair\tobjects\t4\t4096 4097 4098\n",  // from its 'OBJf'
      "0x4C3A1002\tDining Table\tobjects\t4\t",
      "0x4C3A1003\tFloor Lamp\tobjects\t4\t",
      "career 1\tCulinary\t3 levels\n",
      "career 2\tGardening\t2 levels\n",
      "Tuning report:\n(no problems)\n",
  };
  EXPECT_EQ(out.rfind("6 definitions\n", 0), 0u) << out;
  for (const std::string& line : expected) EXPECT_NE(out.find(line), std::string::npos) << line << "\n" << out;
}

}  // namespace
