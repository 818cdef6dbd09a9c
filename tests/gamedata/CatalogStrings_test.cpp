#include "gamedata/CatalogStrings.h"

#include <gtest/gtest.h>

#include "resfile/MemResFile.h"
#include "resfile/StringSet.h"

namespace tova {
namespace {

TEST(CatalogStrings, WriteThenReadAndLegacyTableGoes) {
  MemResFile file;
  StringSet legacy;
  legacy.SetString(1, "Old name");
  legacy.SetString(2, "Old text");
  legacy.SetSource(&file, 7, kLegacyCatalogStringsType, false, 0);
  ASSERT_EQ(legacy.Save(), 0);

  CatalogStrings read;
  ASSERT_TRUE(read.Read(file, 7));
  EXPECT_EQ(read.name, "Old name");  // the legacy table wins while it exists

  CatalogStrings s{"Dining Chair", "Sits one."};
  ASSERT_EQ(s.Write(file, 7), 0);
  std::vector<uint8_t> bytes;
  EXPECT_FALSE(file.GetStored(kLegacyCatalogStringsType, 7, bytes));
  ASSERT_TRUE(read.Read(file, 7));
  EXPECT_EQ(read.name, "Dining Chair");
  EXPECT_EQ(read.description, "Sits one.");
  EXPECT_FALSE(read.Read(file, 8));
}

}  // namespace
}  // namespace tova
