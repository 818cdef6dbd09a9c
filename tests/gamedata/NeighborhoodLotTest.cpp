// Loading, saving and evicting lots: the neighbourhood over a real house whose
// parts are small fakes, and a recording stand-in for the lot's live objects.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "LotFakes.h"
#include "NeighborhoodFakes.h"
#include "gamedata/CommandIds.h"
#include "gamedata/FamilyExport.h"
#include "gamedata/House.h"
#include "gamedata/Neighborhood.h"
#include "gamedata/NeighborhoodConstants.h"
#include "resfile/IFFResFile2.h"
#include "resfile/ReconObject.h"
#include "support/ScratchDir.h"

namespace {

using tova::Family;
using tova::LotPersonObject;
using tova::Neighbor;
using tova::Neighborhood;
namespace fs = std::filesystem;

// Keeps its globals and figures in its state record, so a lot file carries
// them.
class StateSimulator : public tova_test::FakeLotSimulator {
 public:
  std::array<int16_t, 32> saved{};
  std::array<int32_t, 3> figures{};
  int32_t GetFigure(int32_t n) const override { return figures[static_cast<size_t>(n)]; }
  void SetFigure(int32_t n, int32_t v) override { figures[static_cast<size_t>(n)] = v; }
  void ResetState() override {
    globals.clear();
    figures = {};
  }
  void Reconstitute(ReconStream& s, int32_t) {
    for (int32_t i = 0; i < 32; ++i) saved[static_cast<size_t>(i)] = GetGlobal(i);
    s.SerializeShorts(saved.data(), 32);
    s.SerializeLongs(figures.data(), 3);
    for (int32_t i = 0; i < 32; ++i) SetGlobal(i, saved[static_cast<size_t>(i)]);
  }
  int32_t LoadState(iResFile& f, int16_t id, int32_t* version) override {
    SimpleReconObject<StateSimulator> r(this, TypeCode("VUXI"));
    return ReconObject::LoadFromResFile(r, f, id, version);
  }
  int32_t SaveState(iResFile& f, int16_t id, int32_t version) override {
    SimpleReconObject<StateSimulator> r(this, TypeCode("VUXI"));
    return ReconObject::SaveToResFile(r, version, f, id);
  }
};

class Parts : public tova::HouseParts {
 public:
  tova::iLotWorld& World() override { return world; }
  tova::iLotObjects& Objects() override { return objects; }
  tova::iLotSimulator& Simulator() override { return simulator; }
  // Figure A is what the objects cost, figure B what was built.
  struct ValuedWorld : tova_test::FakeLotWorld {
    int32_t GetBuildValue(bool& built) const override {
      built = value != 0;
      return value;
    }
    int32_t value = 0;
  } world;
  struct ValuedObjects : tova_test::FakeLotObjects {
    tova::LotObjectStatistics GetStatistics() const override { return stats; }
    tova::LotObjectStatistics stats;
  } objects;
  StateSimulator simulator;
};

// The lot's live persons and everything the lot operations ask of them.
class NeighborhoodLotServices : public tova_test::FakeNeighborhoodServices {
 public:
  std::vector<LotPersonObject> people;
  std::vector<std::string> events;
  std::vector<int16_t> removed;
  std::vector<int32_t> created;
  std::vector<int32_t> firstDays;
  std::vector<int> evictions;  // 1 clearing, 0 not
  bool switchOn = false;

  std::vector<LotPersonObject> GetLotPersonObjects() override { return people; }
  void SetVisitorMark(int16_t object, int16_t mark) override {
    for (auto& p : people)
      if (p.object == object) p.visitorMark = mark;
  }
  void RemoveLotObject(int16_t object) override {
    removed.push_back(object);
    std::erase_if(people, [&](const LotPersonObject& p) { return p.object == object; });
  }
  bool HasObjectOfGuid(int32_t guid) override {
    return std::find(created.begin(), created.end(), guid) != created.end();
  }
  bool CreateObjectOfGuid(int32_t guid) override {
    created.push_back(guid);
    return true;
  }
  void RunLotEvent(const std::string& event) override { events.push_back(event); }
  void ClearLotForEviction(bool clear) override { evictions.push_back(clear ? 1 : 0); }
  void StartFirstDay(int32_t hour) override { firstDays.push_back(hour); }
  void SetMoney(int32_t m) override { money = m; }
  bool IsApplicationSwitchOn() override { return switchOn; }
};

class NeighborhoodLotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.Ok());
    tova::NeighborhoodConstants::Instance().Reset();
    path = (dir / "Neighborhood.iff").string();
    hood.SetPath(path.c_str());
    hood.SetHouse(&house);
    house.CreateWorld();
    ASSERT_TRUE(house.HasWorld());
    fs::create_directories(dir / "Houses");
  }

  Parts& LotParts() { return *parts; }

  // Writes lot n's house file; the lot's objects are worth `a`, what was
  // built `b`, and the file keeps figure C.
  void WriteLot(int32_t lot, int32_t a = 0, int32_t b = 0, int32_t c = 0, bool imported = false) {
    LotParts().simulator.figures = {c, a, b};
    LotParts().objects.stats.valueTotal1 = a;
    LotParts().world.value = b;
    FixedPath file;
    hood.GetHouseFileName(lot, file);
    ASSERT_EQ(house.Save(file.c_str()), 0);
    if (imported) {
      IFFResFile2 f;
      ASSERT_EQ(f.Open(file.c_str()), 0);
      tova::ExpFamilyInfo info;
      SimpleReconObject<tova::ExpFamilyInfo> record(&info, tova::kExportInfoChunk);
      ASSERT_EQ(ReconObject::SaveToResFile(record, 0, f, 1), 0);
      f.Close();
    }
  }

  // A family of the given people (GUIDs), saved to the file.
  Family* MakeFamily(std::initializer_list<int32_t> guids, int32_t funds) {
    Family* f = hood.NewFamily();
    for (int32_t guid : guids) EXPECT_EQ(hood.AddToFamily(*hood.FindNeighborByGUID(guid), *f), 0);
    f->funds = funds;
    return f;
  }

  std::unique_ptr<Neighborhood> Reopen() {
    auto again = std::make_unique<Neighborhood>(services);
    again->SetPath(path.c_str());
    EXPECT_EQ(again->Init(), 0);
    return again;
  }

  // The lot a player's character belongs to, kept in the file.
  void SetLot(int32_t guid, int16_t lot) {
    Neighbor* n = hood.FindNeighborByGUID(guid);
    n->personData[tova::kPersonDataLot] = lot;
    n->personDataVersion = Neighbor::kPersonDataVersion;
  }

  tova_test::ScratchDir dir;
  NeighborhoodLotServices services;
  std::string path;
  Neighborhood hood{services};
  Parts* parts = nullptr;
  tova::House house{&hood, [this](int32_t) {
                      auto made = std::make_unique<Parts>();
                      parts = made.get();
                      return made;
                    }};
};

TEST_F(NeighborhoodLotTest, RefusesLotsOutsideTheNeighbourhoodAndMissingHouseFiles) {
  ASSERT_EQ(hood.Init(), 0);
  EXPECT_EQ(hood.LoadLot(12, -1), -1);
  EXPECT_EQ(hood.LoadLot(-1, -1), -1);
  EXPECT_EQ(hood.LoadLot(4, -1), Neighborhood::kLotFileMissing);
  EXPECT_EQ(hood.GetCurrentHouseNumber(), 0);
  Neighborhood alone(services);
  alone.SetPath(path.c_str());
  EXPECT_EQ(alone.LoadLot(0, -1), -1) << "no house to load into";
}

TEST_F(NeighborhoodLotTest, AFamilyMovingInPaysTheHouseValueAndStartsItsFirstDay) {
  services.AddPerson(0x100, "Ann");
  ASSERT_EQ(hood.Init(), 0);
  Family* f = MakeFamily({0x100}, 20000);
  const int32_t number = f->number;
  ASSERT_EQ(hood.Save(Neighborhood::kDefaultSaveVersion), 0);
  WriteLot(3, 1000, 1000, 500);
  services.broadcasts.clear();

  ASSERT_EQ(hood.LoadLot(3, number), 0);
  Family* moved = hood.FindFamily(number);
  ASSERT_NE(moved, nullptr);
  const int32_t value = 1000 * 7 / 10 + 1000 + 500;
  EXPECT_EQ(moved->lot, 3);
  EXPECT_EQ(moved->houseValue, value);
  EXPECT_EQ(moved->funds, 20000 - value);
  EXPECT_EQ(services.money, 20000 - value);
  EXPECT_EQ(house.GetCurrentFamily(), moved);
  EXPECT_EQ(LotParts().simulator.GetGlobal(Neighborhood::kSimFamily), number);
  EXPECT_EQ(LotParts().simulator.GetGlobal(Neighborhood::kSimLot), 3);
  EXPECT_EQ(services.firstDays, std::vector<int32_t>{7});
  EXPECT_EQ(services.events, std::vector<std::string>{"reset lot"});
  EXPECT_EQ(moved->flags & Family::kFlagFirstVisit, 0);
  ASSERT_FALSE(services.broadcasts.empty());
  EXPECT_EQ(services.broadcasts.back().first, Neighborhood::kCommandLotLoaded);
  EXPECT_EQ(hood.GetCurrentHouseNumber(), 3);
}

TEST_F(NeighborhoodLotTest, MovingIntoATakenLotIsRefused) {
  services.AddPerson(0x100, "Ann");
  services.AddPerson(0x101, "Bo");
  ASSERT_EQ(hood.Init(), 0);
  Family* a = MakeFamily({0x100}, 100);
  Family* b = MakeFamily({0x101}, 100);
  ASSERT_EQ(hood.MoveFamilyToLot(*a, 2), 0);
  const int32_t bNumber = b->number;
  ASSERT_EQ(hood.Save(Neighborhood::kDefaultSaveVersion), 0);
  WriteLot(2);
  EXPECT_EQ(hood.LoadLot(2, bNumber), -1);
}

TEST_F(NeighborhoodLotTest, VisitorMarksAndWhoLeavesTheLot) {
  services.AddPerson(0x100, "Member");
  services.AddPerson(0x200, "Visitor");
  services.AddPerson(0x300, "Kept mark");
  services.AddPerson(0x400, "Stray user", true);
  services.AddPerson(0x500, "Homeless family");
  services.AddPerson(0x600, "Own lot user", true);
  ASSERT_EQ(hood.Init(), 0);
  Family* home = MakeFamily({0x100}, 500);
  ASSERT_EQ(hood.MoveFamilyToLot(*home, 5), 0);
  home->flags &= ~Family::kFlagFirstVisit;
  MakeFamily({0x500}, 10);  // no lot
  SetLot(0x600, 5);
  SetLot(0x400, 7);
  ASSERT_EQ(hood.Save(Neighborhood::kDefaultSaveVersion), 0);
  WriteLot(5);
  services.people = {{1, 0x100, false, 2}, {2, 0x200, false, 0}, {3, 0x300, false, 3},
                     {4, 0x400, true, 0},  {5, 0x500, false, 1}, {6, 0x600, true, 0}};

  ASSERT_EQ(hood.LoadLot(5, -1), 0);
  EXPECT_EQ(services.removed, (std::vector<int16_t>{4, 5}));
  std::map<int16_t, int16_t> marks;
  for (auto& p : services.people) marks[p.object] = p.visitorMark;
  EXPECT_EQ(marks, (std::map<int16_t, int16_t>{{1, 0}, {2, 1}, {3, 3}, {6, 1}}));
  EXPECT_TRUE(services.firstDays.empty());
  EXPECT_EQ(services.money, 500);
}

TEST_F(NeighborhoodLotTest, TheTutorialControllerComesToTheNeighbourhoodViewUntilTheTutorialIsDone) {
  ASSERT_EQ(hood.Init(), 0);
  WriteLot(0);
  WriteLot(1);
  struct Case {
    int16_t state;
    bool switchOn;
    int32_t lot;
    bool tutorialLot;
    bool created;
  } cases[] = {
      {0, false, 0, false, true},  {2, false, 0, false, true}, {3, false, 0, false, false},
      {0, true, 0, false, false},  {0, false, 1, false, false}, {0, false, 1, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "state " << c.state << " lot " << c.lot);
    services.created.clear();
    services.switchOn = c.switchOn;
    services.tutorial = c.tutorialLot;
    hood.SetSetting(Neighborhood::kSettingTutorialState, c.state);
    ASSERT_EQ(hood.Save(Neighborhood::kDefaultSaveVersion), 0);
    hood.SetCurrentHouseNumber(0);
    ASSERT_EQ(hood.LoadLot(c.lot, -1), 0);
    EXPECT_EQ(services.created.size(), c.created ? 1u : 0u);
    EXPECT_EQ(LotParts().simulator.GetGlobal(Neighborhood::kSimApplicationSwitch), c.switchOn ? 1 : 0);
  }
}

TEST_F(NeighborhoodLotTest, NearbyLotsNearestFirst) {
  const fs::path positions = dir / "lotpos.txt";
  tova_test::WriteBytes(positions, "0 0\n0 0\n10 0\n3 0\n100 100\n-4 1\n");
  ASSERT_TRUE(hood.ReadLotPositions(positions.string()));
  ASSERT_EQ(hood.Init(), 0);
  WriteLot(1);
  ASSERT_EQ(hood.LoadLot(1, -1), 0);
  EXPECT_EQ(hood.NearbyLots(), (std::vector<int32_t>{3, 5, 2, 4}));
  WriteLot(0);
  ASSERT_EQ(hood.LoadLot(0, -1), 0);
  EXPECT_TRUE(hood.NearbyLots().empty());
}

TEST_F(NeighborhoodLotTest, ADamagedLotPositionLineEndsTheListAndIsReported) {
  const fs::path positions = dir / "lotpos.txt";
  for (const char* bad : {"0 0\n5 x\n7 7\n", "0 0\n5\n7 7\n", "0 0\n5 5 5\n7 7\n"}) {
    tova_test::WriteBytes(positions, bad);
    EXPECT_FALSE(hood.ReadLotPositions(positions.string())) << bad;
  }
  tova_test::WriteBytes(positions, "0 0\n\n3 4\r\n");
  EXPECT_TRUE(hood.ReadLotPositions(positions.string())) << "blank lines and CR line ends are fine";
  EXPECT_FALSE(hood.ReadLotPositions((dir / "none.txt").string()));
}

TEST_F(NeighborhoodLotTest, AnImportedLotRunsItsImportEvent) {
  ASSERT_EQ(hood.Init(), 0);
  WriteLot(4, 0, 0, 0, true);
  ASSERT_EQ(hood.LoadLot(4, -1), 0);
  EXPECT_EQ(services.events, std::vector<std::string>{"import lot"});
}

TEST_F(NeighborhoodLotTest, SavingTheLotKeepsTheMoneyAndDropsCharactersOfNobody) {
  services.AddPerson(0x100, "Ann");
  services.AddPerson(0x700, "Nobody's", true, (dir / "User00001.iff").string());
  tova_test::WriteBytes(dir / "User00001.iff", "character");
  ASSERT_EQ(hood.Init(), 0);
  Family* f = MakeFamily({0x100}, 100);
  const int32_t number = f->number;
  ASSERT_EQ(hood.MoveFamilyToLot(*f, 6), 0);
  ASSERT_EQ(hood.Save(Neighborhood::kDefaultSaveVersion), 0);
  WriteLot(6);
  ASSERT_EQ(hood.LoadLot(6, -1), 0);
  services.money = 4321;
  hood.FindFamily(number)->flags |= Family::kFlagMoneyHeld;
  ASSERT_EQ(hood.SaveCurrentLot(), 0);
  EXPECT_EQ(hood.FindNeighborByGUID(0x700), nullptr);
  EXPECT_FALSE(fs::exists(dir / "User00001.iff"));

  auto again = Reopen();
  Family* kept = again->FindFamily(number);
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->funds, 4321);
  EXPECT_EQ(kept->flags & Family::kFlagMoneyHeld, 0);
  EXPECT_TRUE(fs::exists(dir / "Houses" / "House06.iff"));
}

TEST_F(NeighborhoodLotTest, EvictingWithAndWithoutClearing) {
  services.AddPerson(0x100, "Ann");
  services.AddPerson(0x800, "Lot user", true, (dir / "User00002.iff").string());
  tova_test::WriteBytes(dir / "User00002.iff", "character");
  ASSERT_EQ(hood.Init(), 0);
  Family* f = MakeFamily({0x100}, 1000);
  const int32_t number = f->number;
  f->houseValue = 300;
  ASSERT_EQ(hood.MoveFamilyToLot(*f, 7), 0);
  f->flags &= ~Family::kFlagFirstVisit;
  SetLot(0x800, 7);
  ASSERT_EQ(hood.Save(Neighborhood::kDefaultSaveVersion), 0);
  WriteLot(7, 100, 200, 50);
  WriteLot(0);
  WriteLot(8);

  EXPECT_EQ(hood.EvictLot(8, false), -1) << "nobody lives on lot 8";
  ASSERT_EQ(hood.LoadLot(7, -1), 0);
  EXPECT_EQ(hood.EvictLot(7, false), -1) << "a lot is loaded";
  ASSERT_EQ(hood.ReturnToNeighborhood(), 0);

  services.events.clear();
  ASSERT_EQ(hood.EvictLot(7, false), 0);
  EXPECT_EQ(services.evictions, std::vector<int>{0});
  EXPECT_NE(std::find(services.events.begin(), services.events.end(), "evict lot"), services.events.end());
  EXPECT_EQ(hood.GetCurrentHouseNumber(), 0);
  Family* out = hood.FindFamily(number);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(out->lot, 0);
  EXPECT_EQ(out->funds, 1000 + 300) << "the money and what the house was worth";
  EXPECT_EQ(out->houseValue, 0);
  EXPECT_NE(hood.FindNeighborByGUID(0x800), nullptr) << "kept without clearing";
  EXPECT_EQ(LotParts().simulator.figures[0], 0);

  ASSERT_EQ(hood.EvictLot(7, true), 0) << "clearing an empty lot";
  EXPECT_EQ(services.evictions, (std::vector<int>{0, 1}));
  EXPECT_EQ(hood.FindNeighborByGUID(0x800), nullptr);
  EXPECT_FALSE(fs::exists(dir / "User00002.iff"));
  EXPECT_EQ(hood.FindFamily(number)->lot, 0);
}

TEST_F(NeighborhoodLotTest, AnEvictionWhoseLotDoesNotLoadGivesTheLotBack) {
  services.AddPerson(0x100, "Ann");
  ASSERT_EQ(hood.Init(), 0);
  Family* f = MakeFamily({0x100}, 1000);
  const int32_t number = f->number;
  ASSERT_EQ(hood.MoveFamilyToLot(*f, 9), 0);
  ASSERT_EQ(hood.Save(Neighborhood::kDefaultSaveVersion), 0);
  EXPECT_EQ(hood.EvictLot(9, false), Neighborhood::kLotFileMissing);
  EXPECT_EQ(hood.FindFamily(number)->lot, 9);
  auto again = Reopen();
  EXPECT_EQ(again->FindFamily(number)->lot, 9);
}

TEST_F(NeighborhoodLotTest, TutorialStateIsWrittenToTheFile) {
  ASSERT_EQ(hood.Init(), 0);
  hood.SetSetting(Neighborhood::kSettingTutorialLot, 4);
  hood.SetSetting(7, 99);
  ASSERT_EQ(hood.Save(Neighborhood::kDefaultSaveVersion), 0);
  ASSERT_EQ(hood.SetTutorialState(2), 0);
  EXPECT_EQ(hood.GetSetting(Neighborhood::kSettingTutorialState), 3);
  auto again = Reopen();
  EXPECT_EQ(again->GetSetting(Neighborhood::kSettingTutorialState), 3);
  EXPECT_EQ(again->GetSetting(Neighborhood::kSettingTutorialLot), 0);
  EXPECT_EQ(again->GetSetting(7), 99);
  EXPECT_EQ(again->FindFamily(0)->GetName(), std::string("Default"));
}

}  // namespace

namespace {

TEST_F(NeighborhoodLotTest, APersonArrivingOnTheLotIsMarkedAVisitorUnlessItIsFamily) {
  services.AddPerson(0x100, "Member");
  services.AddPerson(0x200, "Guest");
  ASSERT_EQ(hood.Init(), 0);
  Family* home = MakeFamily({0x100}, 10);
  ASSERT_EQ(hood.MoveFamilyToLot(*home, 2), 0);
  ASSERT_EQ(hood.Save(Neighborhood::kDefaultSaveVersion), 0);
  WriteLot(2);
  ASSERT_EQ(hood.LoadLot(2, -1), 0);

  services.people = {{7, 0x100, false, 1}, {8, 0x200, false, 0}};
  LotParts().objects.Add(8, {1, 1, 1}, {}, 4);  // a plain object: nothing changes
  house.DoCommand(tova::cmd::kObjectCreated, 8);
  EXPECT_EQ(services.people[0].visitorMark, 1);
  LotParts().objects.Add(9, {1, 1, 1}, {}, tova::kDefinitionTypePerson);
  house.DoCommand(tova::cmd::kObjectCreated, 9);
  EXPECT_EQ(services.people[0].visitorMark, 0);
  EXPECT_EQ(services.people[1].visitorMark, 1);
}

}  // namespace
