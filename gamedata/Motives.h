#pragma once
// A person's motives: the tuned decay constants, the start values and the
// per-step decay.

#include <cstdint>

#include "gamedata/FloatConstants.h"

namespace tova {

// Motive indexes in a person's block.
enum MotiveIndex : int {
  kMotiveEnergy = 5,
  kMotiveComfort = 6,
  kMotiveHunger = 7,
  kMotiveHygiene = 8,
  kMotiveBladder = 9,
  kMotiveSleepState = 11,  // below 0: asleep
  kMotiveSocial = 14,
  kMotiveFun = 15,
};
constexpr int kMotiveCount = 16;

struct MotiveBlock {
  float current[kMotiveCount] = {};
  float previous[kMotiveCount] = {};  // as left by the last decay step
};

// What motive code needs of a person.
class MotivePerson {
 public:
  virtual ~MotivePerson() = default;
  virtual int16_t GetPersonData(int index) const = 0;
  // Called after each decay step with the new values in place.
  virtual void OnMotivesChanged() = 0;
};

// Trait t of a person is person data word 182 + t.
constexpr int kTraitDataBase = 182;

class MotiveConstantsClient : public GlobalConstantsClient {
 public:
  static MotiveConstantsClient& Instance();
  MotiveConstantsClient() : GlobalConstantsClient(1) {}
  void Load() override;
  bool IsLoaded() const { return loaded_; }
  void Reset() { loaded_ = false; }

  // Values as read.
  float energySpan = 180, energyDrift = 0.01f, hungerToBladder = 0.25f;
  // Whole hours: a tuned fraction is dropped.
  int32_t wakeHours = 16, wakeHour = 7;
  float comfortActive = 0.4f, comfortLazy = 0.6f, hungerRatio = 0.0014285714f;
  float socialBase = 0.1f, socialMultiplier = 0.0004f;
  float funAwake = 0.25f, funAsleepMultiplier = 0.5f, hygieneAwake = 0.15f, hygieneAsleep = 0.1f;
  float bladderAwake = 0.3f, bladderAsleep = 0.2f;
  // Derived.
  float bedHour = 23, sleepHours = 8, awakeEnergyStep = 0, asleepEnergyStep = 0;
  float comfortBase = 0.6f, comfortTraitFactor = 0;

 private:
  bool loaded_ = false;
};

// Loads the constants when needed; zeroes the block; energy 70, hunger -40.
void InitMotives(MotiveBlock& block);
// One decay step at the game clock's hour.
void DecayMotives(MotiveBlock& block, MotivePerson& person, int hour);

}  // namespace tova
