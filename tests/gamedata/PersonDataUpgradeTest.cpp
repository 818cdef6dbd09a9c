#include <gtest/gtest.h>

#include <vector>

#include "CatalogFixture.h"
#include "gamedata/ObjectDefinition.h"
#include "gamedata/ObjectFolder.h"
#include "gamedata/PersonDataUpgrade.h"
#include "support/ScratchDir.h"

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

// The catalogue brings a person's definition record to the current layout
// as it loads; other objects keep their records as stored.
TEST(PersonDataUpgrade, TheCatalogueUpgradesPersonRecordsAsTheyLoad) {
  tova_test::ScratchDir dir;
  ASSERT_TRUE(dir.Ok());
  auto versioned = [](uint32_t guid, int16_t type, int16_t version) {
    tova::ObjectDefinitionRecord r = tova_test::MakeRecord(guid, type);
    r.SetWord(0, version);
    return r;
  };
  tova_test::WriteIff(dir / "GameData/Objects/People.iff",
                      {tova_test::Objd(128, "Old person", versioned(0x5001, 2, 136), 160),
                       tova_test::Objd(129, "Old chair", versioned(0x5002, 4, 136), 160)});
  tova_test::WriteIff(dir / "GameData/Global/Global.iff", {});
  tova::ObjectFolder folder;
  folder.Init(dir.Path().string() + "/");
  const tova::ObjectDefinition* person = folder.FindByGUID(0x5001);
  const tova::ObjectDefinition* chair = folder.FindByGUID(0x5002);
  ASSERT_TRUE(person && chair);
  EXPECT_EQ(person->GetRecord().Word(0), 138);
  EXPECT_EQ(person->GetRecord().Word(2), 0);
  EXPECT_EQ(chair->GetRecord().Word(0), 136);
}
