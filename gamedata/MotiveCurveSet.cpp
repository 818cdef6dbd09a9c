#include "gamedata/MotiveCurveSet.h"

#include <cstdio>

#include "platform/TextFile.h"

namespace tova {

ModifierTrait LookupModifier(int code) {
  // Codes 1-12 pair up as (trait, inverted trait) for traits 2 to 7.
  if (code >= 1 && code <= 12) return {2 + (code - 1) / 2, (code % 2) == 0};
  if (code >= 13 && code <= 22) return {code - 4, false};
  return {};
}

void MotiveCurveSet::Init(MotivePerson* person, MotiveBlock* motives) {
  person_ = person;
  motives_ = motives;
  for (int i = 0; i < kCurveCount; ++i) {
    PiecewiseCurve& c = curves_[static_cast<size_t>(i)];
    c.Allocate(4);
    c.motiveIndex = kMotiveIndexes[i];
    c.AddPoint(-100, -100);
    c.AddPoint(100, 100);
  }
}

void MotiveCurveSet::LoadCurves(ResourceSource& file, int16_t id) {
  for (int i = 1; i <= kCurveCount; ++i) {
    PiecewiseCurve& c = curves_[static_cast<size_t>(i - 1)];
    if (c.Capacity() == 0) c.Allocate(4);
    c.motiveIndex = kMotiveIndexes[i - 1];
    c.Clear();
    if (auto text = file.GetString(id, i)) c.Parse(*text);
  }
}

float MotiveCurveSet::Motive(int curve) const {
  return motives_ ? motives_->current[kMotiveIndexes[curve]] : 0.0f;
}

float MotiveCurveSet::GetCurrentScore() const {
  float sum = 0;
  for (int i = 0; i < kCurveCount; ++i) sum += curves_[static_cast<size_t>(i)].Evaluate(Motive(i));
  return sum / kCurveCount;
}

float MotiveCurveSet::ScoreAdvertisements(const std::array<MotiveAdvertisement, kCurveCount>& ads) const {
  float sum = 0;
  for (int i = 0; i < kCurveCount; ++i) {
    const MotiveAdvertisement& ad = ads[static_cast<size_t>(i)];
    float delta = ad.base + ad.range;
    if (ad.modifier != 0) {
      ModifierTrait m = LookupModifier(ad.modifier);
      float v = 0;
      if (m.trait != 0 && person_) {
        v = person_->GetPersonData(kTraitDataBase + m.trait);
        if (m.inverted) v = 1000 - v;
      }
      delta = ad.base + ad.range * v * 0.001f;
    }
    sum += curves_[static_cast<size_t>(i)].Evaluate(Motive(i) + 0.001f * delta);
  }
  return sum / kCurveCount;
}

bool MotiveCurveSet::Dump(const std::string& path, ResourceSource* names) const {
  std::string out = "Values\t";
  for (int i = 0; i < kCurveCount; ++i) {
    std::optional<std::string> name;
    if (names) name = names->GetString(134, curves_[static_cast<size_t>(i)].motiveIndex + 1);
    out += (name && !name->empty()) ? *name : std::to_string(i);
    out += '\t';
  }
  out += '\n';
  char buf[64];
  for (int x = -100; x <= 100; ++x) {
    std::snprintf(buf, sizeof buf, "%f\t", static_cast<double>(x));
    out += buf;
    for (const PiecewiseCurve& c : curves_) {
      std::snprintf(buf, sizeof buf, "%f\t", static_cast<double>(c.Evaluate(static_cast<float>(x))));
      out += buf;
    }
    out += '\n';
  }
  return platform::WriteTextFile(path, out, platform::LineEnd::kLf);
}

}  // namespace tova
