#pragma once
// The tuning of room light and room score: 'FCNS' table 3 of the global
// behaviour file, with the ranges the score formula uses kept beside them.

#include "gamedata/FloatConstants.h"

namespace tova {

class RoomScoreConstants : public GlobalConstantsClient {
 public:
  static constexpr int16_t kTableId = 3;
  static RoomScoreConstants& Instance();
  RoomScoreConstants() : GlobalConstantsClient(kTableId) {}
  void Load() override;
  bool IsLoaded() const { return loaded_; }
  // Back to the defaults; the next scoring loads again.
  void Reset();

  float objectLightFactor = 30;
  float areaClip = 60;
  float areaScoreZero = -30;
  float areaScoreClip = 30;
  float lightScore0 = -20;
  float lightScore1 = 20;
  float impactAreaMin = 10;
  float impactAreaMax = 45;
  float impactMultiplier = 10;
  float outdoorImpactFactor = 2;
  float outdoorGoodObjectFactor = 1;
  float outdoorObjectDivisor = 3;
  float outdoorDaylightBonus = 0;
  float outdoorDawnDuskBonus = -20;
  float outdoorNightBonus = -50;
  float floorScore0 = -40;
  float floorScore100 = 0;
  float wallScore0 = -40;
  float wallScore100 = 0;

  // Derived after loading.
  float areaRange = 60;
  float lightRange = 40;
  float floorRange = 40;
  float wallRange = 40;

 private:
  void Derive();
  bool loaded_ = false;
};

}  // namespace tova
