#include "simulation/people/AutonomyConstants.h"

namespace tova {

AutonomyConstantsClient& AutonomyConstantsClient::Instance() {
  static AutonomyConstantsClient instance;
  return instance;
}

void AutonomyConstantsClient::Load() {
  LoadWith([this](FloatConstants& t) {
    minFamilyScore = t.Get("min autonomy score for family", 0.2f, true);
    minVisitorScore = t.Get("min autonomy score for visitors", 0.05f, true);
    lowAttenuation = t.Get("low attenuation", 0.002f, true);
    moderateAttenuation = t.Get("moderate attenuation", 0.02f, true);
    highAttenuation = t.Get("high attenuation", 0.1f, true);
    visitorLowAttenuation = t.Get("visitor low attenuation", 0.002f, true);
    visitorModerateAttenuation = t.Get("visitor moderate attenuation", 0.02f, true);
    visitorHighAttenuation = t.Get("visitor high attenuation", 0.1f, true);
    minSittingScore = t.Get("min autonomy score for sitting", 0.2f, true);
    randomSelectionCount = static_cast<int32_t>(t.Get("random selection count", 10, true));
    friendshipThreshold = static_cast<int32_t>(t.Get("friendship threshold", 25, true));
    functionalDistanceAttenuation = t.Get("functional distance attenuation", 3, true);
  });
  loaded_ = true;
}

void AutonomyConstantsClient::LoadOnce() {
  if (!loaded_) Load();
}

void AutonomyConstantsClient::Reset() { *this = AutonomyConstantsClient(); }

float AutonomyConstantsClient::Attenuation(const TreeTableEntry& entry, bool visitor) const {
  switch (entry.attenuationCode) {
    case 0: return entry.customAttenuation;
    case 1: return 0;
    case 2: return visitor ? visitorLowAttenuation : lowAttenuation;
    case 3: return visitor ? visitorModerateAttenuation : moderateAttenuation;
    case 4: return visitor ? visitorHighAttenuation : highAttenuation;
    default: return 0.02f;
  }
}

}  // namespace tova
