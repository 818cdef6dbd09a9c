#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "NeighborhoodFakes.h"
#include "gamedata/FamilyExport.h"
#include "gamedata/Neighborhood.h"
#include "gamedata/NeighborhoodConstants.h"
#include "gamedata/RecordIO.h"
#include "gamedata/ResFileSource.h"
#include <cstring>
#include <functional>
#include "resfile/IFFResFile2.h"
#include "resfile/ReconObject.h"
#include "support/ScratchDir.h"

using tova::Family;
using tova::GuidTable;
using tova::Neighbor;
using tova::Neighborhood;
namespace fs = std::filesystem;

namespace {

constexpr ResType kHouseMark = TypeCode("HOUS");

// One neighbourhood in a folder of its own, with its own people.
struct Hood {
  explicit Hood(int32_t firstGuid) {
    services.nextGuid = firstGuid;
    services.AddPerson(Neighborhood::kTemplateCharacterGuid, "Template");
    fs::create_directories(dir / "Houses");
    path = (dir / "Neighborhood.iff").string();
    hood.SetPath(path.c_str());
  }
  // A house file holding one marker chunk.
  void WriteHouse(int lot) {
    IFFResFile2 file;
    FixedPath name;
    hood.GetHouseFileName(lot, name);
    ASSERT_EQ(file.OpenWithFlags(name.c_str(), iResFile::kOpenCreateMissing), 0);
    MemHandle h = NewMemHandle(4);
    std::memcpy(GetMemHandleData(h), "lot!", 4);
    ASSERT_EQ(file.AddResource(h, kHouseMark, static_cast<ResId>(lot), "", true), 0);
    ASSERT_EQ(file.WriteResource(h), 0);
    file.Close();
  }
  tova_test::ScratchDir dir;
  tova_test::FakeNeighborhoodServices services;
  std::string path;
  Neighborhood hood{services};
};

bool HasChunk(const std::string& path, ResType type, ResId id) {
  IFFResFile2 file;
  if (file.Open(path) != 0) return false;
  MemHandle h = file.GetResource(type, id, nullptr);
  const bool found = h != nullptr;
  if (h) file.ReleaseResource(h);
  file.Close();
  return found;
}

class FamilyFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tova::NeighborhoodConstants::Instance().Reset();
    from.services.AddPerson(0x100, "Ada");
    from.services.AddPerson(0x200, "Bo");
    ASSERT_EQ(from.hood.Init(), 0);
    family = from.hood.NewFamily();
    family->SetName("Holm");
    family->funds = 777;
    family->houseValue = 3000;
    ada = from.hood.FindNeighborByGUID(0x100);
    bo = from.hood.FindNeighborByGUID(0x200);
    ASSERT_EQ(from.hood.AddToFamily(*ada, *family), 0);
    ASSERT_EQ(from.hood.AddToFamily(*bo, *family), 0);
    ada->relationships.AddArray(bo->id);
    ada->relationships.SetSize(bo->id, 2);
    ada->relationships.SetValue(bo->id, 0, 80);
    ada->relationships.SetValue(bo->id, 1, 1);
    ada->personDataVersion = 5;
    ada->personData[69] = 12;
    exportDir = (from.dir / "Export").string();
    fs::create_directories(exportDir);
  }
  std::string FamilyFile() const { return exportDir + "/" + Neighborhood::FamilyFileStem(*family) + ".FAM"; }

  Hood from{0x9000};
  Hood to{0x7000};
  Family* family = nullptr;
  Neighbor* ada = nullptr;
  Neighbor* bo = nullptr;
  std::string exportDir;
};

}  // namespace

TEST(GuidTable, LookupFollowsChainsAndEnds) {
  struct Case {
    std::vector<GuidTable::Pair> pairs;
    int32_t from, expected;
  };
  const std::vector<Case> cases = {
      {{}, 5, 5},
      {{{1, 2}, {2, 3}}, 1, 3},
      {{{1, 2}, {2, 3}}, 2, 3},
      {{{1, 1}}, 1, 1},
      {{{1, 2}, {2, 1}}, 1, 1},
      {{{4, 5}, {4, 6}}, 4, 5},  // the first matching pair
  };
  for (const Case& c : cases) {
    GuidTable table;
    for (auto& p : c.pairs) table.Add(p.from, p.to);
    EXPECT_EQ(table.Lookup(c.from), c.expected);
  }
}

TEST(GuidTable, RoundTripAndHostileCount) {
  GuidTable table;
  table.Add(10, 20);
  table.Add(20, 30);
  auto bytes = tova::WritePlain([&](ReconStream& s) { table.Reconstitute(s, 0); });
  GuidTable back;
  ASSERT_TRUE(tova::ReadPlain(bytes, [&](ReconStream& s) { back.Reconstitute(s, 0); }));
  EXPECT_EQ(back.Lookup(10), 30);
  bytes[0] = 0xFF;  // a count far beyond the pairs that follow
  GuidTable bad;
  EXPECT_FALSE(tova::ReadPlain(bytes, [&](ReconStream& s) { bad.Reconstitute(s, 0); }));
}

TEST_F(FamilyFilesTest, ExportWithoutALotCarriesNoHouse) {
  ASSERT_EQ(from.hood.ExportFamily(exportDir, *family), 0);
  const std::string file = FamilyFile();
  EXPECT_EQ(fs::path(file).filename(), "Holm_1.FAM");
  EXPECT_TRUE(HasChunk(file, tova::kFamilyChunk, 1));
  EXPECT_TRUE(HasChunk(file, tova::kExportInfoChunk, 0));
  EXPECT_TRUE(HasChunk(file, tova::kNeighborsChunk, 1));
  EXPECT_FALSE(HasChunk(file, kHouseMark, 3));
  EXPECT_FALSE(fs::exists(exportDir + "/Holm_1.x"));
  EXPECT_EQ(from.hood.ExportFamily("", *family), -1);
}

TEST_F(FamilyFilesTest, ExportReplacesAnOldFileAndAStaleTemporaryOne) {
  tova_test::WriteBytes(FamilyFile(), "old");
  tova_test::WriteBytes(exportDir + "/Holm_1.x", "stale");
  from.WriteHouse(3);
  ASSERT_EQ(from.hood.MoveFamilyToLot(*family, 3), 0);
  ASSERT_EQ(from.hood.ExportFamily(exportDir + "/", *family), 0);
  EXPECT_TRUE(HasChunk(FamilyFile(), kHouseMark, 3));
  EXPECT_TRUE(HasChunk(FamilyFile(), tova::kFamilyChunk, 1));
  EXPECT_FALSE(fs::exists(exportDir + "/Holm_1.x"));
}

TEST_F(FamilyFilesTest, FileNameCannotLeaveTheFolder) {
  family->SetName("../a/b\\c:d");
  ASSERT_EQ(from.hood.ExportFamily(exportDir, *family), 0);
  EXPECT_TRUE(fs::exists(exportDir + "/___a_b_c_d_1.FAM"));
  EXPECT_STREQ(family->GetName(), "../a/b\\c:d");
}

TEST_F(FamilyFilesTest, ImportOntoAnOccupiedLotDisplacesItsFamily) {
  from.WriteHouse(3);
  ASSERT_EQ(from.hood.MoveFamilyToLot(*family, 3), 0);
  ASSERT_EQ(from.hood.ExportFamily(exportDir, *family), 0);

  ASSERT_EQ(to.hood.Init(), 0);
  to.WriteHouse(3);
  Family* resident = to.hood.NewFamily();
  resident->funds = 100;
  resident->houseValue = 50;
  resident->flags = Family::kFlagMoneyHeld;
  ASSERT_EQ(to.hood.MoveFamilyToLot(*resident, 3), 0);
  // A character of the lot without a family goes with the old house.
  Neighbor* lodger = nullptr;
  ASSERT_EQ(to.hood.CreateUserCharacter(&lodger), 0);
  lodger->personData[tova::kPersonDataLot] = 3;
  const int32_t lodgerGuid = lodger->guid;

  Family* made = nullptr;
  Family* displaced = nullptr;
  ASSERT_EQ(to.hood.ImportFamily(FamilyFile(), &made, &displaced), 0);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(displaced, resident);
  EXPECT_EQ(resident->lot, 0);
  EXPECT_EQ(resident->funds, 150);
  EXPECT_EQ(resident->houseValue, 0);
  EXPECT_EQ(resident->flags & Family::kFlagMoneyHeld, 0);
  EXPECT_EQ(to.hood.FindNeighborByGUID(lodgerGuid), nullptr);

  EXPECT_STREQ(made->GetName(), "Holm");
  EXPECT_EQ(made->funds, 777);
  EXPECT_EQ(made->lot, 3);
  EXPECT_EQ(made->flags & Family::kFlagFirstVisit, 0);
  ASSERT_EQ(made->GetMemberCount(), 2);
  Neighbor* newAda = to.hood.FindNeighborByGUID(*made->GetMember(0));
  Neighbor* newBo = to.hood.FindNeighborByGUID(*made->GetMember(1));
  ASSERT_TRUE(newAda && newBo);
  EXPECT_STREQ(newAda->name.c_str(), "Ada");
  EXPECT_EQ(newAda->relationships.GetValue(newBo->id, 0), 80);
  EXPECT_EQ(newAda->relationships.GetValue(newBo->id, 1), 1);
  EXPECT_EQ(newAda->personData[69], 12);
  EXPECT_EQ(newAda->personData[tova::kPersonDataFamily], made->number);

  // The family file became the lot's house file, with the GUID table.
  FixedPath house;
  to.hood.GetHouseFileName(3, house);
  EXPECT_FALSE(fs::exists(FamilyFile()));
  EXPECT_FALSE(fs::exists(std::string(house.c_str()) + ".tmp"));
  IFFResFile2 file;
  ASSERT_EQ(file.Open(house.c_str()), 0);
  GuidTable table;
  SimpleReconObject<GuidTable> record(&table, tova::kGuidTableChunk);
  ASSERT_EQ(ReconObject::LoadFromResFile(record, file, 1), 0);
  file.Close();
  EXPECT_EQ(table.Lookup(0x100), newAda->guid);
  EXPECT_EQ(table.Lookup(0x200), newBo->guid);

  // And the neighbourhood was saved with all of it.
  Neighborhood again(to.services);
  again.SetPath(to.path.c_str());
  ASSERT_EQ(again.Init(), 0);
  EXPECT_EQ(again.FindFamilyByHouse(3)->number, made->number);
}

TEST_F(FamilyFilesTest, AnImportThatFailsHalfWayLeavesNothingBehind) {
  from.WriteHouse(3);
  ASSERT_EQ(from.hood.MoveFamilyToLot(*family, 3), 0);
  ASSERT_EQ(from.hood.ExportFamily(exportDir, *family), 0);
  ASSERT_EQ(to.hood.Init(), 0);
  to.WriteHouse(3);
  Family* resident = to.hood.NewFamily();
  resident->funds = 100;
  ASSERT_EQ(to.hood.MoveFamilyToLot(*resident, 3), 0);
  Neighbor* lodger = nullptr;
  ASSERT_EQ(to.hood.CreateUserCharacter(&lodger), 0);
  lodger->personData[tova::kPersonDataLot] = 3;
  const int32_t lodgerGuid = lodger->guid;
  const size_t families = to.hood.Families().size();

  to.services.failImportCall = 2;
  Family* made = nullptr;
  Family* displaced = nullptr;
  EXPECT_EQ(to.hood.ImportFamily(FamilyFile(), &made, &displaced), -1);
  EXPECT_EQ(made, nullptr);
  EXPECT_EQ(to.hood.Families().size(), families);
  EXPECT_EQ(resident->lot, 3);
  EXPECT_EQ(resident->funds, 100);
  EXPECT_NE(to.hood.FindNeighborByGUID(lodgerGuid), nullptr);
  // Only the lodger's character file is left; the two made ones are gone.
  int characters = 0;
  for (const auto& entry : fs::directory_iterator(to.dir / "Characters")) characters += entry.is_regular_file();
  EXPECT_EQ(characters, 1);
  EXPECT_TRUE(fs::exists(FamilyFile()));
}

TEST_F(FamilyFilesTest, ImportWithoutALotDeletesTheFamilyFile) {
  ASSERT_EQ(from.hood.ExportFamily(exportDir, *family), 0);
  ASSERT_EQ(to.hood.Init(), 0);
  Family* made = nullptr;
  Family* displaced = nullptr;
  ASSERT_EQ(to.hood.ImportFamily(FamilyFile(), &made, &displaced), 0);
  EXPECT_EQ(displaced, nullptr);
  EXPECT_EQ(made->lot, 0);
  EXPECT_EQ(made->GetMemberCount(), 2);
  EXPECT_FALSE(fs::exists(FamilyFile()));
}

TEST_F(FamilyFilesTest, HostileFamilyFilesAreRefusedBeforeAnythingChanges) {
  ASSERT_EQ(from.hood.ExportFamily(exportDir, *family), 0);
  ASSERT_EQ(to.hood.Init(), 0);
  const std::string good = tova_test::ReadBytes(FamilyFile());
  struct Case {
    const char* what;
    std::function<void(IFFResFile2&)> spoil;
  };
  auto put = [](IFFResFile2& f, ResType type, ResId id, std::vector<uint8_t> bytes) {
    tova::ResFileSource source(&f);
    ASSERT_EQ(source.PutResource(type, id, "", std::move(bytes)), 0);
  };
  auto info = [](std::vector<int16_t> members, int16_t number) {
    tova::ExpFamilyInfo i;
    i.familyNumber = number;
    for (size_t n = 0; n < members.size() && n < 8; ++n) i.members[n] = members[n];
    SimpleReconObject<tova::ExpFamilyInfo> record(&i, tova::kExportInfoChunk);
    return tova::WriteRecordBytes(record, 63);
  };
  const std::vector<Case> cases = {
      {"member id with no neighbour", [&](IFFResFile2& f) { put(f, tova::kExportInfoChunk, 0, info({1, 2, 300}, 1)); }},
      {"family chunk missing", [&](IFFResFile2& f) { put(f, tova::kExportInfoChunk, 0, info({1}, 9)); }},
      {"negative member id", [&](IFFResFile2& f) { put(f, tova::kExportInfoChunk, 0, info({-4}, 1)); }},
      {"info cut short", [&](IFFResFile2& f) { put(f, tova::kExportInfoChunk, 0, tova::MakeRecord(63, tova::kExportInfoChunk, {1, 0})); }},
      {"neighbours cut short",
       [&](IFFResFile2& f) { put(f, tova::kNeighborsChunk, 1, tova::MakeRecord(62, tova::kNeighborsChunk, {2, 0, 0, 0, 1, 0})); }},
      {"guid table count too big",
       [&](IFFResFile2& f) { put(f, tova::kGuidTableChunk, 1, tova::MakeRecord(0, tova::kGuidTableChunk, {0xFF, 0xFF, 0, 0})); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    tova_test::WriteBytes(FamilyFile(), good);
    {
      IFFResFile2 f;
      ASSERT_EQ(f.Open(FamilyFile()), 0);
      c.spoil(f);
      f.Close();
    }
    Family* made = nullptr;
    Family* displaced = nullptr;
    EXPECT_NE(to.hood.ImportFamily(FamilyFile(), &made, &displaced), 0);
    EXPECT_EQ(made, nullptr);
    EXPECT_EQ(to.hood.Families().size(), 1u);
    EXPECT_TRUE(fs::exists(FamilyFile()));
  }
  tova_test::WriteBytes(FamilyFile(), "garbage");
  Family* made = nullptr;
  EXPECT_NE(to.hood.ImportFamily(FamilyFile(), &made, nullptr), 0);
  EXPECT_EQ(to.hood.Families().size(), 1u);
}
