#include "gamedata/TextTable.h"

#include <gtest/gtest.h>

#include <string>

#include "support/ScratchDir.h"

namespace tova {
namespace {

TEST(TextTable, SplitsTabsAndKeepsEmptyCellsInPlace) {
  TextTable t;
  t.Parse("a\tb\nx\t\ty\n\nlast\t");
  ASSERT_EQ(t.GetRowCount(), 4);
  EXPECT_STREQ(t.GetCell(0, 0), "a");
  EXPECT_STREQ(t.GetCell(1, 0), "b");
  EXPECT_STREQ(t.GetCell(1, 1), "");  // two tabs: the middle cell is empty
  EXPECT_STREQ(t.GetCell(2, 1), "y");
  EXPECT_STREQ(t.GetCell(0, 2), "");  // a blank line is an empty row
  EXPECT_STREQ(t.GetCell(0, 3), "last");
  EXPECT_STREQ(t.GetCell(1, 3), "");  // a trailing tab gives one more empty cell
  EXPECT_EQ(t.GetColumnCount(), 3);
  EXPECT_EQ(t.GetCell(3, 0), nullptr);
  EXPECT_EQ(t.GetCell(-1, 0), nullptr);
  EXPECT_EQ(t.GetCell(0, 4), nullptr);
}

TEST(TextTable, IntegersAndAbsentCells) {
  TextTable t;
  t.Parse("12\t-7\tword\n");
  EXPECT_EQ(t.GetCellInt(0, 0), 12);
  EXPECT_EQ(t.GetCellInt(1, 0), -7);
  EXPECT_EQ(t.GetCellInt(2, 0), 0);
  EXPECT_EQ(t.GetCellInt(9, 9), 0);
}

TEST(TextTable, CrLfFilesReadAsLfAndLongLinesWhole) {
  tova_test::ScratchDir dir;
  std::string longCell(5000, 'q');
  tova_test::WriteBytes(dir / "t.txt", "a\tb\r\n" + longCell + "\tz\r\n");
  TextTable t;
  ASSERT_EQ(t.Read((dir / "t.txt").string()), 0);
  ASSERT_EQ(t.GetRowCount(), 2);
  EXPECT_STREQ(t.GetCell(1, 0), "b");
  EXPECT_EQ(std::string(t.GetCell(0, 1)), longCell);
  EXPECT_STREQ(t.GetCell(1, 1), "z");
}

TEST(TextTable, MissingFileLeavesTableUnchanged) {
  TextTable t;
  t.Parse("keep\n");
  EXPECT_EQ(t.Read("/nonexistent/folder/none.txt"), -1);
  EXPECT_STREQ(t.GetCell(0, 0), "keep");
}

}  // namespace
}  // namespace tova
