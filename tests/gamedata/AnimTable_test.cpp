#include "gamedata/AnimTable.h"

#include <gtest/gtest.h>

#include "resfile/MemResFile.h"

namespace tova {
namespace {

TEST(AnimTable, MergeFillsGapsLowerCasedAndKeepsPresentNames) {
  MemResFile file;
  StringSet source;
  for (const char* s : {"A-Walk", "A-Run", "A-SIT", "A-Lie", "A-Jump"}) source.SetString(source.GetCount() + 1, s);
  ASSERT_EQ(source.SaveTo(&file, 130), 0);

  AnimTable table;
  table.SetString(1, "keep1");
  table.SetString(2, "keep2");
  table.SetString(3, "");
  ASSERT_EQ(table.MergeNames(&file, 130), 0);
  ASSERT_EQ(table.GetCount(), 5);
  EXPECT_STREQ(table.GetString(1), "keep1");
  EXPECT_STREQ(table.GetString(2), "keep2");
  EXPECT_STREQ(table.GetString(3), "a-sit");
  EXPECT_STREQ(table.GetString(5), "a-jump");
}

TEST(AnimTable, MissingTableGivesTheFileStatus) {
  MemResFile file;
  AnimTable table;
  EXPECT_NE(table.MergeNames(&file, 99), 0);
  EXPECT_EQ(table.GetCount(), 0);
}

}  // namespace
}  // namespace tova
