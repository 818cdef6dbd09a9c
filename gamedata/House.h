#pragma once
// The lot being played or built: its world, simulator and live objects
// (made through HouseParts), its rooms, a text kept with it, and the daily
// layout history people's ticks feed. There is one house for the whole run;
// lot after lot is loaded into it. A lot is one resource file: the
// simulator's 'VUXI', the house's 'HOUS', the world's patterns and layers
// and the objects.

#include <array>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>

#include "gamedata/Commander.h"
#include "gamedata/HouseParts.h"
#include "gamedata/PiecewiseCurve.h"
#include "resfile/ReconStream.h"

class iResFile;

namespace tova {

class Family;
class Neighborhood;
class ObjectFolder;
class RoomManager;

// The neighbourhood's tuning the house reads, at its defaults.
struct HouseTuning {
  int32_t layoutHistoryFill = 200;
  int32_t upkeepPenaltyBroken = 15;
  int32_t upkeepPenaltyDirty = 6;
  float yardScoreMultiplier = 0.33f;
  float houseSizeWeight = 3.0f;
  float architectureValueMultiplier = 1.0f;
};

struct HouseRatings {
  enum Field : int32_t {
    kIndoorArea,
    kFamilySize,
    kRoomsWithClass4,
    kRoomsWithClass5To7,
    kFloors,
    kLotSizeClass,
    kLayoutPercentage,
    kIndoorObjectValue,
    kOutdoorObjectValue,
    kUpkeepPenalty,
    kCountedObjects,
    kFieldCount
  };
  std::array<int32_t, kFieldCount> fields{};
  void Clear() { fields.fill(0); }
  int32_t& operator[](Field f) { return fields[static_cast<size_t>(f)]; }
  int32_t operator[](Field f) const { return fields[static_cast<size_t>(f)]; }
  // 0..100: the share of counted objects neither broken nor dirty.
  int32_t GetUpkeepRating() const;
};

// Save results besides 0.
enum : int32_t {
  kHouseSaveCannotCreate = -1100,
  kHouseSaveCannotWrite = -1099,
  kHouseSaveCannotMove = -1,
};

class House : public Commander {
 public:
  static constexpr int32_t kHistoryDays = 5;
  static constexpr int32_t kDefaultSize = 64;

  House(Neighborhood* neighborhood, HousePartsFactory factory, ObjectFolder* catalogue = nullptr);
  ~House() override;

  // Makes the parts (64 tiles a side), the room manager and the curves.
  void CreateWorld();
  bool HasWorld() const { return parts_ != nullptr; }
  iLotWorld& World() { return parts_->World(); }
  iLotObjects& Objects() { return parts_->Objects(); }
  iLotSimulator& Simulator() { return parts_->Simulator(); }
  RoomManager* Rooms() { return rooms_.get(); }
  HouseTuning& Tuning() { return tuning_; }
  Neighborhood* GetNeighborhood() const { return neighborhood_; }
  // The family living on the loaded lot (the neighbourhood's; null none).
  Family* GetCurrentFamily() const { return currentFamily_; }
  void SetCurrentFamily(Family* family) { currentFamily_ = family; }
  // Every day of the layout history back at the fill value, today empty.
  void ResetLayoutHistory();

  void SetWorldSize(int32_t size);
  // Reads a lot; 0, or a resource status when the file holds no lot (neither
  // 'VUXI' nor 'HOUS') or its layers or objects cannot be read.
  int32_t Load(iResFile& file, int32_t* outVersion);
  // Writes the lot at path, replacing the old file in one step: 0 or one of
  // the save results.
  int32_t Save(const std::string& lotPath);
  void UpdateFigures();
  // Rooms rescored, then the figures updated.
  void RefreshAll();
  // Where command 1012 writes the room statistics (none by default).
  void SetDebugStream(std::ostream* out) { debug_ = out; }
  void ComputeRatings(HouseRatings& ratings);
  int32_t GetSizeRating(const HouseRatings& ratings) const;
  int32_t GetFurnishingsRating() const;
  int32_t GetYardRating() const;
  int32_t GetOverallRating(const HouseRatings& ratings) const;

  // One person's tick: a sample, flagged or not.
  void CountSample(bool flagged);
  // Day 0 is the newest day of the history.
  int32_t HistoryAll(int32_t day) const { return history_[static_cast<size_t>(day)].all; }
  int32_t HistoryFlagged(int32_t day) const { return history_[static_cast<size_t>(day)].flagged; }
  int32_t TodayAll() const { return todayAll_; }
  int32_t TodayFlagged() const { return todayFlagged_; }

  const std::string& GetText() const { return text_; }
  void SetText(std::string text) { text_ = std::move(text); }
  PiecewiseCurve& SizeCurve() { return sizeCurve_; }
  PiecewiseCurve& FurnishingsCurve() { return furnishingsCurve_; }

  int16_t DoCommand(int32_t command, intptr_t argument) override;
  // The 'HOUS' record's body.
  void Reconstitute(ReconStream& stream, int32_t version);

 private:
  struct Day {
    int32_t all = 0;
    int32_t flagged = 0;
  };
  int32_t WriteChunks(iResFile& file);
  void NewDay();

  Neighborhood* neighborhood_;
  HousePartsFactory factory_;
  ObjectFolder* catalogue_;
  std::unique_ptr<HouseParts> parts_;
  std::unique_ptr<RoomManager> rooms_;
  std::string text_;
  std::array<Day, kHistoryDays> history_{};
  int32_t todayAll_ = 0;
  int32_t todayFlagged_ = 0;
  PiecewiseCurve sizeCurve_;
  PiecewiseCurve furnishingsCurve_;
  HouseTuning tuning_;
  std::ostream* debug_ = nullptr;
  Family* currentFamily_ = nullptr;
};

}  // namespace tova
