#include <climits>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "NeighborhoodFakes.h"
#include "gamedata/Neighborhood.h"
#include "gamedata/NeighborhoodConstants.h"
#include "gamedata/RecordIO.h"
#include "gamedata/ResFileSource.h"
#include "resfile/IFFResFile2.h"
#include "resfile/ReconObject.h"
#include "support/ScratchDir.h"

using tova::Family;
using tova::FamilyHistory;
using tova::Neighbor;
using tova::Neighborhood;
namespace fs = std::filesystem;

namespace {

constexpr int32_t kVersion = Neighborhood::kDefaultSaveVersion;

class NeighborhoodTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.Ok());
    tova::NeighborhoodConstants::Instance().Reset();
    path = (dir / "Neighborhood.iff").string();
    hood.SetPath(path.c_str());
  }

  // A neighbourhood opened afresh from the same file and the same people.
  std::unique_ptr<Neighborhood> Reopen() {
    auto again = std::make_unique<Neighborhood>(services);
    again->SetPath(path.c_str());
    EXPECT_EQ(again->Init(), 0);
    return again;
  }

  void WriteHouse(int lot, const std::string& text) {
    fs::create_directories(dir / "Houses");
    char name[32];
    std::snprintf(name, sizeof name, "House%02d.iff", lot);
    tova_test::WriteBytes(dir / "Houses" / name, text);
  }
  std::string ReadHouse(int lot) {
    char name[32];
    std::snprintf(name, sizeof name, "House%02d.iff", lot);
    return tova_test::ReadBytes(dir / "Houses" / name);
  }

  tova_test::ScratchDir dir;
  tova_test::FakeNeighborhoodServices services;
  std::string path;
  Neighborhood hood{services};
};

}  // namespace

TEST_F(NeighborhoodTest, EmptyFolderGivesTheDefaultFamilyAndSavesIntoPlace) {
  ASSERT_EQ(hood.Init(), 0);
  ASSERT_EQ(hood.Families().size(), 1u);
  EXPECT_EQ(hood.Families()[0]->number, 0);
  EXPECT_STREQ(hood.Families()[0]->GetName(), "Default");
  ASSERT_EQ(services.registeredFolders.size(), 1u);
  EXPECT_EQ(services.registeredFolders[0], dir.Path().string() + "/Characters/");

  fs::remove(path);  // no neighbourhood file yet
  EXPECT_EQ(hood.Save(kVersion), 0);
  EXPECT_TRUE(fs::exists(path));
  EXPECT_FALSE(fs::exists(dir / "NTemp.iff"));
  auto again = Reopen();
  ASSERT_EQ(again->Families().size(), 1u);
  EXPECT_STREQ(again->Families()[0]->GetName(), "Default");
}

TEST_F(NeighborhoodTest, NeighboursFamiliesAndSettingsRoundTrip) {
  services.AddPerson(0x100, "Ada");
  services.AddPerson(0x200, "Bo");
  services.AddPerson(0x300, "Cy");
  ASSERT_EQ(hood.Init(), 0);
  ASSERT_EQ(hood.GetNeighborSlotCount(), 3);
  Neighbor* ada = hood.FindNeighborByGUID(0x100);
  Neighbor* bo = hood.FindNeighborByGUID(0x200);
  ASSERT_TRUE(ada && bo);
  ada->relationships.AddArray(bo->id);
  ada->relationships.SetSize(bo->id, 2);
  ada->relationships.SetValue(bo->id, 0, 70);
  ada->personData[5] = 321;
  ada->personDataVersion = 5;
  ada->stamp = 99;
  Family* f = hood.NewFamily();
  ASSERT_NE(f, nullptr);
  f->SetName("Ashworth");
  ASSERT_EQ(hood.AddToFamily(*ada, *f), 0);
  ASSERT_EQ(hood.MoveFamilyToLot(*f, 4), 0);
  hood.SetSetting(Neighborhood::kSettingTutorialState, 3);
  ASSERT_EQ(hood.Save(kVersion), 0);

  auto again = Reopen();
  EXPECT_EQ(again->GetSetting(Neighborhood::kSettingTutorialState), 3);
  Neighbor* ada2 = again->FindNeighborByGUID(0x100);
  ASSERT_NE(ada2, nullptr);
  EXPECT_EQ(ada2->id, ada->id);
  EXPECT_STREQ(ada2->name.c_str(), "Ada");
  EXPECT_EQ(ada2->stamp, 99);
  EXPECT_EQ(ada2->personData[5], 321);
  EXPECT_EQ(ada2->relationships.GetValue(bo->id, 0), 70);
  Family* f2 = again->FindFamily(f->number);
  ASSERT_NE(f2, nullptr);
  EXPECT_STREQ(f2->GetName(), "Ashworth");
  EXPECT_EQ(f2->lot, 4);
  EXPECT_EQ(f2->funds, 20000);
  EXPECT_TRUE(f2->HasMember(0x100));
  EXPECT_EQ(ada2->personData[tova::kPersonDataFamily], f->number);
  EXPECT_EQ(again->FindNeighborByGUID(0x300)->personData[tova::kPersonDataFamily], 0);
}

TEST_F(NeighborhoodTest, MissingCharacterIsNamedAndDropped) {
  services.AddPerson(0x100, "Ada");
  services.AddPerson(0x200, "Bo");
  ASSERT_EQ(hood.Init(), 0);
  Neighbor* ada = hood.FindNeighborByGUID(0x100);
  Neighbor* bo = hood.FindNeighborByGUID(0x200);
  ada->relationships.AddArray(bo->id);
  const int16_t boId = bo->id;
  Family* f = hood.NewFamily();
  ASSERT_EQ(hood.AddToFamily(*ada, *f), 0);
  ASSERT_EQ(hood.AddToFamily(*bo, *f), 0);
  const int32_t number = f->number;
  ASSERT_EQ(hood.Save(kVersion), 0);

  services.persons.erase(0x200);  // Bo's character file is gone
  services.broadcasts.clear();
  auto again = Reopen();
  EXPECT_EQ(again->GetMissingCharacters(), "Bo, ");
  EXPECT_EQ(again->FindNeighborByGUID(0x200), nullptr);
  EXPECT_EQ(again->GetNeighbor(boId), nullptr);
  EXPECT_EQ(again->FindNeighborByGUID(0x100)->relationships.GetSize(boId), 0);
  EXPECT_EQ(again->FindFamily(number)->Members(), (std::vector<int32_t>{0x100}));
  EXPECT_EQ(services.broadcasts, (std::vector<std::pair<int32_t, int32_t>>{{Neighborhood::kCommandNeighborFreed, boId}}));

  // The freed slot is the one a new person takes.
  tova::PersonDefinitionInfo cy{0x300, "Cy", false, ""};
  EXPECT_EQ(again->AddNeighbor(cy)->id, boId);
}

TEST_F(NeighborhoodTest, FamiliesSortBySortKeyThenNumberDescending) {
  ASSERT_EQ(hood.Init(), 0);
  Family* a = hood.NewFamily();
  Family* b = hood.NewFamily();
  Family* c = hood.NewFamily();
  EXPECT_EQ(a->number, 1);
  EXPECT_EQ(c->number, 3);
  EXPECT_EQ(c->sortKey, b->sortKey + 1);
  a->sortKey = 10;
  b->sortKey = 10;
  c->sortKey = 12;
  hood.SortFamilies();
  std::vector<int32_t> order;
  for (auto& f : hood.Families()) order.push_back(f->number);
  EXPECT_EQ(order, (std::vector<int32_t>{3, 2, 1, 0}));

  // The lowest free number is reused.
  ASSERT_EQ(hood.RemoveFamily(b), 0);
  EXPECT_EQ(hood.NewFamily()->number, 2);
}

TEST_F(NeighborhoodTest, RemovingAFamilyIsRefusedForDefaultAndHousedFamilies) {
  ASSERT_EQ(hood.Init(), 0);
  Family* housed = hood.NewFamily();
  ASSERT_EQ(hood.MoveFamilyToLot(*housed, 2), 0);
  EXPECT_EQ(hood.RemoveFamily(hood.FindFamily(0)), -1);
  EXPECT_EQ(hood.RemoveFamily(housed), -1);
  EXPECT_EQ(hood.RemoveFamily(nullptr), -1);
  housed->lot = 0;
  const int32_t number = housed->number;
  EXPECT_EQ(hood.RemoveFamily(housed), 0);
  EXPECT_EQ(services.broadcasts.back(), std::make_pair(Neighborhood::kCommandFamilyRemoved, number));
}

TEST_F(NeighborhoodTest, MovingInIsRefusedOutsideTheLotsAndOnATakenLot) {
  ASSERT_EQ(hood.Init(), 0);
  Family* a = hood.NewFamily();
  Family* b = hood.NewFamily();
  for (int32_t lot : {0, 12, -1}) EXPECT_EQ(hood.MoveFamilyToLot(*a, lot), -1) << lot;
  ASSERT_EQ(hood.MoveFamilyToLot(*a, 11), 0);
  EXPECT_EQ(a->lot, 11);
  EXPECT_TRUE(a->flags & Family::kFlagFirstVisit);
  EXPECT_EQ(hood.MoveFamilyToLot(*b, 11), -1);
  EXPECT_EQ(b->lot, 0);
  EXPECT_EQ(hood.FindFamilyByHouse(11), a);
}

TEST_F(NeighborhoodTest, MembershipChangesMarkTheFamilyAndTellTheLot) {
  services.AddPerson(0x100, "Ada");
  ASSERT_EQ(hood.Init(), 0);
  Neighbor* ada = hood.FindNeighborByGUID(0x100);
  Family* f = hood.NewFamily();
  Family* g = hood.NewFamily();
  f->flags = Family::kFlagMoneyHeld;
  f->changed = false;
  ada->personData[tova::kPersonDataLot] = 6;
  ASSERT_EQ(hood.AddToFamily(*ada, *f), 0);
  EXPECT_EQ(ada->personData[tova::kPersonDataFamily], f->number);
  EXPECT_EQ(ada->personData[tova::kPersonDataLot], 0);
  EXPECT_EQ(f->flags, 0);
  EXPECT_TRUE(f->changed);
  EXPECT_EQ(hood.AddToFamily(*ada, *f), -1);  // twice
  EXPECT_EQ(hood.AddToFamily(*ada, *g), -1);  // in another family already
  EXPECT_EQ(f->GetMemberCount(), 1);
  ASSERT_EQ(hood.RemoveFromFamily(*ada), 0);
  EXPECT_EQ(hood.RemoveFromFamily(*ada), -1);
  EXPECT_EQ(ada->personData[tova::kPersonDataFamily], 0);
  EXPECT_EQ(services.broadcasts.size(), 2u);
  EXPECT_EQ(services.broadcasts[0].first, Neighborhood::kCommandMembershipChanged);
}

TEST_F(NeighborhoodTest, StaleTemporaryFileDoesNotBringBackOldChunks) {
  ASSERT_EQ(hood.Init(), 0);
  {
    IFFResFile2 stale;
    ASSERT_EQ(stale.OpenWithFlags((dir / "NTemp.iff").string(), iResFile::kOpenCreateMissing), 0);
    Family ghost(7);
    ghost.SetName("Ghosts");
    ASSERT_TRUE(ghost.Save(stale));
    stale.Close();
  }
  ASSERT_EQ(hood.Save(kVersion), 0);
  auto again = Reopen();
  EXPECT_EQ(again->FindFamily(7), nullptr);
  EXPECT_EQ(again->Families().size(), 1u);
}

TEST_F(NeighborhoodTest, SwapExchangesHouseFilesAndFamilies) {
  ASSERT_EQ(hood.Init(), 0);
  WriteHouse(1, "first");
  WriteHouse(2, "second");
  Family* a = hood.NewFamily();
  ASSERT_EQ(hood.MoveFamilyToLot(*a, 1), 0);
  FixedPath message;
  ASSERT_EQ(hood.SwapLots(1, 2, message), 0) << message.c_str();
  EXPECT_STREQ(message.c_str(), "");
  EXPECT_EQ(ReadHouse(1), "second");
  EXPECT_EQ(ReadHouse(2), "first");
  EXPECT_EQ(a->lot, 2);
  EXPECT_EQ(Reopen()->FindFamily(a->number)->lot, 2);
}

TEST_F(NeighborhoodTest, SwapThatFailsPartWayLeavesBothFilesAsTheyWere) {
  ASSERT_EQ(hood.Init(), 0);
  WriteHouse(3, "three");
  WriteHouse(4, "four");
  Family* a = hood.NewFamily();
  ASSERT_EQ(hood.MoveFamilyToLot(*a, 3), 0);
  for (int failing : {1, 2, 3}) {
    SCOPED_TRACE(failing);
    services.moveCalls = 0;
    services.failMoveCall = failing;
    FixedPath message;
    EXPECT_EQ(hood.SwapLots(3, 4, message), -1);
    EXPECT_STREQ(message.c_str(), "Couldn't move house files.");
    EXPECT_EQ(ReadHouse(3), "three");
    EXPECT_EQ(ReadHouse(4), "four");
    EXPECT_FALSE(fs::exists(dir / "TEMP"));
    EXPECT_EQ(a->lot, 3);
  }
}

TEST_F(NeighborhoodTest, UserCharacterTakesTheNextFreeNumber) {
  services.AddPerson(Neighborhood::kTemplateCharacterGuid, "Template");
  ASSERT_EQ(hood.Init(), 0);
  fs::create_directories(dir / "Characters");
  tova_test::WriteBytes(dir / "Characters" / "User00007.iff", "taken");
  hood.SetNextUserCharacterNumber(7);
  Neighbor* made = nullptr;
  ASSERT_EQ(hood.CreateUserCharacter(&made), 0);
  ASSERT_NE(made, nullptr);
  EXPECT_STREQ(made->name.c_str(), "User00008");
  EXPECT_TRUE(fs::exists(dir / "Characters" / "User00008.iff"));
  EXPECT_EQ(hood.GetNextUserCharacterNumber(), 9);
  EXPECT_EQ(hood.CountUserCharacters(), 1);

  // The last number wraps to the first.
  hood.SetNextUserCharacterNumber(31999);
  ASSERT_EQ(hood.CreateUserCharacter(&made), 0);
  EXPECT_STREQ(made->name.c_str(), "User31999");
  EXPECT_EQ(hood.GetNextUserCharacterNumber(), 0);
}

TEST_F(NeighborhoodTest, UserCharacterFailsWithoutTemplateOrFreeName) {
  ASSERT_EQ(hood.Init(), 0);
  Neighbor* made = nullptr;
  EXPECT_EQ(hood.CreateUserCharacter(&made), -1);
  services.AddPerson(Neighborhood::kTemplateCharacterGuid, "Template");
  ASSERT_EQ(hood.Init(), 0);
  services.copyAlwaysExists = true;  // every one of the names is taken
  EXPECT_EQ(hood.CreateUserCharacter(&made), kFlatCreateExists);
  EXPECT_EQ(made, nullptr);
}

TEST_F(NeighborhoodTest, NeighbourQueries) {
  services.AddPerson(0x100, "Ada");
  services.AddPerson(0x200, "Bo");
  ASSERT_EQ(hood.Init(), 0);
  Neighbor* ada = hood.FindNeighborByGUID(0x100);
  Family* f = hood.NewFamily();
  ASSERT_EQ(hood.AddToFamily(*ada, *f), 0);
  ASSERT_EQ(hood.MoveFamilyToLot(*f, 5), 0);
  f->flags = Family::kFlagLot1;
  f->friendCount = 4;
  ada->friendCount = 2;
  ada->personData[tova::kPersonDataQuery2] = 17;
  hood.SetCurrentHouseNumber(5);
  struct Case {
    int32_t id, query, expected;
  };
  const int32_t bo = hood.FindNeighborByGUID(0x200)->id;
  for (const Case& c : std::vector<Case>{{ada->id, 1, 1},  {ada->id, 2, 17}, {ada->id, 5, 2}, {ada->id, 6, 5},
                                          {ada->id, 7, 0},  {ada->id, 8, 1},  {ada->id, 9, 4}, {ada->id, 3, 0},
                                          {bo, 1, 0},       {bo, 6, 0},       {bo, 9, 0},      {99, 2, 0}}) {
    EXPECT_EQ(hood.GetNeighborInfo(c.id, c.query), c.expected) << c.id << " " << c.query;
  }
  EXPECT_EQ(hood.GetNextNeighborIndex(0), 1);
  EXPECT_EQ(hood.GetNextNeighborIndex(2), 0);
}

TEST_F(NeighborhoodTest, WorthOfTheLoadedFamilyComesFromTheSimulator) {
  ASSERT_EQ(hood.Init(), 0);
  Family* here = hood.NewFamily();
  Family* away = hood.NewFamily();
  ASSERT_EQ(hood.MoveFamilyToLot(*here, 2), 0);
  away->funds = 100;
  away->houseValue = 50;
  hood.SetCurrentHouseNumber(2);
  services.money = 1000;
  services.figures = {10, 1000, 5};  // 1000 x 0.7 + 10 + 5
  EXPECT_EQ(hood.GetFamilyWorth(*here), 1715);
  EXPECT_EQ(hood.GetFamilyWorth(*away), 150);
  ASSERT_EQ(hood.Save(kVersion), 0);
  EXPECT_EQ(here->houseValue, 715);
}

TEST_F(NeighborhoodTest, WorthOfHugeFundsAndHouseValueStaysInside32Bits) {
  Family* rich = hood.NewFamily();
  Family* poor = hood.NewFamily();
  rich->funds = INT32_MAX - 10;
  rich->houseValue = 1000;
  poor->funds = INT32_MIN + 10;
  poor->houseValue = -1000;
  EXPECT_EQ(hood.GetFamilyWorth(*rich), INT32_MAX);
  EXPECT_EQ(hood.GetFamilyWorth(*poor), INT32_MIN);
}

TEST_F(NeighborhoodTest, FriendsAreMutualAndOutsideTheFamily) {
  for (int32_t g : {0x1, 0x2, 0x3, 0x4}) services.AddPerson(g, "p" + std::to_string(g));
  ASSERT_EQ(hood.Init(), 0);
  auto* m = hood.FindNeighborByGUID(1);
  auto* mutual = hood.FindNeighborByGUID(2);
  auto* oneWay = hood.FindNeighborByGUID(3);
  auto* noFamily = hood.FindNeighborByGUID(4);
  Family* f = hood.NewFamily();
  Family* other = hood.NewFamily();
  ASSERT_EQ(hood.AddToFamily(*m, *f), 0);
  for (Neighbor* n : {mutual, oneWay}) ASSERT_EQ(hood.AddToFamily(*n, *other), 0);
  auto relate = [](Neighbor* from, Neighbor* to, int32_t score) {
    from->relationships.AddArray(to->id);
    from->relationships.SetSize(to->id, 2);
    from->relationships.SetValue(to->id, 0, score);
  };
  relate(m, mutual, 60);
  relate(mutual, m, 50);
  relate(m, oneWay, 90);
  relate(oneWay, m, 10);
  relate(m, noFamily, 90);
  relate(noFamily, m, 90);
  EXPECT_EQ(hood.CountFamilyFriends(*f, 50), 1);
  EXPECT_FALSE(f->changed);
}

TEST_F(NeighborhoodTest, DamagedFilesAreRefused) {
  services.AddPerson(0x100, "Ada");
  ASSERT_EQ(hood.Init(), 0);
  ASSERT_EQ(hood.Save(kVersion), 0);
  const std::string good = tova_test::ReadBytes(path);

  struct Case {
    const char* what;
    ResType type;
    std::vector<uint8_t> record;
  };
  auto body = [](auto fill) { return tova::WritePlain(fill); };
  const std::vector<Case> cases = {
      {"neighbour count beyond the bytes", tova::kNeighborsChunk,
       tova::MakeRecord(kVersion, tova::kNeighborsChunk, body([](ReconStream& s) {
                          int32_t count = 1000000;
                          s.SerializeLongs(&count, 1);
                        }))},
      {"presence word neither 0 nor 1", tova::kNeighborsChunk,
       tova::MakeRecord(kVersion, tova::kNeighborsChunk, body([](ReconStream& s) {
                          int32_t words[2] = {1, 7};
                          s.SerializeLongs(words, 2);
                        }))},
      {"neighbour cut short", tova::kNeighborsChunk,
       tova::MakeRecord(kVersion, tova::kNeighborsChunk, body([](ReconStream& s) {
                          int32_t words[3] = {1, 1, 4};
                          s.SerializeLongs(words, 3);
                        }))},
      {"settings cut short", tova::kNeighborhoodSettingsChunk,
       tova::MakeRecord(kVersion, tova::kNeighborhoodSettingsChunk, body([](ReconStream& s) {
                          int16_t one = 1;
                          s.SerializeShorts(&one, 1);
                        }))},
      {"family cut short", tova::kFamilyChunk,
       tova::MakeRecord(7, tova::kFamilyChunk, body([](ReconStream& s) {
                          int32_t lot = 1;
                          s.SerializeLongs(&lot, 1);
                        }))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    tova_test::WriteBytes(path, good);
    {
      IFFResFile2 file;
      ASSERT_EQ(file.Open(path), 0);
      tova::ResFileSource source(&file);
      ASSERT_EQ(source.PutResource(c.type, c.type == tova::kFamilyChunk ? 0 : 1, "",
                                   std::vector<uint8_t>(c.record)), 0);
      file.Close();
    }
    Neighborhood damaged(services);
    damaged.SetPath(path.c_str());
    EXPECT_NE(damaged.Init(), 0);
    EXPECT_TRUE(damaged.Families().empty());
    EXPECT_EQ(damaged.GetNeighborSlotCount(), 0);
  }
  tova_test::WriteBytes(path, "not a resource file at all");
  Neighborhood garbage(services);
  garbage.SetPath(path.c_str());
  EXPECT_NE(garbage.Init(), 0);
  EXPECT_EQ(tova_test::ReadBytes(path), "not a resource file at all");
}

TEST_F(NeighborhoodTest, TwoChunksUnderOneFamilyNumberMakeOneFamily) {
  ASSERT_EQ(hood.Init(), 0);
  hood.NewFamily()->SetName("Once");
  ASSERT_EQ(hood.Save(kVersion), 0);
  {
    IFFResFile2 file;
    ASSERT_EQ(file.Open(path), 0);
    MemHandle h = file.GetResource(tova::kFamilyChunk, 1, nullptr);
    ASSERT_NE(h, nullptr);
    std::vector<uint8_t> bytes(GetMemHandleData(h), GetMemHandleData(h) + GetMemHandleSize(h));
    file.ReleaseResource(h);
    MemHandle copy = NewMemHandle(static_cast<int32_t>(bytes.size()));
    std::memcpy(GetMemHandleData(copy), bytes.data(), bytes.size());
    ASSERT_EQ(file.AddResourceVariant(copy, tova::kFamilyChunk, 1, "", 1, false), 0);
    ASSERT_EQ(file.WriteResource(copy), 0);
    file.Close();
  }
  auto again = Reopen();
  EXPECT_EQ(again->Families().size(), 2u);
  ASSERT_EQ(again->Save(kVersion), 0);
  EXPECT_EQ(Reopen()->Families().size(), 2u);
}

namespace {

class LivePerson : public tova::NeighborhoodPerson {
 public:
  int32_t guid = 0;
  int16_t neighborId = 0;
  int16_t data[tova::kPersonDataCount] = {};
  int32_t GetGuid() const override { return guid; }
  std::string GetDefinitionName() const override { return "Walk-in"; }
  int16_t GetNeighborId() const override { return neighborId; }
  void SetNeighborId(int16_t id) override { neighborId = id; }
  int16_t* PersonData() override { return data; }
};

}  // namespace

TEST_F(NeighborhoodTest, LivePersonsBindToTheirNeighbours) {
  services.AddPerson(0x100, "Ada");
  ASSERT_EQ(hood.Init(), 0);
  Neighbor* ada = hood.FindNeighborByGUID(0x100);
  Family* f = hood.NewFamily();
  ASSERT_EQ(hood.AddToFamily(*ada, *f), 0);
  ada->personDataVersion = 3;
  ada->personData[65] = 9;  // from version 3
  ada->personData[67] = 4;  // from version 4: not copied back

  LivePerson person;
  person.guid = 0x100;
  person.data[67] = -2;
  ASSERT_EQ(hood.BindPerson(person), ada);
  EXPECT_EQ(person.neighborId, ada->id);
  EXPECT_EQ(person.data[65], 9);
  EXPECT_EQ(person.data[67], -2);
  EXPECT_EQ(person.data[tova::kPersonDataFamily], f->number);

  person.data[69] = 33;
  person.data[8] = 44;
  hood.UpdateNeighborFromPerson(person);
  EXPECT_EQ(ada->personDataVersion, Neighbor::kPersonDataVersion);
  EXPECT_EQ(ada->personData[69], 33);
  EXPECT_EQ(ada->personData[8], 0);

  LivePerson stranger;
  stranger.guid = 0x777;
  Neighbor* made = hood.BindPerson(stranger);
  ASSERT_NE(made, nullptr);
  EXPECT_STREQ(made->name.c_str(), "Walk-in");
  EXPECT_EQ(stranger.neighborId, made->id);
  EXPECT_EQ(stranger.data[tova::kPersonDataFamily], 0);
}

TEST_F(NeighborhoodTest, DailyStatisticsRowCountsMembersFriendsAndRomances) {
  for (int32_t g : {1, 2, 3, 4, 5}) services.AddPerson(g, "p" + std::to_string(g));
  ASSERT_EQ(hood.Init(), 0);
  Family* f = hood.NewFamily();
  Family* other = hood.NewFamily();
  for (int32_t g : {1, 2, 3}) ASSERT_EQ(hood.AddToFamily(*hood.FindNeighborByGUID(g), *f), 0);
  ASSERT_EQ(hood.AddToFamily(*hood.FindNeighborByGUID(4), *other), 0);
  ASSERT_EQ(hood.MoveFamilyToLot(*f, 2), 0);
  auto relate = [&](int32_t from, int32_t to, int32_t score, int32_t romance) {
    Neighbor* a = hood.FindNeighborByGUID(from);
    Neighbor* b = hood.FindNeighborByGUID(to);
    a->relationships.AddArray(b->id);
    a->relationships.SetSize(b->id, 2);
    a->relationships.SetValue(b->id, 0, score);
    a->relationships.SetValue(b->id, 1, romance);
  };
  relate(1, 4, 60, 1);  // friend and romance out
  relate(4, 1, 70, 0);  // friend in
  relate(5, 2, 10, 1);  // romance in only
  relate(1, 2, 90, 1);  // inside the family: not counted

  // Adult male worker, adult female, kid female; a visitor who is no member.
  services.lotPersons = {{1, 30, false, true}, {2, 25, true, false}, {3, 8, true, false}, {5, 40, false, true}};
  services.dayFigures.objectCount = 12;
  services.dayFigures.architectureValue = 9000;
  services.dayFigures.money[0] = 150;
  services.dayFigures.money[6] = -20;
  services.dayFigures.funds = 4321;

  hood.ComputeLotStatistics();  // no lot loaded: nothing
  EXPECT_TRUE(f->GetHistory().Rows().empty());
  hood.SetCurrentHouseNumber(2);
  hood.ComputeLotStatistics();
  ASSERT_EQ(f->GetHistory().Rows().size(), 1u);
  const FamilyHistory::Row& row = f->GetHistory().Rows()[0];
  const FamilyHistory::Row expected = {2, 3, 1, 1, 0, 1, 1, 12, 0, 9000, 0, 0, 0, 0, 0, 0, 0,
                                       150, 0, 0, 0, 0, 0, -20, 4321, 1, 1, 1, 1, 1};
  EXPECT_EQ(row, expected);
}

TEST_F(NeighborhoodTest, DeletingAUserCharacter) {
  services.AddPerson(Neighborhood::kTemplateCharacterGuid, "Template");
  services.AddPerson(0x100, "Shipped");
  ASSERT_EQ(hood.Init(), 0);
  Neighbor* made = nullptr;
  ASSERT_EQ(hood.CreateUserCharacter(&made), 0);
  const int32_t guid = made->guid;
  const fs::path file = dir / "Characters" / "User00000.iff";
  ASSERT_TRUE(fs::exists(file));

  EXPECT_EQ(hood.DeleteUserCharacter(hood.FindNeighborByGUID(0x100)), -1);  // not a user character
  Family* f = hood.NewFamily();
  ASSERT_EQ(hood.AddToFamily(*made, *f), 0);
  EXPECT_EQ(hood.DeleteUserCharacter(made), -1);  // a member
  EXPECT_TRUE(services.removedLive.empty());
  ASSERT_EQ(hood.RemoveFromFamily(*made), 0);
  services.unloadFails = true;
  EXPECT_EQ(hood.DeleteUserCharacter(made), -1);
  services.unloadFails = false;
  ASSERT_EQ(hood.DeleteUserCharacter(made), 0);
  EXPECT_EQ(hood.FindNeighborByGUID(guid), nullptr);
  EXPECT_FALSE(fs::exists(file));
  EXPECT_EQ(services.removedLive.back(), guid);
}
