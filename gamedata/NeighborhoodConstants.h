#pragma once
// The neighbourhood's tuning: money, house value and rating weights, read
// once from a float-constants table of the global behaviour file.

#include "gamedata/FloatConstants.h"

namespace tova {

class NeighborhoodConstants : public GlobalConstantsClient {
 public:
  static constexpr int16_t kTableId = 6;
  static NeighborhoodConstants& Instance();
  NeighborhoodConstants() : GlobalConstantsClient(kTableId) {}
  void Load() override;
  // Loads the first time only.
  void EnsureLoaded();
  bool IsLoaded() const { return loaded_; }
  void Reset();

  float architectureValueMultiplier = 0.7f;
  float newFamilyStartHour = 7;
  float perfectFamilyFriendCount = 15;
  float houseSizeWeight = 3;
  float layoutHistoryFill = 200;
  float moneyForNewFamily = 20000;
  float yardScoreMultiplier = 0.33f;
  float upkeepPenaltyDirty = 6;
  float upkeepPenaltyBroken = 15;

 private:
  bool loaded_ = false;
};

}  // namespace tova
