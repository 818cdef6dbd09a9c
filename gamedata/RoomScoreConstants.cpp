#include "gamedata/RoomScoreConstants.h"

namespace tova {

RoomScoreConstants& RoomScoreConstants::Instance() {
  static RoomScoreConstants constants;
  return constants;
}

void RoomScoreConstants::Reset() {
  *this = RoomScoreConstants();
}

void RoomScoreConstants::Load() {
  LoadWith([this](FloatConstants& t) {
    objectLightFactor = t.Get("object light contribution factor", 30, true);
    areaClip = t.Get("area clip to score", 60, true);
    areaScoreZero = t.Get("area score for zero tiles", -30, true);
    areaScoreClip = t.Get("area score for clip tile", 30, true);
    lightScore0 = t.Get("light score for 0.0", -20, true);
    lightScore1 = t.Get("light score for 1.0", 20, true);
    impactAreaMin = t.Get("room impact effective area min", 10, true);
    impactAreaMax = t.Get("room impact effective area max", 45, true);
    impactMultiplier = t.Get("room impact multiplier", 10, true);
    outdoorImpactFactor = t.Get("outdoor room impact factor", 2, true);
    outdoorGoodObjectFactor = t.Get("outdoor good object count factor", 1, true);
    outdoorObjectDivisor = t.Get("outdoor object divisor", 3, true);
    outdoorDaylightBonus = t.Get("outdoor daylight bonus", 0, true);
    outdoorDawnDuskBonus = t.Get("outdoor dawn/dusk bonus", -20, true);
    outdoorNightBonus = t.Get("outdoor nighttime bonus", -50, true);
    floorScore0 = t.Get("floor score for 0%", -40, true);
    floorScore100 = t.Get("floor score for 100%", 0, true);
    wallScore0 = t.Get("wall score for 0%", -40, true);
    wallScore100 = t.Get("wall score for 100%", 0, true);
  });
  Derive();
  loaded_ = true;
}

void RoomScoreConstants::Derive() {
  areaRange = areaScoreClip - areaScoreZero;
  lightRange = lightScore1 - lightScore0;
  floorRange = floorScore100 - floorScore0;
  wallRange = wallScore100 - wallScore0;
}

}  // namespace tova
