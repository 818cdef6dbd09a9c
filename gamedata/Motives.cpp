#include "gamedata/Motives.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tova {
namespace {
// Decay steps per game hour.
const float kStepsDivisor = 0.5f * 60;

// A tuned hour count as whole hours, the fraction dropped; a value no clock
// could hold gives the default.
int32_t WholeHours(float value, int32_t fallback) {
  if (!std::isfinite(value) || value < -100000.0f || value > 100000.0f) return fallback;
  return static_cast<int32_t>(value);
}
}  // namespace

MotiveConstantsClient& MotiveConstantsClient::Instance() {
  static MotiveConstantsClient client;
  return client;
}

void MotiveConstantsClient::Load() {
  LoadWith([this](FloatConstants& t) {
    energySpan = t.Get("energy span", 180, true);
    wakeHours = WholeHours(t.Get("wake hours", 16, true), 16);
    wakeHour = WholeHours(t.Get("wake hour", 7, true), 7);
    energyDrift = t.Get("energy drift", 0.01f, true);
    hungerToBladder = t.Get("hunger to bladder multiplier", 0.25f, true);
    comfortActive = t.Get("comfort decrement active", 0.4f, true);
    comfortLazy = t.Get("comfort decrement lazy", 0.6f, true);
    hungerRatio = t.Get("hunger decrement ratio", 0.0014285714f, true);
    socialBase = t.Get("social decrement base", 0.1f, true);
    socialMultiplier = t.Get("social decrement multiplier", 0.0004f, true);
    funAwake = t.Get("ent decrement, awake", 0.25f, true);
    funAsleepMultiplier = t.Get("ent multiplier, asleep", 0.5f, true);
    hygieneAwake = t.Get("hyg decrement, awake", 0.15f, true);
    hygieneAsleep = t.Get("hyg decrement, asleep", 0.1f, true);
    bladderAwake = t.Get("bladder decrement, awake", 0.3f, true);
    bladderAsleep = t.Get("bladder decrement, asleep", 0.2f, true);
  });
  // A tuned day with no waking or no sleeping hours would divide by zero.
  const auto hours = static_cast<float>(std::clamp(wakeHours, 1, 23));
  bedHour = static_cast<float>(wakeHour) + hours;
  sleepHours = 24 - hours;
  awakeEnergyStep = -(energySpan / hours / kStepsDivisor);
  asleepEnergyStep = energySpan / sleepHours / kStepsDivisor;
  comfortBase = comfortLazy;
  comfortTraitFactor = (comfortActive - comfortLazy) * 0.001f;
  loaded_ = true;
}

void InitMotives(MotiveBlock& block) {
  MotiveConstantsClient& k = MotiveConstantsClient::Instance();
  if (!k.IsLoaded()) k.Load();
  block = MotiveBlock{};
  block.current[kMotiveEnergy] = block.previous[kMotiveEnergy] = 70;
  block.current[kMotiveHunger] = -40;
}

void DecayMotives(MotiveBlock& block, MotivePerson& person, int hour) {
  MotiveConstantsClient& k = MotiveConstantsClient::Instance();
  if (!k.IsLoaded()) k.Load();
  float* m = block.current;
  const bool asleep = m[kMotiveSleepState] < 0;

  if (asleep) {
    m[kMotiveEnergy] += k.asleepEnergyStep;
    if (hour > k.wakeHour && hour < k.bedHour) m[kMotiveEnergy] -= k.energyDrift;
  } else {
    m[kMotiveEnergy] += k.awakeEnergyStep;
  }
  const float hungerRise = m[kMotiveHunger] - block.previous[kMotiveHunger];
  if (hungerRise > 0) m[kMotiveBladder] -= hungerRise * k.hungerToBladder;
  m[kMotiveComfort] -= person.GetPersonData(kTraitDataBase + 3) * k.comfortTraitFactor + k.comfortBase;
  m[kMotiveHunger] -= (m[kMotiveHunger] + 100) * k.hungerRatio;
  if (!asleep) m[kMotiveSocial] -= person.GetPersonData(kTraitDataBase + 6) * k.socialMultiplier + k.socialBase;
  if (asleep) {
    m[kMotiveFun] *= k.funAsleepMultiplier;
    m[kMotiveHygiene] -= k.hygieneAsleep;
    m[kMotiveBladder] -= k.bladderAsleep;
  } else {
    m[kMotiveFun] -= k.funAwake;
    m[kMotiveHygiene] -= k.hygieneAwake;
    m[kMotiveBladder] -= k.bladderAwake;
  }
  for (int i = 0; i < kMotiveCount; ++i) {
    m[i] = std::clamp(m[i], -100.0f, 100.0f);
    block.previous[i] = m[i];
  }
  person.OnMotivesChanged();
}

}  // namespace tova
