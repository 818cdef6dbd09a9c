// The house over recording fakes of its parts: world sizes, the 'HOUS'
// record by version, the layout history and ratings, and saving a lot file
// (a new lot, a stale temporary file, a folder that cannot take it).
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "LotFakes.h"
#include "gamedata/GlobalContext.h"
#include "gamedata/House.h"
#include "gamedata/RoomManager.h"
#include "resfile/IFFResFile2.h"
#include "resfile/ReconObject.h"
#include "resfile/ResStatus.h"
#include "resfile/TypeCode.h"
#include "support/ScratchDir.h"

namespace {

using namespace tova;
using tova_test::ScratchDir;

class PartsWorld : public tova_test::FakeLotWorld {
 public:
  bool Resize(int32_t n) override {
    resized.push_back(n);
    size = n;
    return true;
  }
  int32_t GetBuildValue(bool& built) const override {
    built = buildFlag;
    return buildValue;
  }
  bool HasUpperLevel() const override { return upper; }
  std::vector<int32_t> resized;
  int32_t buildValue = 0;
  bool buildFlag = false;
  bool upper = false;
};

class PartsObjects : public tova_test::FakeLotObjects {
 public:
  LotObjectStatistics GetStatistics() const override { return stats; }
  void Regrid(int32_t n) override { regridded.push_back(n); }
  LotObjectStatistics stats;
  std::vector<int32_t> regridded;
};

// Keeps its globals and saves them as its state record.
class PartsSimulator : public iLotSimulator {
 public:
  int16_t GetGlobal(int32_t i) const override { return globals[static_cast<size_t>(i)]; }
  void SetGlobal(int32_t i, int16_t v) override { globals[static_cast<size_t>(i)] = v; }
  int32_t GetFigure(int32_t n) const override { return figures[static_cast<size_t>(n)]; }
  void SetFigure(int32_t n, int32_t v) override { figures[static_cast<size_t>(n)] = v; }
  void ResetState() override { ++resets; }
  void Reconstitute(ReconStream& s, int32_t) { s.SerializeShorts(globals.data(), 32); }
  int32_t LoadState(iResFile& f, int16_t id, int32_t* version) override {
    SimpleReconObject<PartsSimulator> r(this, TypeCode("VUXI"));
    return ReconObject::LoadFromResFile(r, f, id, version);
  }
  int32_t SaveState(iResFile& f, int16_t id, int32_t version) override {
    SimpleReconObject<PartsSimulator> r(this, TypeCode("VUXI"));
    return ReconObject::SaveToResFile(r, version, f, id);
  }
  std::array<int16_t, 32> globals{};
  std::array<int32_t, 3> figures{};
  int resets = 0;
};

class FakeParts : public HouseParts {
 public:
  iLotWorld& World() override { return world; }
  iLotObjects& Objects() override { return objects; }
  iLotSimulator& Simulator() override { return simulator; }
  PartsWorld world;
  PartsObjects objects;
  PartsSimulator simulator;
};

class Receiver : public Commander {
 public:
  int16_t DoCommand(int32_t command, intptr_t argument) override {
    if (static_cast<int16_t>(command) == cmd::kWorldSizeChanged) sizes.push_back(static_cast<int32_t>(argument));
    return 0;
  }
  std::vector<int32_t> sizes;
};

class HouseFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    house.CreateWorld();
    ASSERT_TRUE(house.HasWorld());
  }
  std::string Lot(const char* name = "House07.iff") const { return (dir / name).string(); }
  // A lot file holding only a 'HOUS' record of the version (and no state).
  void WriteHouseRecord(const std::string& path, int32_t version, House& from, int16_t id = 1) {
    IFFResFile2 file;
    ASSERT_EQ(file.Create(path), kResOK);
    ASSERT_EQ(file.Open(path), kResOK);
    SimpleReconObject<House> record(&from, TypeCode("HOUS"));
    ASSERT_EQ(ReconObject::SaveToResFile(record, version, file, id), kResOK);
    file.Close();
  }
  int32_t LoadFrom(const std::string& path, House& into, int32_t* version = nullptr) {
    IFFResFile2 file;
    if (file.Open(path) != kResOK) return -999;
    int32_t v = 0;
    const int32_t status = into.Load(file, version != nullptr ? version : &v);
    file.Close();
    return status;
  }
  void DayWith(House& h, int all, int flagged) {
    for (int i = 0; i < all; ++i) h.CountSample(i < flagged);
    Broadcast(220, 0);
  }

  ScratchDir dir;
  FakeParts* parts = nullptr;
  House house{nullptr, [this](int32_t size) {
                auto p = std::make_unique<FakeParts>();
                p->world.size = size;
                parts = p.get();
                return p;
              }};
};

TEST_F(HouseFixture, WorldSizes) {
  Receiver receiver;
  house.SetWorldSize(3);
  house.SetWorldSize(64);
  EXPECT_TRUE(parts->world.resized.empty());
  EXPECT_TRUE(receiver.sizes.empty());
  house.SetWorldSize(30);
  EXPECT_EQ(parts->world.resized, std::vector<int32_t>{30});
  EXPECT_EQ(parts->objects.regridded, std::vector<int32_t>{30});
  EXPECT_EQ(receiver.sizes, std::vector<int32_t>{30});
}

TEST_F(HouseFixture, ALotSizeOfZeroLoadsAsSixtyFour) {
  house.SetWorldSize(20);
  house.SetText("kept");
  parts->simulator.globals[23] = 0;
  const std::string path = Lot();
  ASSERT_EQ(house.Save(path), 0);
  parts->simulator.globals[23] = 0;
  // Save wrote the world's size into the state; write a zero instead.
  {
    IFFResFile2 file;
    ASSERT_EQ(file.Open(path), kResOK);
    ASSERT_EQ(parts->simulator.SaveState(file, 1, kGameSaveVersion), kResOK);
    file.Close();
  }
  int32_t version = -1;
  ASSERT_EQ(LoadFrom(path, house, &version), 0);
  EXPECT_EQ(version, kGameSaveVersion);
  EXPECT_EQ(parts->world.size, 64);
  EXPECT_EQ(house.GetText(), "kept");
  EXPECT_EQ(parts->simulator.resets, 1);
}

TEST_F(HouseFixture, AnOldHouseRecordFillsTheHistory) {
  house.Tuning().layoutHistoryFill = 200;
  DayWith(house, 10, 3);
  house.CountSample(true);
  const std::string path = Lot();
  WriteHouseRecord(path, 37, house);
  ASSERT_EQ(LoadFrom(path, house), 0) << "a 'HOUS' alone is a lot";
  for (int day = 0; day < House::kHistoryDays; ++day) {
    EXPECT_EQ(house.HistoryAll(day), 200);
    EXPECT_EQ(house.HistoryFlagged(day), 200);
  }
  EXPECT_EQ(house.TodayAll(), 0);
  EXPECT_EQ(house.TodayFlagged(), 0);
  EXPECT_EQ(house.GetText(), "") << "version 37 carries no text";
}

TEST_F(HouseFixture, AFileWithoutAnyLotIsAnError) {
  const std::string path = Lot();
  WriteHouseRecord(path, 62, house, 5);  // 'HOUS' 5 is not the lot's
  EXPECT_NE(LoadFrom(path, house), 0);
}

TEST_F(HouseFixture, SevenDayChangesKeepTheLastFiveNewestFirst) {
  for (int day = 1; day <= 7; ++day) DayWith(house, day * 10, day);
  for (int k = 0; k < House::kHistoryDays; ++k) {
    EXPECT_EQ(house.HistoryAll(k), (7 - k) * 10) << k;
    EXPECT_EQ(house.HistoryFlagged(k), 7 - k) << k;
  }
  EXPECT_EQ(house.TodayAll(), 0);
}

TEST_F(HouseFixture, LayoutPercentage) {
  struct Case {
    const char* what;
    int all, flagged;
    bool filled;
    int32_t want;
  };
  const Case cases[] = {
      {"no samples", 0, 0, false, 100},
      {"half flagged", 10, 5, false, 0},
      {"a quarter flagged", 100, 25, false, 50},
      {"old history: both counts at the fill value", 0, 0, true, 0},
  };
  for (const Case& c : cases) {
    House h{nullptr, [](int32_t) { return std::make_unique<FakeParts>(); }};
    h.CreateWorld();
    if (c.filled) {
      const std::string path = Lot("Filled.iff");
      WriteHouseRecord(path, 37, h);
      ASSERT_EQ(LoadFrom(path, h), 0);
    }
    for (int i = 0; i < c.all; ++i) h.CountSample(i < c.flagged);
    HouseRatings r;
    h.ComputeRatings(r);
    EXPECT_EQ(r[HouseRatings::kLayoutPercentage], c.want) << c.what;
  }
}

TEST_F(HouseFixture, Ratings) {
  parts->objects.stats.counted = 100;
  parts->objects.stats.broken = 1;
  parts->objects.stats.dirty = 2;
  parts->objects.stats.indoorValue = 500;
  parts->objects.stats.outdoorValue = 70;
  parts->world.upper = true;
  HouseRatings r;
  house.ComputeRatings(r);
  EXPECT_EQ(r[HouseRatings::kUpkeepPenalty], 27);
  EXPECT_EQ(r.GetUpkeepRating(), 73);
  EXPECT_EQ(r[HouseRatings::kFloors], 2);
  EXPECT_EQ(r[HouseRatings::kIndoorObjectValue], 500);
  EXPECT_EQ(r[HouseRatings::kOutdoorObjectValue], 70);
  EXPECT_EQ(r[HouseRatings::kLotSizeClass], 2);
  EXPECT_EQ(house.GetSizeRating(r), 0) << "no family";
  parts->objects.stats.broken = 10;
  house.ComputeRatings(r);
  EXPECT_EQ(r.GetUpkeepRating(), 0);
  HouseRatings none;
  EXPECT_EQ(none.GetUpkeepRating(), 0);

  for (auto [size, cls] : {std::pair{39, 0}, {40, 1}, {49, 1}, {50, 2}}) {
    house.SetWorldSize(size);
    house.ComputeRatings(r);
    EXPECT_EQ(r[HouseRatings::kLotSizeClass], cls) << size;
  }

  // Furnishings: figure B over figure A through the curve, 100 without A.
  house.FurnishingsCurve().Parse("(0;0)(1;50)(2;100)(100;100)");
  parts->objects.stats.valueTotal1 = 200;
  parts->objects.stats.valueTotal2 = 150;
  parts->world.buildValue = 50;
  house.UpdateFigures();
  EXPECT_EQ(parts->simulator.figures[1], 200);
  EXPECT_EQ(parts->simulator.figures[2], 200);
  EXPECT_EQ(house.GetFurnishingsRating(), 50);
  parts->simulator.figures[1] = 0;
  EXPECT_EQ(house.GetFurnishingsRating(), 100);
  // Overall: (yard + furnishings + upkeep + layout + size x 3) / 7.
  parts->objects.stats.broken = 1;
  house.ComputeRatings(r);
  EXPECT_EQ(house.GetOverallRating(r), (0 + 100 + 73 + 100 + 0) / 7);
}

TEST_F(HouseFixture, UpdateFiguresSetsTheLotGlobals) {
  house.SetWorldSize(24);
  parts->objects.stats.onUnroofedTile = false;
  parts->world.buildFlag = true;
  house.UpdateFigures();
  EXPECT_EQ(parts->simulator.globals[23], 24);
  EXPECT_EQ(parts->simulator.globals[22], 1);
  parts->world.buildFlag = false;
  house.UpdateFigures();
  EXPECT_EQ(parts->simulator.globals[22], 0);
}

TEST_F(HouseFixture, SavingANewLotAndReadingItBack) {
  const std::string path = Lot();
  ASSERT_FALSE(std::filesystem::exists(path));
  house.SetText("a text kept with the lot");
  DayWith(house, 8, 2);
  house.CountSample(true);
  parts->simulator.globals[5] = 33;
  ASSERT_EQ(house.Save(path), 0) << "a lot without a file yet";
  EXPECT_FALSE(std::filesystem::exists(dir / "HouseTemp.iff"));

  House back{nullptr, [](int32_t) { return std::make_unique<FakeParts>(); }};
  back.CreateWorld();
  ASSERT_EQ(LoadFrom(path, back), 0);
  EXPECT_EQ(back.GetText(), "a text kept with the lot");
  EXPECT_EQ(back.HistoryAll(0), 8);
  EXPECT_EQ(back.HistoryFlagged(0), 2);
  EXPECT_EQ(back.TodayFlagged(), 1);
  EXPECT_EQ(back.Simulator().GetGlobal(5), 33);
}

TEST_F(HouseFixture, AStaleTemporaryFileIsNotCarriedOver) {
  const std::string temp = (dir / "HouseTemp.iff").string();
  WriteHouseRecord(temp, 62, house, 9);  // a crash mid-save left 'HOUS' 9
  const std::string path = Lot();
  ASSERT_EQ(house.Save(path), 0);
  IFFResFile2 file;
  ASSERT_EQ(file.Open(path), kResOK);
  SimpleReconObject<House> record(&house, TypeCode("HOUS"));
  EXPECT_NE(ReconObject::LoadFromResFile(record, file, 9), kResOK);
  EXPECT_EQ(ReconObject::LoadFromResFile(record, file, 1), kResOK);
  file.Close();
}

TEST_F(HouseFixture, AFolderThatCannotTakeTheLotLeavesTheOldFile) {
  const std::string path = Lot();
  house.SetText("old");
  ASSERT_EQ(house.Save(path), 0);
  const std::string before = tova_test::ReadBytes(path);
  // The temporary's place is taken by a folder: nothing can be written.
  std::filesystem::create_directory(dir / "HouseTemp.iff");
  std::filesystem::create_directory(dir / "HouseTemp.iff" / "inside");
  house.SetText("new");
  const int32_t status = house.Save(path);
  EXPECT_TRUE(status == kHouseSaveCannotCreate || status == kHouseSaveCannotWrite) << status;
  EXPECT_EQ(tova_test::ReadBytes(path), before);
  EXPECT_EQ(house.Save((dir / "missing" / "House07.iff").string()), kHouseSaveCannotCreate);
}

TEST_F(HouseFixture, DayChangesAndRoomCommands) {
  parts->simulator.globals[9] = 4;
  Broadcast(259, 3);
  EXPECT_EQ(parts->simulator.globals[9], 4);
  Broadcast(259, 4);
  EXPECT_EQ(parts->simulator.globals[9], 0);
  parts->objects.stats.valueTotal1 = 77;
  Broadcast(220, 0);
  EXPECT_EQ(parts->simulator.figures[1], 77) << "a new day updates the figures";
  // The room statistics go to the debug stream when there is one.
  std::ostringstream debug;
  house.SetDebugStream(&debug);
  EXPECT_TRUE(Broadcast(1012, 0));
  EXPECT_NE(debug.str().find("Room Statistics"), std::string::npos);
}

}  // namespace
