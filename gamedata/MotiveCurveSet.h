#pragma once
// Nine mood curves of one person: how each motive value turns into a score,
// averaged into the person's current mood and into the value of an offer.

#include <array>
#include <cstdint>
#include <string>

#include "gamedata/Motives.h"
#include "gamedata/PiecewiseCurve.h"
#include "gamedata/ResourceSource.h"

namespace tova {

// One advertised motive change: modifier code, base and range.
struct MotiveAdvertisement {
  int16_t modifier = 0;
  int16_t base = 0;
  int16_t range = 0;
};

class MotiveCurveSet {
 public:
  static constexpr int kCurveCount = 9;
  static constexpr int kMotiveIndexes[kCurveCount] = {5, 6, 7, 8, 9, 3, 13, 14, 15};

  // Every curve the line through (-100, -100) and (100, 100).
  void Init(MotivePerson* person, MotiveBlock* motives);
  // Curve i-1 from string i of string table `id`, for i = 1 to 9.
  void LoadCurves(ResourceSource& file, int16_t id);
  float GetCurrentScore() const;
  // One advertisement per curve.
  float ScoreAdvertisements(const std::array<MotiveAdvertisement, kCurveCount>& ads) const;
  // Writes the curves as a text table; names from string table 134 of `names`.
  bool Dump(const std::string& path, ResourceSource* names) const;

  const PiecewiseCurve& Curve(int i) const { return curves_[static_cast<size_t>(i)]; }

 private:
  float Motive(int curve) const;
  std::array<PiecewiseCurve, kCurveCount> curves_;
  MotivePerson* person_ = nullptr;
  MotiveBlock* motives_ = nullptr;
};

// Trait and inversion of an advertisement modifier code (1 to 22); trait 0 for
// any other code.
struct ModifierTrait {
  int trait = 0;
  bool inverted = false;
};
ModifierTrait LookupModifier(int code);

}  // namespace tova
