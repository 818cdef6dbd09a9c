#include <gtest/gtest.h>

#include <vector>

#include "gamedata/PersonDataUpgrade.h"

TEST(PersonDataUpgrade, OldBlocksBecomeTheCurrentLayout) {
  struct Case {
    uint8_t version;
    size_t size;
    uint8_t expectedVersion;
  };
  const std::vector<Case> cases = {
      {136, 120, 138}, {137, 160, 138}, {137, 200, 138}, {138, 216, 138}, {138, 300, 138}, {139, 100, 139},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.version) << " " << c.size);
    std::vector<uint8_t> block(c.size, 0x5A);
    block[0] = c.version;
    block[1] = block[2] = block[3] = 0;
    tova::UpgradePersonDataBlock(block);
    ASSERT_EQ(block.size(), tova::kPersonDataBlockSize);
    EXPECT_EQ(block[0], c.expectedVersion);
    EXPECT_EQ(block[4], 0x5A);
    // What the old block lacked reads as zero; what it had stays.
    EXPECT_EQ(block.back(), c.size >= tova::kPersonDataBlockSize ? 0x5A : 0);
  }
  std::vector<uint8_t> tiny = {7};
  tova::UpgradePersonDataBlock(tiny);
  EXPECT_EQ(tiny.size(), tova::kPersonDataBlockSize);
  EXPECT_EQ(tiny[0], 7);
}
