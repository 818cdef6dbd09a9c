// The catalogue dump tool run on the starter content, compiled afresh by the
// content compiler into a scratch data root.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/CompileContent.h"
#include "support/RunProgram.h"
#include "support/ScratchDir.h"

namespace {

using tova_test::ProgramRun;
using tova_test::RunProgram;
using tova_test::ScratchDir;

TEST(CatalogDumpTool, ListsTheStarterContent) {
  ScratchDir dir;
  const std::filesystem::path content = std::filesystem::path(TOVA_SOURCE_DIR) / "content";
  std::vector<std::string> compile = {"--out", (dir / "data").string()};
  for (const auto& e : std::filesystem::recursive_directory_iterator(content)) {
    if (e.path().extension() == ".res") compile.push_back(e.path().string());
  }
  const ProgramRun built = tova_test::CompileContent(compile);
  ASSERT_EQ(built.code, 0) << built.err;
  std::filesystem::copy_file(content / "GameData/Tuning.txt", dir / "data/GameData/Tuning.txt");

  const ProgramRun dump = RunProgram("catalog_dump", {"--data", (dir / "data").string()});
  ASSERT_EQ(dump.code, 0) << dump.err;
  const std::string& out = dump.out;
  const std::vector<std::string> expected = {
      "0x7FD96B54\tTemplate Person\tobjects\t2\t4096 4097 0",
      "0x3C08965F\tUnknown Object\tobjects\t4\t4096 4097 0",
      "0x3EEC206C\tLot Controller\tobjects\t7\t4096 4098 0",
      "0x4C3A1001\tDining Chair\tobjects\t4\t4096 4097 0\n",  // from its 'OBJf'
      "0x4C3A1002\tDining Table\tobjects\t4\t",
      "0x4C3A1003\tFloor Lamp\tobjects\t4\t",
      "0x4C3A1010\tTicker\tobjects\t4\t0 4096 0",
      "0x4C3A1020\tWall Cursor\tobjects\t9\t",
      "0x4C3A1004\tGarden Bench\tobjects\t4\t",  // a group of two parts
      "0x4C3A1005\tGarden Bench - left\tobjects\t4\t4096 4097 0",
      "0x4C3A1006\tGarden Bench - right\tobjects\t4\t4096 4097 0",
      "0x000007C4\tStep Aside Marker\tobjects\t4\t4096 4097 0",
      "0x4C3A1021\tTile Cursor\tobjects\t9\t",
      "0x2F39B7A6\tTerrain Marker\tobjects\t9\t",
      "0x4C3A1030\tPatio Stone\tobjects\t4\t4096 0",
      "0x4C3A1040\tPlain Door\tobjects\t8\t",  // two parts standing in a wall
      "0x4C3A1041\tPlain Door - front\tobjects\t8\t4096 4098 0",
      "0x4C3A1045\tArchway - back\tobjects\t8\t4097 4098 0",
      "0x4C3A1060\tGreeter\tobjects\t4\t0 4096 0",
      "0x4C3A1047\tDispenser\tobjects\t4\t4096 4097 0",
      "0x4C3A1048\tCup\tobjects\t4\t4096 4098 0",
      "career 1\tCulinary\t3 levels\n",
      "career 2\tGardening\t2 levels\n",
      "Tuning report:\n(no problems)\n",
  };
  EXPECT_EQ(out.rfind("34 definitions\n", 0), 0u) << out;
  for (const std::string& line : expected) EXPECT_NE(out.find(line), std::string::npos) << line << "\n" << out;
}

}  // namespace
