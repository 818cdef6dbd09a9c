#pragma once
// The tuning of autonomy: global constants table 2, read the first time a
// person is set up from its definition and kept for the run.

#include "gamedata/FloatConstants.h"
#include "gamedata/TreeTableData.h"

namespace tova {

class AutonomyConstantsClient : public GlobalConstantsClient {
 public:
  static constexpr int16_t kTableId = 2;
  static AutonomyConstantsClient& Instance();
  AutonomyConstantsClient() : GlobalConstantsClient(kTableId) {}
  void Load() override;
  // Loads once; later calls do nothing.
  void LoadOnce();
  bool IsLoaded() const { return loaded_; }
  // Back to the defaults, not loaded (tests).
  void Reset();

  // An entry's attenuation for a resident or a visitor by its code.
  float Attenuation(const TreeTableEntry& entry, bool visitor) const;

  float minFamilyScore = 0.2f;
  float minVisitorScore = 0.05f;
  float lowAttenuation = 0.002f;
  float moderateAttenuation = 0.02f;
  float highAttenuation = 0.1f;
  float visitorLowAttenuation = 0.002f;
  float visitorModerateAttenuation = 0.02f;
  float visitorHighAttenuation = 0.1f;
  float minSittingScore = 0.2f;
  int32_t randomSelectionCount = 10;
  int32_t friendshipThreshold = 25;
  float functionalDistanceAttenuation = 3;

 private:
  bool loaded_ = false;
};

}  // namespace tova
