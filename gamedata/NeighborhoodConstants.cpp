#include "gamedata/NeighborhoodConstants.h"

namespace tova {

NeighborhoodConstants& NeighborhoodConstants::Instance() {
  static NeighborhoodConstants constants;
  return constants;
}

void NeighborhoodConstants::Reset() { *this = NeighborhoodConstants(); }

void NeighborhoodConstants::EnsureLoaded() {
  if (!loaded_) Load();
}

void NeighborhoodConstants::Load() {
  LoadWith([this](FloatConstants& t) {
    architectureValueMultiplier = t.Get("architecture value multiplier", 0.7f, true);
    newFamilyStartHour = t.Get("new family start hour", 7, true);
    perfectFamilyFriendCount = t.Get("perfect family friend count", 15, true);
    houseSizeWeight = t.Get("weight of house size in overall score", 3, true);
    layoutHistoryFill = t.Get("fill value for layout history", 200, true);
    moneyForNewFamily = t.Get("money for new family", 20000, true);
    yardScoreMultiplier = t.Get("yard score multiplier", 0.33f, true);
    upkeepPenaltyDirty = t.Get("upkeep penalty per dirty object", 6, true);
    upkeepPenaltyBroken = t.Get("upkeep penalty per broken object", 15, true);
  });
  loaded_ = true;
}

}  // namespace tova
