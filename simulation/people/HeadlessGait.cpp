#include "simulation/people/HeadlessGait.h"

#include <algorithm>
#include <cmath>

#include "simulation/ObjectModule.h"
#include "simulation/people/AnimNameTables.h"
#include "simulation/people/PeopleHost.h"
#include "simulation/people/PersonAnimator.h"
#include "simulation/people/cXPerson.h"

namespace tova {

namespace {

// Standard animation indices the walk reads: the turns and adjusting steps
// before the walk's start and loop.
constexpr int32_t kFirstTurn = 4, kLastAdjust = 18, kWalkStart = 19, kWalkLoop = 20;
constexpr int32_t kGaitClockStep = 50;
constexpr float kTurnTravel = 0.75f, kStartTravel = 1.5f, kLoopTravel = 3.0f;

class PlainSkill : public iSkill {
 public:
  PlainSkill(std::string name, HeadlessGait::Measure m) : name_(std::move(name)), measure_(m) {}
  const std::string& GetName() const override { return name_; }
  int FrameCount() const override { return 30; }
  float Duration() const override { return HeadlessGait::kDuration; }
  float Travel() const override { return measure_.travel; }
  bool Loops() const override { return measure_.loops; }
  const std::vector<SkillTrack>& Motions() const override { return motions_; }

 private:
  std::string name_;
  HeadlessGait::Measure measure_;
  std::vector<SkillTrack> motions_;
};

class PlainBody : public iCharacterBody {
 public:
  explicit PlainBody(PersonAnimator* animator) : animator_(animator) {}
  PersonAnimator* GetAnimator() const override { return animator_; }
  PracticeRef* AddPractice(const iSkill& skill, int rate, float speed, float weight, int32_t clock) override {
    auto p = std::make_unique<PracticeRef>();
    p->skill = &skill;
    p->body = this;
    p->rate = rate;
    p->speed = speed;
    p->weight = weight;
    p->fadeStart = clock;
    // Nothing plays that a walk would wait for.
    p->interruptible = 1;
    practices_.push_back({std::move(p), clock});
    return practices_.back().practice.get();
  }
  void RemovePractice(PracticeRef* practice) override {
    std::erase_if(practices_, [&](const Playing& p) { return p.practice.get() == practice; });
  }
  bool AddDressing(const std::string&, const std::string&, int) override { return true; }
  void RemoveDressing(const std::string&) override {}
  void UpdatePractices(int32_t clock) override {
    for (Playing& p : practices_) {
      PracticeRef& practice = *p.practice;
      const float step = static_cast<float>(clock - p.clock) * practice.speed / HeadlessGait::kDuration;
      p.clock = clock;
      if (practice.finished || step == 0 || !std::isfinite(step)) continue;
      float t = practice.time + step;
      if (practice.skill->Loops()) {
        t -= std::floor(t);
      } else if (t >= 1.0f || t <= 0.0f) {
        t = std::clamp(t, 0.0f, 1.0f);
        practice.finished = true;
      }
      practice.time = t;
    }
  }

 private:
  struct Playing {
    std::unique_ptr<PracticeRef> practice;
    int32_t clock = 0;
  };
  PersonAnimator* animator_;
  std::vector<Playing> practices_;
};

}  // namespace

std::map<std::string, HeadlessGait::Measure> HeadlessGait::StandardMeasures(AnimNameTables& tables) {
  std::map<std::string, Measure> out;
  for (int table : {AnimNameTables::kStandard, AnimNameTables::kStandardChild, AnimNameTables::kStandardMale,
                    AnimNameTables::kStandardFemale}) {
    for (int32_t i = kFirstTurn; i <= kWalkLoop; ++i) {
      const std::string name = tables.Name(table, i);
      if (name.empty()) continue;
      Measure m;
      m.travel = i == kWalkLoop ? kLoopTravel : i == kWalkStart ? kStartTravel : i <= kLastAdjust ? kTurnTravel : 0;
      m.loops = i == kWalkLoop;
      out[name] = m;
    }
  }
  return out;
}

const iSkill* HeadlessGait::GetSkill(const std::string& name) {
  std::unique_ptr<iSkill>& skill = skills_[name];
  if (skill == nullptr) {
    auto it = measures_.find(name);
    skill = std::make_unique<PlainSkill>(name, it != measures_.end() ? it->second : Measure{});
  }
  return skill.get();
}

std::unique_ptr<iCharacterBody> HeadlessGait::CreateBody(const std::string&, PersonAnimator* animator) {
  return std::make_unique<PlainBody>(animator);
}

void HeadlessGait::Advance(ObjectModule& module) {
  // The animator's clock: the simulator's ticks times its step.
  const int32_t clock = static_cast<int32_t>(PeopleHost().GetTickCount() * kGaitClockStep);
  for (cXObject* o = module.FirstObject(); o != nullptr; o = o->GetNext()) {
    if (!o->IsPerson()) continue;
    if (iCharacterBody* body = static_cast<cXPerson*>(o)->Animator().GetBody()) body->UpdatePractices(clock);
  }
}

}  // namespace tova
